// Movie sources from the newest-movies list and from a search result.
#include <map>
#include <string>
#include <vector>

#include "portal/movie_sources.h"
#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;
using Rows = std::vector<std::vector<Text>>;

const std::string kSources = "超级列表框4";

void PutSelectedRow(ControlModel& ui, const std::string& list, const std::map<int, Text>& cells) {
  int row = ui.AppendRow(list);
  for (const auto& [column, text] : cells) ui.SetCell(list, row, column, text);
  ui.SetSelectedRow(list, row);
}

TEST(SourceNameTest, DropsEveryPaidMark) {
  EXPECT_EQ(SourceName("优酷(付费)"_gbk), "优酷"_gbk);
  EXPECT_EQ(SourceName("(付费)"_gbk), "");
  EXPECT_EQ(SourceName("A(付费)B(付费)"_gbk), "AB");
  EXPECT_EQ(SourceName("优酷（付费）"_gbk), "优酷（付费）"_gbk);  // full-width brackets stay
}

class MovieSourcesTest : public PortalFixture {
 protected:
  void Fresh() {
    ctx_.ui = std::make_shared<ControlModel>();
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.effects = effects_;
  }
  // Opens the movie at `path` from the newest-movies list or a search result.
  void Open(OpenedFrom from, const char* path) {
    if (from == OpenedFrom::CatalogueList) {
      PutSelectedRow(ui(), "超级列表框_电影", {{2, path}, {3, "长河"_gbk}});
      OnNewMovieDoubleClicked(ctx_);
      Settle();
    } else {
      PutSelectedRow(ui(), "超级列表框1",
                     {{3, portal_->Base() + path}, {4, "1"}, {5, "长河"_gbk}});
      LoadMovieSources(ctx_, OpenedFrom::SearchResult);
    }
  }
};

TEST_F(MovieSourcesTest, ListsLinksThatEndTheirLine) {
  // Three of four links end their line with CR LF; addresses stop after the
  // last "html"; the paid mark goes, a name made of it alone leaves nothing.
  for (OpenedFrom from : {OpenedFrom::CatalogueList, OpenedFrom::SearchResult}) {
    Fresh();
    ui().AppendRow(kSources);
    Open(from, "/movies/m1.html");
    Text prefix = from == OpenedFrom::CatalogueList ? "        长河  "_gbk : "长河  "_gbk;
    EXPECT_EQ(ui().Rows(kSources),
              (Rows{{"", prefix + "腾讯视频"_gbk, "http://v.example/m/qq1.html"},
                    {"", prefix + "优酷"_gbk, "http://v.example/m/yk.html"},
                    {"", prefix, "http://v.example/m/sh.html#a.html"}}))
        << (from == OpenedFrom::CatalogueList ? "newest movies" : "search");
    EXPECT_TRUE(effects_->Messages().empty());
  }
}

TEST_F(MovieSourcesTest, NewestMovieTurnsToTheFullWidthList) {
  ui().SetVisible("超级列表框2", true);
  ui().SetVisible("超级列表框3", true);
  Open(OpenedFrom::CatalogueList, "/movies/m1.html");
  EXPECT_EQ(ui().CurrentPage("选择夹1"), 1);
  EXPECT_FALSE(ui().IsVisible("超级列表框2"));
  EXPECT_FALSE(ui().IsVisible("超级列表框3"));
  EXPECT_TRUE(ui().IsVisible(kSources));
}

TEST_F(MovieSourcesTest, NoSourceEmptiesTheListWithTheVariantsMessage) {
  const std::vector<std::pair<OpenedFrom, const char*>> cases = {
      {OpenedFrom::CatalogueList, "暂不支持该视频！"},
      {OpenedFrom::SearchResult, "暂不支持该视频或该视频还没上映！"},
  };
  for (const auto& [from, message] : cases) {
    for (const char* path : {"/movies/none.html", "/movies/missing.html"}) {
      SCOPED_TRACE(std::string(message) + path);
      Fresh();
      ui().AppendRow(kSources);
      Open(from, path);
      EXPECT_EQ(ui().RowCount(kSources), 0);
      ASSERT_EQ(effects_->Messages().size(), 1u);
      EXPECT_EQ(effects_->Messages()[0].text, Utf8ToText(message));
      EXPECT_EQ(effects_->Messages()[0].title, "信息："_gbk);
      EXPECT_EQ(effects_->Messages()[0].flags, 64);
    }
  }
}

}  // namespace
}  // namespace yz::testing
