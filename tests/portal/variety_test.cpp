// Variety issues from the hot-variety list and from a search result.
#include <map>
#include <string>
#include <vector>

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

class VarietyTest : public PortalFixture {
 protected:
  void OpenHot(const char* path) {
    PutSelectedRow(ui(), "超级列表框_综艺", {{2, path}});
    OnHotVarietyDoubleClicked(ctx_);
    Settle();
  }
  void OpenSearched(const char* path) {
    PutSelectedRow(ui(), "超级列表框1", {{3, portal_->Base() + path}, {4, "3"}});
    LoadVarietyIssues(ctx_, OpenedFrom::SearchResult);
  }
};

// Hint then title with nothing between; the query after "html" dropped; the
// item with one space after "<li" and the second year's list not read.
const Rows kIssues = {
    {"", "2024-01-05第一期"_gbk, "http://v.example/z/1.html"},
    {"", "2024-01-12第二期"_gbk, "http://v.example/z/2.html"},
};

TEST_F(VarietyTest, HotVarietyListsTheFirstYearOnThePage) {
  ui().SetVisible("超级列表框2", true);
  ui().AppendRow(kSources);
  OpenHot("/variety/v1.html");
  EXPECT_EQ(ui().Rows(kSources), kIssues);
  EXPECT_EQ(ui().CurrentPage("选择夹1"), 1);
  EXPECT_TRUE(ui().IsVisible(kSources));
  EXPECT_FALSE(ui().IsVisible("超级列表框2"));
  EXPECT_FALSE(ui().IsVisible("超级列表框3"));
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(VarietyTest, SearchResultFillsAlikeAndLeavesTheLayout) {
  ui().SetVisible("超级列表框2", true);
  OpenSearched("/variety/v1.html");
  EXPECT_EQ(ui().Rows(kSources), kIssues);
  EXPECT_TRUE(ui().IsVisible("超级列表框2"));
  EXPECT_FALSE(ui().IsVisible(kSources));
}

TEST_F(VarietyTest, NoYearListGivesAnEmptyListAndNoMessage) {
  ui().AppendRow(kSources);
  OpenHot("/variety/none.html");
  EXPECT_EQ(ui().RowCount(kSources), 0);
  ui().AppendRow(kSources);
  OpenSearched("/variety/missing.html");
  EXPECT_EQ(ui().RowCount(kSources), 0);
  EXPECT_TRUE(effects_->Messages().empty());
}

}  // namespace
}  // namespace yz::testing
