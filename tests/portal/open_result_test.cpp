// Opening a search result: the dispatch by category code.
#include <map>
#include <string>
#include <vector>

#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;

const std::string kResults = "超级列表框1";
const std::string kSites = "超级列表框2";
const std::string kEpisodes = "超级列表框3";
const std::string kSources = "超级列表框4";

class OpenResultTest : public PortalFixture {
 protected:
  void Fresh() {
    ctx_.ui = std::make_shared<ControlModel>();
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.effects = effects_;
  }
  // Rows left by an earlier opening.
  void PutEarlierRows() {
    int r = ui().AppendRow(kSites);
    ui().SetCell(kSites, r, 1, "old");
    r = ui().AppendRow(kSources);
    ui().SetCell(kSources, r, 1, "old");
  }
  void PutResult(const std::string& path, const std::string& category) {
    int row = ui().AppendRow(kResults);
    ui().SetCell(kResults, row, 3, portal_->Base() + path);
    ui().SetCell(kResults, row, 4, category);
    ui().SetCell(kResults, row, 5, "标题"_gbk);
    ui().SetSelectedRow(kResults, row);
  }
};

TEST_F(OpenResultTest, EachCategoryArrangesThePageAndFillsItsList) {
  struct Case {
    const char* category;
    const char* path;
    bool seriesLists;  // 2 and 3 shown, 4 hidden; else the other way round
    int sites, sources;
    std::string firstSource;
  };
  const std::vector<Case> cases = {
      {"2", "/sites/three.html", true, 3, 1, "old"},
      {"4", "/sites/outside.html", true, 2, 1, "old"},
      {"3", "/variety/v1.html", false, 0, 2, "2024-01-05第一期"_gbk},
      {"1", "/movies/m1.html", false, 0, 3, "标题  腾讯视频"_gbk},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.category);
    Fresh();
    PutEarlierRows();
    ui().SetVisible(kSites, !c.seriesLists);
    ui().SetVisible(kEpisodes, !c.seriesLists);
    ui().SetVisible(kSources, c.seriesLists);
    PutResult(c.path, c.category);
    OpenSearchResult(ctx_);
    // The handler arranges the page before any row arrives.
    EXPECT_EQ(ui().CurrentPage("选择夹1"), 1);
    EXPECT_EQ(ui().IsVisible(kSites), c.seriesLists);
    EXPECT_EQ(ui().IsVisible(kEpisodes), c.seriesLists);
    EXPECT_EQ(ui().IsVisible(kSources), !c.seriesLists);
    Settle();

    EXPECT_EQ(ui().RowCount(kSites), c.sites);
    EXPECT_EQ(ui().RowCount(kSources), c.sources);
    EXPECT_EQ(ui().Cell(kSources, 0, 1), c.firstSource);
    EXPECT_TRUE(effects_->Messages().empty());
  }
}

TEST_F(OpenResultTest, NoCategoryOnlyEmptiesTheSiteList) {
  for (bool selected : {true, false}) {
    SCOPED_TRACE(selected ? "empty category" : "no row selected");
    Fresh();
    PutEarlierRows();
    PutResult("/movies/m1.html", "");
    if (!selected) {
      ui().SetCell(kResults, 0, 4, "1");
      ui().SetSelectedRow(kResults, -1);
    }
    OpenSearchResult(ctx_);
    Settle();
    EXPECT_EQ(ui().RowCount(kSites), 0);
    EXPECT_EQ(ui().RowCount(kSources), 1);
    EXPECT_EQ(ui().CurrentPage("选择夹1"), 0);
    EXPECT_FALSE(ui().IsVisible(kSites));
    EXPECT_FALSE(ui().IsVisible(kSources));
    EXPECT_TRUE(effects_->Messages().empty());
  }
}

}  // namespace
}  // namespace yz::testing
