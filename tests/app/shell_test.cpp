// The window's handlers over the control layer, without Qt.
#include "app/shell.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sample_portal.h"

namespace yz {
namespace {

using namespace literals;

const std::vector<std::string> kTickable = {"搜索窗口置顶", "播放窗口置顶", "模式一(搜索名字)",
                                            "模式二(网址播放)", "默认", "线路1", "线路2", "线路3"};

// A context over a loopback portal that serves only a notice page.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{"/nonexistent", 0});
    portal_->Server().Get("/notice.html", [this](const httplib::Request&, httplib::Response& res) {
      res.set_content(Utf8ToText("最新版本为" + noticeVersion_ + "（软件成品）下载地址为：" +
                                 portal_->Base() + "/d（软件成品）更新：新（完）"),
                      "text/html");
    });
    ASSERT_GT(portal_->Start(0), 0);
    ctx_.addresses.portalBase = portal_->Base();
    ctx_.addresses.searchHost = portal_->Base();
    ctx_.addresses.notice = portal_->Base() + "/notice.html";
    ctx_.addresses.invitation = "http://invite.test/join.html";
    ctx_.addresses.lineDefault = portal_->Base() + "/line0/?url=";
  }
  void TearDown() override {
    ctx_.workers->Shutdown();
    portal_.reset();
  }

  ControlModel& ui() { return *ctx_.ui; }
  std::vector<std::string> Ticked() const {
    std::vector<std::string> on;
    for (const auto& c : kTickable) {
      if (ctx_.ui->IsTicked(c)) on.push_back(c);
    }
    return on;
  }

  Context ctx_;
  std::shared_ptr<RecordingEffects> effects_;
  std::unique_ptr<SamplePortal> portal_;
  std::string noticeVersion_ = "1.4.9";
};

TEST_F(ShellTest, CreatedHandlerSizesTicksAndChecksForUpdates) {
  OnMainWindowCreated(ctx_);
  EXPECT_EQ(ui().GetGeometry("超级列表框3").height, 319);
  EXPECT_EQ(ui().GetGeometry("超级列表框2").height, 319);
  EXPECT_EQ(ui().WindowHeight(), 398);
  EXPECT_EQ(ui().GetGeometry("选择夹1").top, 61);
  EXPECT_EQ(ui().GetGeometry("选择夹1").height, 338);
  EXPECT_EQ(Ticked(), (std::vector<std::string>{"模式一(搜索名字)", "默认"}));
  EXPECT_FALSE(effects_->Ended());
  EXPECT_TRUE(effects_->Messages().empty());

  // A notice naming another version ends the program after the offer.
  noticeVersion_ = "1.5.0";
  RecordingEffects& fx = *effects_;
  fx.QueueAnswer(kAnswerNo);
  OnMainWindowCreated(ctx_);
  ASSERT_EQ(fx.Messages().size(), 1u);
  EXPECT_EQ(fx.Messages()[0].title, "发现新版本："_gbk);
  EXPECT_TRUE(fx.Ended());
  EXPECT_EQ(fx.ExitCode(), 0);
}

TEST_F(ShellTest, GroupTogglesInvertTheChosenItemAndUntickTheRest) {
  struct Case {
    const char* name;
    std::vector<std::string> clicks;
    std::vector<std::string> ticked;
  };
  const std::vector<Case> cases = {
      {"start-up state", {}, {"模式一(搜索名字)", "默认"}},
      {"默认 while ticked leaves no line", {"默认"}, {"模式一(搜索名字)"}},
      {"a line replaces 默认", {"线路2"}, {"模式一(搜索名字)", "线路2"}},
      {"second click unticks the line", {"线路3", "线路3"}, {"模式一(搜索名字)"}},
      {"lines after an empty group", {"默认", "线路1"}, {"模式一(搜索名字)", "线路1"}},
      {"mode one while ticked leaves no mode", {"模式一(搜索名字)"}, {"默认"}},
      {"mode two replaces mode one", {"模式二(网址播放)"}, {"模式二(网址播放)", "默认"}},
      {"groups are independent", {"线路1", "模式二(网址播放)", "线路2"}, {"模式二(网址播放)", "线路2"}},
      {"player on-top flips its own tick",
       {"播放窗口置顶"},
       {"播放窗口置顶", "模式一(搜索名字)", "默认"}},
      {"player on-top twice", {"播放窗口置顶", "播放窗口置顶"}, {"模式一(搜索名字)", "默认"}},
      {"unknown caption", {"置顶", "-", "没有这一项"}, {"模式一(搜索名字)", "默认"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ctx_.ui = std::make_shared<ControlModel>();
    ui().SetTicked("默认", true);
    ui().SetTicked("模式一(搜索名字)", true);
    for (const auto& click : c.clicks) OnMenuItemSelected(ctx_, click);
    EXPECT_EQ(Ticked(), c.ticked);
    EXPECT_FALSE(ui().AlwaysOnTop());
  }
  EXPECT_EQ(effects_->PlayerWindowsCreated(), 0);
}

TEST_F(ShellTest, SearchWindowOnTopKeepsTickAndWindowEqual) {
  for (bool expected : {true, false, true}) {
    OnMenuItemSelected(ctx_, "搜索窗口置顶");
    EXPECT_EQ(ui().IsTicked("搜索窗口置顶"), expected);
    EXPECT_EQ(ui().AlwaysOnTop(), expected);
  }
}

TEST_F(ShellTest, SearchFollowsThePlayMode) {
  // No mode ticked: nothing at all.
  ui().SetText("编辑框1", "");
  StartSearch(ctx_);
  ctx_.workers->WaitIdle();
  EXPECT_TRUE(effects_->Messages().empty());
  EXPECT_EQ(effects_->PlayerLoads(), 0);

  // Mode one: a title search, which refuses the empty text.
  OnMenuItemSelected(ctx_, "模式一(搜索名字)");
  StartSearch(ctx_);
  ctx_.workers->WaitIdle();
  ASSERT_EQ(effects_->Messages().size(), 1u);
  EXPECT_EQ(effects_->Messages()[0].text, "请输入有效的视频名称或视频地址！"_gbk);
  EXPECT_EQ(effects_->PlayerLoads(), 0);

  // Mode two: the typed address plays through the ticked line.
  OnMenuItemSelected(ctx_, "模式二(网址播放)");
  OnMenuItemSelected(ctx_, "默认");
  ui().SetText("编辑框1", portal_->Base() + "/video.html");
  StartSearch(ctx_);
  ctx_.workers->WaitIdle();
  EXPECT_EQ(effects_->Messages().size(), 1u);
  EXPECT_EQ(effects_->PlayerLoads(), 1);
}

TEST_F(ShellTest, LinksTurnThePagesAndMoveTheBar) {
  struct Case {
    int page;
    int barLeft;
  };
  const std::vector<std::string> links = {"超级链接框_视频信息", "超级链接框_剧集", "超级链接框_推荐"};
  for (Case c : {Case{2, 462}, Case{1, 368}, Case{0, 274}, Case{2, 462}}) {
    OnLinkPressed(ctx_, c.page);
    EXPECT_EQ(ui().GetGeometry("标签_滑块").left, c.barLeft);
    EXPECT_EQ(ui().CurrentPage("选择夹1"), c.page);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(ui().TextColour(links[i]), i == c.page ? 0xFF0000u : 0xFFFFFFu) << links[i];
    }
  }
}

TEST_F(ShellTest, TitleBarButtonsAndSearchBox) {
  OnSearchBoxPressed(ctx_);
  EXPECT_EQ(ui().GetText("编辑框1"), "");
  ui().SetText("编辑框1", "abc");
  OnSearchBoxPressed(ctx_);  // every press, not only the first
  EXPECT_EQ(ui().GetText("编辑框1"), "");

  OnHistoryButtonClicked(ctx_);
  EXPECT_TRUE(ui().IsVisible("超级列表框5"));
  OnHistoryButtonClicked(ctx_);
  EXPECT_FALSE(ui().IsVisible("超级列表框5"));

  OnMinimiseButtonClicked(ctx_);
  EXPECT_TRUE(ui().Minimised());
  EXPECT_FALSE(effects_->Ended());
  OnCloseButtonClicked(ctx_);
  EXPECT_TRUE(effects_->Ended());
  EXPECT_EQ(effects_->ExitCode(), 0);
}

TEST_F(ShellTest, MenuCommandsReachTheirEffects) {
  OnMenuItemSelected(ctx_, "加入我们");
  EXPECT_EQ(effects_->OpenedAddresses(), std::vector<Text>{"http://invite.test/join.html"});
  OnMenuItemSelected(ctx_, "检查更新");
  ASSERT_EQ(effects_->Messages().size(), 1u);
  EXPECT_EQ(effects_->Messages()[0].text, "已是最新版！"_gbk);
  EXPECT_FALSE(effects_->Ended());
}

TEST_F(ShellTest, InnerTabChangeTurnsTheTabAndLoadsItsList) {
  OnInnerTabChanged(ctx_, 1);
  EXPECT_EQ(ui().CurrentPage("高级选择夹1"), 1);
  ctx_.workers->WaitIdle();
  EXPECT_EQ(ui().RowCount("超级列表框_电影"), 30);  // the portal has no such page
  EXPECT_EQ(ui().RowCount("超级列表框_电视剧"), 0);
  EXPECT_EQ(ui().RowCount("超级列表框_综艺"), 0);
}

TEST_F(ShellTest, ListsWithoutHandlersIgnoreTheirEvents) {
  for (const char* list : {"超级列表框5", "没有这个列表"}) {
    OnListPressed(ctx_, list);
    OnListDoubleClicked(ctx_, list);
  }
  ctx_.workers->WaitIdle();
  EXPECT_TRUE(effects_->Messages().empty());
  EXPECT_EQ(effects_->PlayerLoads(), 0);
  EXPECT_EQ(ui().RowCount("超级列表框5"), 0);
}

}  // namespace
}  // namespace yz
