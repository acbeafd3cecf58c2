// The main window against the control layer: start-up, menu ticks, links,
// title bar, the search box and the list events.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>

#include <set>

#include "app/control_widgets.h"
#include "app/list_view.h"
#include "app/qt_text.h"
#include "window_fixture.h"

namespace yz::testing {
namespace {

using namespace literals;

const std::vector<std::string> kTickable = {"搜索窗口置顶", "播放窗口置顶", "模式一(搜索名字)",
                                            "模式二(网址播放)", "默认", "线路1", "线路2", "线路3"};
const std::vector<std::string> kLinks = {"超级链接框_视频信息", "超级链接框_剧集", "超级链接框_推荐"};

QStringList TopMenuTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return texts;
}

TEST_F(WindowTest, StartsAsDesignedAndTheCreatedHandlerResizes) {
  EXPECT_TRUE(window_->windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(window_->size(), QSize(558, 469));
  EXPECT_EQ(Widget<QLineEdit>("编辑框1")->text(), QStringLiteral("白夜追凶"));
  EXPECT_FALSE(Widget("超级列表框5")->isVisibleTo(window_.get()));
  EXPECT_TRUE(Widget("超级列表框1")->isVisibleTo(window_.get()));
  EXPECT_EQ(Widget<PagedControl>("选择夹1")->CurrentPage(), 0);
  EXPECT_EQ(TopMenuTexts(window_->Menu()),
            QStringList({"置顶", "-", "播放模式", "-", "线路选择", "-", "检查更新", "加入我们"}));

  OnMainWindowCreated(ctx_);
  Settle();
  EXPECT_EQ(window_->size(), QSize(558, 398));
  EXPECT_EQ(Widget("超级列表框3")->geometry(), QRect(72, 2, 205, 319));
  EXPECT_EQ(Widget("超级列表框2")->geometry(), QRect(1, 2, 74, 319));
  EXPECT_EQ(Widget("选择夹1")->geometry(), QRect(274, 61, 280, 338));
  EXPECT_EQ(Widget<PagedControl>("选择夹1")->Page(0)->size(), QSize(280, 338));
  for (const auto& caption : kTickable) {
    EXPECT_EQ(window_->MenuAction(caption)->isChecked(), caption == "默认" || caption == "模式一(搜索名字)")
        << caption;
  }
  EXPECT_FALSE(effects_->Ended());  // the notice could not be read: go on
}

TEST_F(WindowTest, ListColumnsFollowTheDefinition) {
  for (const ControlDef& def : MainWindowControls()) {
    if (def.kind != ControlKind::ListView) continue;
    SCOPED_TRACE(def.name);
    ListView* list = window_->List(def.name);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->columnCount(), static_cast<int>(def.columns.size()));
    for (int c = 0; c < static_cast<int>(def.columns.size()); ++c) {
      EXPECT_EQ(list->header()->isSectionHidden(c), def.columns[c].width == 0) << c;
      if (def.columns[c].width > 0) {
        EXPECT_EQ(list->header()->sectionSize(c), def.columns[c].width);
      }
    }
  }
  ListView* sites = window_->List("超级列表框2");
  EXPECT_FALSE(sites->header()->isHidden());
  EXPECT_EQ(sites->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("视频来源："));
  EXPECT_EQ(window_->List("超级列表框1")->iconSize(), QSize(90, 120));
}

TEST_F(WindowTest, MenuActionsMirrorTheGroupToggles) {
  ui().SetTicked("默认", true);
  ui().SetTicked("模式一(搜索名字)", true);
  Settle();
  struct Step {
    std::string caption;
    std::set<std::string> ticked;
  };
  const std::vector<Step> steps = {
      {"默认", {"模式一(搜索名字)"}},  // a second click leaves the group unticked
      {"线路2", {"模式一(搜索名字)", "线路2"}},
      {"线路1", {"模式一(搜索名字)", "线路1"}},
      {"模式一(搜索名字)", {"线路1"}},
      {"模式二(网址播放)", {"模式二(网址播放)", "线路1"}},
      {"播放窗口置顶", {"播放窗口置顶", "模式二(网址播放)", "线路1"}},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.caption);
    window_->MenuAction(step.caption)->trigger();
    for (const auto& caption : kTickable) {
      const bool expected = step.ticked.count(caption) > 0;
      EXPECT_EQ(ui().IsTicked(caption), expected) << caption;
      EXPECT_EQ(window_->MenuAction(caption)->isChecked(), expected) << caption;
    }
  }
  EXPECT_FALSE(window_->windowFlags() & Qt::WindowStaysOnTopHint);
  for (bool on : {true, false}) {
    window_->MenuAction("搜索窗口置顶")->trigger();
    EXPECT_EQ(window_->MenuAction("搜索窗口置顶")->isChecked(), on);
    EXPECT_EQ(bool(window_->windowFlags() & Qt::WindowStaysOnTopHint), on);
    EXPECT_TRUE(window_->isVisible());
  }
}

TEST_F(WindowTest, LinksTurnThePagesAndMoveTheRedBar) {
  auto* tabs = Widget<PagedControl>("选择夹1");
  for (auto [page, left] : {std::pair{1, 368}, {2, 462}, {0, 274}}) {
    SCOPED_TRACE(page);
    QTest::mouseClick(Widget(kLinks[page]), Qt::LeftButton);
    EXPECT_EQ(Widget("标签_滑块")->geometry(), QRect(left, 57, 94, 2));
    EXPECT_EQ(tabs->CurrentPage(), page);
    for (int p = 0; p < 3; ++p) {
      EXPECT_EQ(tabs->Page(p)->isVisibleTo(tabs), p == page);
      QColor ink = Widget(kLinks[p])->palette().color(QPalette::WindowText);
      EXPECT_EQ(ink, p == page ? QColor(Qt::red) : QColor(Qt::white)) << kLinks[p];
    }
  }
}

TEST_F(WindowTest, TitleBarButtons) {
  auto* history = Widget("超级列表框5");
  for (bool shown : {true, false, true}) {
    QTest::mouseClick(Widget("图形按钮_历史记录"), Qt::LeftButton);
    EXPECT_EQ(history->isVisible(), shown);
    EXPECT_EQ(ui().IsVisible("超级列表框5"), shown);
  }
  QTest::mouseClick(Widget("图形按钮_搜索"), Qt::LeftButton);
  ASSERT_EQ(handlers_->raised.size(), 1u);
  EXPECT_EQ(handlers_->raised[0].what, "search");

  QTest::mouseClick(Widget("图形按钮2"), Qt::LeftButton);
  EXPECT_TRUE(ui().Minimised());
  EXPECT_FALSE(effects_->Ended());
  QTest::mouseClick(Widget("图形按钮1"), Qt::LeftButton);
  EXPECT_TRUE(effects_->Ended());
  EXPECT_EQ(effects_->ExitCode(), 0);
}

TEST_F(WindowTest, EnterSearchesOtherKeysEditAndEveryPressEmpties) {
  auto* edit = Widget<QLineEdit>("编辑框1");
  edit->setFocus();
  edit->end(false);
  QTest::keyClicks(edit, "xy");
  EXPECT_EQ(edit->text(), QStringLiteral("白夜追凶xy"));
  EXPECT_EQ(ui().GetText("编辑框1"), "白夜追凶xy"_gbk);  // typing is written back
  EXPECT_TRUE(handlers_->raised.empty());

  for (int key : {Qt::Key_Return, Qt::Key_Enter}) {
    QKeyEvent press(QEvent::KeyPress, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier,
                    QStringLiteral("\r"));
    QApplication::sendEvent(edit, &press);
    EXPECT_FALSE(press.isAccepted());  // Enter travels on
  }
  ASSERT_EQ(handlers_->raised.size(), 2u);
  EXPECT_EQ(handlers_->raised[1].what, "search");
  EXPECT_EQ(edit->text(), QStringLiteral("白夜追凶xy"));

  for (const char* typed : {"", "ab"}) {
    QTest::keyClicks(edit, typed);
    QTest::mouseClick(edit, Qt::LeftButton);
    EXPECT_EQ(edit->text(), QString());
    EXPECT_EQ(ui().GetText("编辑框1"), "");
  }
  EXPECT_EQ(handlers_->raised.size(), 2u);
}

TEST_F(WindowTest, ListEventsSelectTheRowBeforeTheHandlerRuns) {
  const std::string name = "超级列表框3";
  for (int r = 0; r < 3; ++r) ui().SetCell(name, ui().AppendRow(name), 1, Utf8ToText("第" + std::to_string(r + 1) + "集"));
  Settle();
  ListView* list = window_->List(name);
  ASSERT_EQ(list->model()->rowCount(), 3);
  auto centre = [&](int row) { return list->visualRect(list->model()->index(row, 1)).center(); };

  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre(1));
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre(2));
  ASSERT_GE(handlers_->raised.size(), 2u);
  EXPECT_EQ(handlers_->raised.front().what, "pressed");
  EXPECT_EQ(handlers_->raised.front().list, name);
  EXPECT_EQ(handlers_->raised.front().selectedRow, 1);
  EXPECT_EQ(handlers_->raised.back().what, "double");
  EXPECT_EQ(handlers_->raised.back().selectedRow, 2);

  // A press below the rows selects nothing and raises nothing.
  const std::size_t before = handlers_->raised.size();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, list->viewport()->height() - 3));
  EXPECT_EQ(ui().SelectedRow(name), -1);
  EXPECT_EQ(handlers_->raised.size(), before);

  // The keyboard moves the selection too; the model's selection shows in the view.
  ui().SetSelectedRow(name, 0);
  Settle();
  EXPECT_EQ(list->currentIndex().row(), 0);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(ui().SelectedRow(name), 1);
  EXPECT_EQ(handlers_->raised.size(), before);
}

TEST_F(WindowTest, InnerTabsTurnBeforeTheirEventAndLoadWhenFirstShown) {
  QTest::mouseClick(Widget(kLinks[2]), Qt::LeftButton);
  ASSERT_TRUE(ProcessUntil([&] { return !handlers_->raised.empty(); }));
  EXPECT_EQ(handlers_->raised[0].what, "tab");
  EXPECT_EQ(handlers_->raised[0].index, 0);  // the current tab loads when 推荐 first shows

  QTabBar* bar = Widget<PagedControl>("高级选择夹1")->Tabs();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
  ASSERT_EQ(handlers_->raised.size(), 2u);
  EXPECT_EQ(handlers_->raised[1].index, 2);
  EXPECT_EQ(handlers_->tabPageWhenRaised[1], 2);
  EXPECT_TRUE(Widget("超级列表框_综艺")->isVisible());
  EXPECT_FALSE(Widget("超级列表框_电视剧")->isVisible());

  QTest::mouseClick(Widget(kLinks[0]), Qt::LeftButton);
  QTest::mouseClick(Widget(kLinks[2]), Qt::LeftButton);
  Settle();
  QTest::qWait(20);
  EXPECT_EQ(handlers_->raised.size(), 2u);  // only the first showing loads
}

TEST_F(WindowTest, LoadingPicturesAnimateOnlyWhileShown) {
  auto* spinner = Widget<SpinnerView>("图片框_载入");
  EXPECT_FALSE(spinner->IsAnimating());
  ui().SetVisible("图片框_载入", true);
  Settle();
  EXPECT_TRUE(spinner->isVisible());
  EXPECT_TRUE(spinner->IsAnimating());
  ui().SetVisible("图片框_载入", false);
  Settle();
  EXPECT_FALSE(spinner->IsAnimating());
}

TEST_F(WindowTest, PageTextsShowAsPlainText) {
  ui().SetText("透明标签_简介", "简介：<b>粗</b>\r\n第二行"_gbk);
  Settle();
  auto* label = Widget<QLabel>("透明标签_简介");
  EXPECT_EQ(label->textFormat(), Qt::PlainText);
  EXPECT_EQ(label->text(), QStringLiteral("简介：<b>粗</b>\n第二行"));
}

}  // namespace
}  // namespace yz::testing
