// A main window over a fresh control layer, with handlers that record what
// the window raised (and the list's selected row at that moment) instead of
// starting readers; the menu, links and title bar run the real shell handlers.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell.h"
#include "app/window_handlers.h"

namespace yz::testing {

struct Raised {
  std::string what;  // "search", "pressed", "double", "tab"
  std::string list;
  int selectedRow = -1;  // of `list` in the control layer, when raised
  int index = -1;        // tab index; the inner tab control's page when raised
};

class RecordingHandlers : public ShellHandlers {
 public:
  using ShellHandlers::ShellHandlers;
  void Search() override { raised.push_back({"search", "", -1, -1}); }
  void ListPressed(const std::string& list) override {
    raised.push_back({"pressed", list, Ctx().ui->SelectedRow(list), -1});
  }
  void ListDoubleClicked(const std::string& list) override {
    raised.push_back({"double", list, Ctx().ui->SelectedRow(list), -1});
  }
  void InnerTabChanged(int index) override {
    raised.push_back({"tab", "", -1, index});
    tabPageWhenRaised.push_back(Ctx().ui->CurrentPage("高级选择夹1"));
  }
  std::vector<Raised> raised;
  std::vector<int> tabPageWhenRaised;
};

// Processes events until `done` or the time-out; returns `done()`.
inline bool ProcessUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  return done();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    // Nothing here may leave the machine.
    ctx_.addresses.portalBase = ctx_.addresses.searchHost = "http://127.0.0.1:9";
    ctx_.addresses.notice = "http://127.0.0.1:9/notice.html";
    handlers_ = std::make_shared<RecordingHandlers>(ctx_);
    window_ = std::make_unique<MainWindow>(ctx_.ui, handlers_);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }
  void TearDown() override {
    ctx_.workers->Shutdown();
    window_.reset();
  }

  ControlModel& ui() { return *ctx_.ui; }
  template <typename W = QWidget>
  W* Widget(const std::string& name) {
    auto* w = qobject_cast<W*>(window_->Control(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // Applies what the model changed through the queued path, as workers see it.
  void Settle() {
    ProcessUntil([this] { return !window_->Changes().FlushPending(); });
  }

  Context ctx_;
  std::shared_ptr<RecordingEffects> effects_;
  std::shared_ptr<RecordingHandlers> handlers_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace yz::testing
