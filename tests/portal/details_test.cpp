// The detail panel: poster, name line and synopsis for a pressed search
// result or catalogue row, by profile; labels kept when nothing is found.
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;

const char* const kResults = "超级列表框1";
const char* const kPoster = "图片框_图片";
const char* const kNames = "透明标签_演员";
const char* const kSynopsis = "透明标签_简介";
const char* const kPosterPath = "/details/poster.gif";

std::string PosterBytes() {
  std::ifstream in(std::string(PORTAL_FIXTURES) + kPosterPath, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

class DetailsTest : public PortalFixture {
 protected:
  void SetUp() override {
    PortalFixture::SetUp();
    ui().SetText(kNames, "旧演员"_gbk);
    ui().SetText(kSynopsis, "旧简介"_gbk);
  }
  void PutSelectedRow(const std::string& list, const std::map<int, Text>& cells) {
    ui().DeleteAllRows(list);
    int row = ui().AppendRow(list);
    for (const auto& [column, text] : cells) ui().SetCell(list, row, column, text);
    ui().SetSelectedRow(list, row);
  }
  void PressResult(const char* category, const std::string& page) {
    PutSelectedRow(kResults, {{2, portal_->Base() + kPosterPath},
                              {3, portal_->Base() + "/details/" + page},
                              {4, category}});
    OnResultsPressed(ctx_);
    Settle();
  }
  void ExpectLabels(const char* names, const char* synopsis) {
    EXPECT_EQ(ui().GetText(kNames), Utf8ToText(names));
    EXPECT_EQ(ui().GetText(kSynopsis), Utf8ToText(synopsis));
  }
};

struct ProfileCase {
  const char* category;
  const char* page;
  const char* names;
  const char* synopsis;
};

TEST_F(DetailsTest, SearchResultFillsThePanelByCategory) {
  const ProfileCase cases[] = {
      {"1", "movie.html", "演员：  甲一   乙二", "简介：一部电影。"},
      {"2", "series.html", "演员：  丁四   戊五", "简介：\n  第一行\n  第二行  \n"},
      {"3", "variety.html", "主持：  己六   庚七", "简介：一档综艺。"},
      {"4", "directed.html", "导演：  辛八", "简介：导演版。"},
  };
  for (const ProfileCase& c : cases) {
    SCOPED_TRACE(c.category);
    ui().SetPicture(kPoster, "");
    ui().SetCurrentPage("选择夹1", 2);
    PressResult(c.category, c.page);
    ExpectLabels(c.names, c.synopsis);
    EXPECT_EQ(ui().Picture(kPoster), PosterBytes());
    EXPECT_EQ(ui().CurrentPage("选择夹1"), 0);
  }
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(DetailsTest, ResultPressTurnsToTheInformationPageAtOnce) {
  ctx_.addresses.portalBase = "http://127.0.0.1:1";
  PutSelectedRow(kResults, {{3, "http://127.0.0.1:1/x.html"}, {4, "2"}});
  ui().SetCurrentPage("选择夹1", 1);
  OnResultsPressed(ctx_);
  EXPECT_EQ(ui().CurrentPage("选择夹1"), 0);
  EXPECT_EQ(ui().TextColour("超级链接框_视频信息"), 0xFF0000u);
  Settle();
}

// Whatever keeps the page from giving a block and a match leaves both labels
// as they were; the poster still changes.
TEST_F(DetailsTest, LabelsStayWhenNothingIsFound) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "movie.html"},                     // no category: poster only
      {"7", "movie.html"},                    // unknown category
      {"1", "movie_without_sites.html"},      // no right marker after the cast
      {"3", "movie.html"},                    // no left marker for the profile
      {"1", "missing.html"},                  // a 404 page
  };
  for (const auto& [category, page] : cases) {
    SCOPED_TRACE(page);
    ui().SetPicture(kPoster, "");
    PressResult(category, page);
    ExpectLabels("旧演员", "旧简介");
    EXPECT_EQ(ui().Picture(kPoster), PosterBytes());
  }
}

TEST_F(DetailsTest, LastMatchOfTheBlockStands) {
  PressResult("2", "two_matches.html");
  ExpectLabels("演员：  壬九   癸十", "简介：第二段");
}

struct CatalogueCase {
  const char* list;
  int innerPage;
  const char* page;
  const char* names;
  const char* synopsis;
};

// A catalogue row: base + path, the list's own profile, and the 推荐 page
// stays in front.
TEST_F(DetailsTest, CatalogueRowFillsThePanelWhenItsTabIsCurrent) {
  const CatalogueCase cases[] = {
      {"超级列表框_电视剧", 0, "series.html", "演员：  丁四   戊五", "简介：\n  第一行\n  第二行  \n"},
      {"超级列表框_电影", 1, "movie.html", "演员：  甲一   乙二", "简介：一部电影。"},
      {"超级列表框_综艺", 2, "variety.html", "主持：  己六   庚七", "简介：一档综艺。"},
  };
  ui().SetCurrentPage("选择夹1", 2);
  for (const CatalogueCase& c : cases) {
    SCOPED_TRACE(c.list);
    ui().SetPicture(kPoster, "");
    ui().SetCurrentPage("高级选择夹1", c.innerPage);
    PutSelectedRow(c.list, {{1, portal_->Base() + kPosterPath}, {2, std::string("/details/") + c.page}});
    OnCataloguePressed(ctx_, c.list);
    Settle();
    ExpectLabels(c.names, c.synopsis);
    EXPECT_EQ(ui().Picture(kPoster), PosterBytes());
    EXPECT_EQ(ui().CurrentPage("选择夹1"), 2);
  }
}

TEST_F(DetailsTest, CatalogueRowOfAnotherTabChangesOnlyThePoster) {
  ui().SetCurrentPage("高级选择夹1", 0);
  PutSelectedRow("超级列表框_电影", {{1, portal_->Base() + kPosterPath}, {2, "/details/movie.html"}});
  OnCataloguePressed(ctx_, "超级列表框_电影");
  Settle();
  ExpectLabels("旧演员", "旧简介");
  EXPECT_EQ(ui().Picture(kPoster), PosterBytes());
}

}  // namespace
}  // namespace yz::testing
