#include "controls/control_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace yz {
namespace {

using namespace literals;

TEST(ControlModel, StartsAsDesigned) {
  ControlModel ui;
  EXPECT_EQ(ui.GetText("编辑框1"), "白夜追凶"_gbk);
  EXPECT_EQ(ui.GetText("标签1"), "1.4.9");
  EXPECT_FALSE(ui.IsVisible("超级列表框5"));
  EXPECT_TRUE(ui.IsVisible("超级列表框1"));
  EXPECT_EQ(ui.ColumnCount("超级列表框1"), 6);
  EXPECT_EQ(ui.ColumnCount("超级列表框_综艺"), 3);
  EXPECT_EQ(ui.CurrentPage("选择夹1"), 0);
  EXPECT_FALSE(ui.IsTicked("默认"));
  EXPECT_EQ(ui.GetGeometry("标签_滑块").left, 274);
}

TEST(ControlModel, RowsCellsAndSelection) {
  ControlModel ui;
  int r0 = ui.AppendRow("超级列表框3");
  int r1 = ui.AppendRow("超级列表框3");
  EXPECT_EQ(r0, 0);
  EXPECT_EQ(r1, 1);
  ui.SetCell("超级列表框3", 1, 2, "http://a/b.html");
  ui.SetCell("超级列表框3", 1, 7, "ignored");  // no such column
  ui.SetCell("超级列表框3", 5, 1, "ignored");  // no such row
  EXPECT_EQ(ui.SelectedCell("超级列表框3", 2), "");
  ui.SetSelectedRow("超级列表框3", 1);
  EXPECT_EQ(ui.SelectedCell("超级列表框3", 2), "http://a/b.html");
  EXPECT_EQ(ui.SelectedCell("超级列表框3", 99), "");
  ui.DeleteAllRows("超级列表框3");
  EXPECT_EQ(ui.RowCount("超级列表框3"), 0);
  EXPECT_EQ(ui.SelectedRow("超级列表框3"), -1);
}

TEST(ControlModel, NewerLoadSupersedesOlder) {
  ControlModel ui;
  ListLoad older = ui.BeginLoad("超级列表框_电影");
  ASSERT_EQ(ui.AppendRow(older), 0);
  ListLoad newer = ui.BeginLoad("超级列表框_电影");
  EXPECT_EQ(ui.AppendRow(older), -1);
  EXPECT_FALSE(ui.SetCell(older, 0, 0, "old"));
  EXPECT_EQ(ui.AppendRow(newer), 0);
  EXPECT_TRUE(ui.SetCell(newer, 0, 0, "new"));
  EXPECT_EQ(ui.Rows("超级列表框_电影"), (std::vector<std::vector<Text>>{{"new", "", "", ""}}));
  ui.DeleteAllRows("超级列表框_电影");  // a plain clear supersedes too
  EXPECT_FALSE(ui.IsCurrent(newer));
}

TEST(ControlModel, NotifiesEveryWrite) {
  ControlModel ui;
  std::vector<Change> seen;
  int id = ui.Subscribe([&](const Change& c) { seen.push_back(c); });
  ui.AppendRow("超级列表框2");
  ui.SetCell("超级列表框2", 0, 1, "x");
  ui.SetTicked("默认", true);
  ui.Unsubscribe(id);
  ui.SetVisible("超级列表框2", true);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].kind, ChangeKind::RowAppended);
  EXPECT_EQ(seen[1].kind, ChangeKind::Cell);
  EXPECT_EQ(seen[1].column, 1);
  EXPECT_EQ(seen[2].kind, ChangeKind::Tick);
  EXPECT_EQ(seen[2].control, "默认");
}

TEST(ControlModel, ConcurrentLoadsNeverMixRows) {
  ControlModel ui;
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&ui, t] {
      for (int round = 0; round < 50; ++round) {
        ListLoad load = ui.BeginLoad("超级列表框_电视剧");
        for (int i = 0; i < 30; ++i) {
          int row = ui.AppendRow(load);
          if (row < 0) break;
          ui.SetCell(load, row, 0, std::to_string(t));
        }
      }
    });
  }
  for (auto& th : threads) th.join();
  auto rows = ui.Rows("超级列表框_电视剧");
  ASSERT_LE(rows.size(), 30u);
  for (const auto& r : rows) EXPECT_EQ(r[0], rows[0][0]);
}

}  // namespace
}  // namespace yz
