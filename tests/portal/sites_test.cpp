// Source sites of a series: the hot-TV path on the window thread and the
// search path's worker, over fixture detail pages on loopback.
#include <map>
#include <string>
#include <vector>

#include "portal/readers.h"
#include "portal/source_sites.h"
#include "portal_fixture.h"
#include "text/regex_matcher.h"

namespace yz::testing {
namespace {
using namespace yz::literals;
using Rows = std::vector<std::vector<Text>>;

const std::string kSites = "超级列表框2";
const std::string kEpisodes = "超级列表框3";
const std::string kSources = "超级列表框4";

// Appends a row with the given cells (column -> text) and selects it.
void PutSelectedRow(ControlModel& ui, const std::string& list, const std::map<int, Text>& cells) {
  int row = ui.AppendRow(list);
  for (const auto& [column, text] : cells) ui.SetCell(list, row, column, text);
  ui.SetSelectedRow(list, row);
}

Rows SiteRows(const std::vector<const char*>& names) {
  Rows rows;
  for (const char* n : names) rows.push_back({"", Utf8ToText(n)});
  return rows;
}

TEST(SiteDisplayNameTest, OnlyQiyiKeepsItsCase) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"qq", "腾讯"},   {"QQ", "腾讯"},   {"qqq", "腾讯q"}, {"q", "q"},         {"youku", "优酷"},
      {"YouKu", "优酷"}, {"imgo", "芒果"}, {"img", "img"},   {"sohu", "搜狐"},   {"leshi", "乐视"},
      {"qiyi", "爱奇艺"}, {"QIYI", "QIYI"}, {"levp", "levp"}, {"PPTV", "PPTV"},
  };
  for (const auto& [code, name] : cases) EXPECT_EQ(SiteDisplayName(code), Utf8ToText(name)) << code;
}

class SitesTest : public PortalFixture {
 protected:
  // A window and message record of their own for the next case of a table.
  void Fresh() {
    ctx_.ui = std::make_shared<ControlModel>();
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.effects = effects_;
  }
};

TEST_F(SitesTest, FillSiteListTakesEveryOccurrenceInOrder) {
  // Lazy alternatives: the last letter may repeat or be missing; duplicates
  // stay; codes outside the table are skipped.
  Text text =
      R"({"ensite":"qqq",{"ensite":"img",{"ensite":"q",{"ensite":"QQ",{"ensite":"QIYI",)"
      R"({"ensite":"PPTV",{"ensite":"letv",{"ensite":"qq",{"ensite":"qq",)";
  ListLoad load = ui().BeginLoad(kSites);
  EXPECT_EQ(FillSiteList(ui(), load, SiteScope::WholePage, text), 8);
  EXPECT_EQ(ui().Rows(kSites),
            SiteRows({"腾讯q", "img", "q", "腾讯", "QIYI", "PPTV", "腾讯", "腾讯"}));

  load = ui().BeginLoad(kSites);
  EXPECT_EQ(FillSiteList(ui(), load, SiteScope::WholePage, "no sites"), 0);
  EXPECT_EQ(ui().RowCount(kSites), 0);
}

TEST_F(SitesTest, HotSeriesListsTheSitesOfTheServerDataBlock) {
  ui().AppendRow(kEpisodes);
  PutSelectedRow(ui(), "超级列表框_电视剧", {{2, "/sites/three.html"}});
  OpenHotSeries(ctx_);

  // The youku entry after "playtype" lies outside the block.
  EXPECT_EQ(ui().Rows(kSites), SiteRows({"腾讯", "芒果", "levp"}));
  EXPECT_EQ(ui().RowCount(kEpisodes), 0);
  EXPECT_EQ(ui().GetText("编辑框2"), "推荐电视剧"_gbk);
  EXPECT_EQ(ui().CurrentPage("选择夹1"), 1);
  EXPECT_TRUE(ui().IsVisible(kSites));
  EXPECT_TRUE(ui().IsVisible(kEpisodes));
  EXPECT_FALSE(ui().IsVisible(kSources));
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(SitesTest, HotSeriesWithoutSitesTellsAndHidesTheLists) {
  // No block, sites only outside the block, and an empty row (the request
  // then goes to the bare base address and finds nothing).
  for (const char* path : {"/sites/none.html", "/sites/outside.html", ""}) {
    SCOPED_TRACE(path);
    Fresh();
    PutSelectedRow(ui(), "超级列表框_电视剧", {{2, path}});
    OpenHotSeries(ctx_);

    EXPECT_EQ(ui().RowCount(kSites), 0);
    ASSERT_EQ(effects_->Messages().size(), 1u);
    EXPECT_EQ(effects_->Messages()[0].text, "暂不支持该视频！"_gbk);
    EXPECT_EQ(effects_->Messages()[0].title, "信息："_gbk);
    EXPECT_EQ(effects_->Messages()[0].flags, 64);
    EXPECT_FALSE(ui().IsVisible(kSites));
    EXPECT_FALSE(ui().IsVisible(kEpisodes));
    EXPECT_EQ(ui().CurrentPage("选择夹1"), 1);
  }
}

TEST_F(SitesTest, SearchResultCutsTheBlockOnlyForCategoryTwo) {
  struct Case {
    const char* path;
    const char* category;
    std::vector<const char*> sites;
  };
  const std::vector<Case> cases = {
      {"/sites/three.html", "2", {"腾讯", "芒果", "levp"}},
      {"/sites/three.html", "4", {"腾讯", "芒果", "levp", "优酷"}},
      {"/sites/outside.html", "4", {"腾讯", "优酷"}},
      {"/sites/outside.html", "2", {}},
      {"/sites/none.html", "4", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.path) + " category " + c.category);
    Fresh();
    ui().SetVisible(kSites, true);
    ui().SetVisible(kEpisodes, true);
    ui().AppendRow(kSites);
    PutSelectedRow(ui(), "超级列表框1", {{3, portal_->Base() + c.path}, {4, c.category}});
    LoadSeriesSites(ctx_);

    EXPECT_EQ(ui().Rows(kSites), SiteRows(c.sites));
    if (c.sites.empty()) {
      ASSERT_EQ(effects_->Messages().size(), 1u);
      EXPECT_EQ(effects_->Messages()[0].text, "暂不支持该视频！"_gbk);
    } else {
      EXPECT_TRUE(effects_->Messages().empty());
    }
    // The search path leaves the lists as they were.
    EXPECT_TRUE(ui().IsVisible(kSites));
    EXPECT_TRUE(ui().IsVisible(kEpisodes));
  }
}

TEST_F(SitesTest, HotSeriesMarkerOutlivesALaterSearchResult) {
  PutSelectedRow(ui(), "超级列表框_电视剧", {{2, "/sites/three.html"}});
  OpenHotSeries(ctx_);
  PutSelectedRow(ui(), "超级列表框1", {{3, portal_->Base() + "/sites/three.html"}, {4, "2"}});
  LoadSeriesSites(ctx_);
  EXPECT_EQ(ui().GetText("编辑框2"), "推荐电视剧"_gbk);
}

}  // namespace
}  // namespace yz::testing
