// The Qt effects: message boxes from the window thread and from workers,
// shutdown releasing waiting workers, ending the program, waiting on the
// network with a live window, addresses for the browser, the player window.
#include "app/qt_effects.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include "app/qt_text.h"
#include "window_fixture.h"

namespace yz::testing {
namespace {

using namespace literals;

// Calls `act` with the next message box once it shows. A box runs its own
// event loop, so the watch runs from a timer inside that loop.
void OnNextBox(std::function<void(QMessageBox*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(box);
  });
  timer->start();
}

void Press(QMessageBox* box, QMessageBox::StandardButton which) {
  ASSERT_NE(box->button(which), nullptr);
  box->button(which)->click();
}

class QtEffectsTest : public ::testing::Test {
 protected:
  std::shared_ptr<ControlModel> ui_ = std::make_shared<ControlModel>();
  QtEffects effects_{ui_};
};

TEST_F(QtEffectsTest, WorkerBoxWaitsForTheAnswerWhileTheWindowThreadRuns) {
  struct Case {
    int flags;
    Text title;
    QString shownTitle;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton press;
    int answer;
  };
  const std::vector<Case> cases = {
      {kMbYesNo | kMbIconInformation, "发现新版本："_gbk, QStringLiteral("发现新版本："),
       QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, kAnswerYes},
      {kMbYesNo | kMbIconInformation, "", QStringLiteral("信息："), QMessageBox::Yes | QMessageBox::No,
       QMessageBox::No, kAnswerNo},
      {kMbIconInformation, "", QStringLiteral("信息："), QMessageBox::Ok, QMessageBox::Ok, kAnswerOk},
  };
  for (const Case& c : cases) {
    std::atomic<int> answer{-1};
    bool shown = false;
    OnNextBox([&](QMessageBox* box) {
      shown = true;
      EXPECT_EQ(box->text(), QStringLiteral("第一行\n第二行"));
      EXPECT_EQ(box->windowTitle(), c.shownTitle);
      EXPECT_EQ(box->icon(), QMessageBox::Information);
      EXPECT_EQ(box->standardButtons(), c.buttons);
      EXPECT_EQ(answer, -1);  // the worker still waits
      Press(box, c.press);
    });
    std::thread worker([&] { answer = effects_.ShowMessage("第一行\r\n第二行"_gbk, c.flags, c.title); });
    EXPECT_TRUE(ProcessUntil([&] { return answer != -1; }));
    worker.join();
    EXPECT_TRUE(shown);
    EXPECT_EQ(answer, c.answer);
  }
}

TEST_F(QtEffectsTest, BoxOnTheWindowThreadRunsDirectly) {
  OnNextBox([](QMessageBox* box) { Press(box, QMessageBox::No); });
  EXPECT_EQ(effects_.ShowMessage("?"_gbk, kMbYesNo, ""), kAnswerNo);
}

TEST_F(QtEffectsTest, ShutdownReleasesWaitingWorkersWithTheDefaultAnswer) {
  Workers workers;
  std::atomic<int> answer{-1};
  // The program ends while the box is up: release and join from inside its loop.
  OnNextBox([&](QMessageBox* box) {
    effects_.ReleaseWaiting();
    workers.Shutdown();  // joins: the worker no longer waits
    box->close();
  });
  workers.Start([&] { answer = effects_.ShowMessage("x", kMbYesNo | kMbIconInformation, ""); });
  EXPECT_TRUE(ProcessUntil([&] { return answer != -1; }));
  EXPECT_EQ(answer, kAnswerNo);
  // Later boxes from workers answer at once.
  std::thread late([&] { answer = effects_.ShowMessage("y", kMbOk, ""); });
  late.join();
  EXPECT_EQ(answer, kAnswerOk);
}

TEST_F(QtEffectsTest, RunBlockingKeepsTheWindowThreadServing) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(5);
  std::thread::id ranOn;
  effects_.RunBlocking([&] {
    ranOn = std::this_thread::get_id();
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
  });
  EXPECT_NE(ranOn, std::this_thread::get_id());
  EXPECT_GT(ticks, 5);

  // Work that asks the user is answered while the window thread waits.
  int answer = -1;
  OnNextBox([](QMessageBox* box) { Press(box, QMessageBox::Yes); });
  effects_.RunBlocking([&] { answer = effects_.ShowMessage("?", kMbYesNo, ""); });
  EXPECT_EQ(answer, kAnswerYes);

  // Off the window thread it simply runs.
  std::thread other([&] {
    effects_.RunBlocking([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
  });
  other.join();
}

TEST_F(QtEffectsTest, EndProgramBeforeAndDuringTheEventLoop) {
  EXPECT_FALSE(effects_.EndRequested());
  effects_.EndProgram(0);  // before the loop: only recorded
  EXPECT_TRUE(effects_.EndRequested());
  EXPECT_EQ(effects_.ExitCode(), 0);

  // From a worker while the loop runs.
  std::thread worker;
  QTimer::singleShot(0, [&] { worker = std::thread([&] { effects_.EndProgram(3); }); });
  EXPECT_EQ(QApplication::exec(), 3);
  worker.join();
  EXPECT_EQ(effects_.ExitCode(), 3);
}

TEST(WebAddress, OnlyWebAddressesReachTheBrowser) {
  for (const char* ok : {"http://example.test/a?b=1", "HTTPS://example.test", " http://example.test/ "}) {
    EXPECT_FALSE(WebAddress(ok).isEmpty()) << ok;
  }
  for (const char* refused : {"", "file:///etc/passwd", "/etc/passwd", "javascript:alert(1)",
                              "ftp://example.test/", "http://", "mailto:a@example.test"}) {
    EXPECT_TRUE(WebAddress(refused).isEmpty()) << refused;
  }
}

TEST_F(QtEffectsTest, OnePlayerWindowOnTopAsTickedWhenCreated) {
  ui_->SetTicked("播放窗口置顶", true);
  std::thread worker([&] {
    effects_.ShowPlayer("http://127.0.0.1:9/");
    effects_.SetPlayerCaption("正在播放：第1集"_gbk);
  });
  worker.join();
  ASSERT_TRUE(ProcessUntil([&] { return effects_.Player() && effects_.Player()->isVisible(); }));
  PlayerWindow* first = effects_.Player();
  ProcessUntil([&] { return first->windowTitle() == QStringLiteral("正在播放：第1集"); });
  EXPECT_EQ(first->windowTitle(), QStringLiteral("正在播放：第1集"));
  EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);

  ui_->SetTicked("播放窗口置顶", false);  // read only when a player is created
  effects_.ShowPlayer("http://127.0.0.1:9/");
  EXPECT_EQ(effects_.Player(), first);
  EXPECT_TRUE(first->windowFlags() & Qt::WindowStaysOnTopHint);

  effects_.ClosePlayer();
  EXPECT_EQ(effects_.Player(), nullptr);
  effects_.ShowPlayer("http://127.0.0.1:9/");
  ASSERT_NE(effects_.Player(), nullptr);
  EXPECT_FALSE(effects_.Player()->windowFlags() & Qt::WindowStaysOnTopHint);
  effects_.ClosePlayer();
}

}  // namespace
}  // namespace yz::testing
