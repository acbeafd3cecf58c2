// The player window with a real web view against pages on 127.0.0.1.
#include <gtest/gtest.h>
#include <httplib.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "play/player_window.h"
#include "sample_portal.h"

namespace yz {
namespace {

constexpr int kTimeoutMs = 10000;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = kTimeoutMs) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > timeoutMs) return false;
    QTest::qWait(10);
  }
  return true;
}

// Runs a script in the page and waits for its value.
QVariant Evaluate(QWebEngineView* view, const QString& script) {
  struct Result {
    bool done = false;
    QVariant value;
  };
  auto result = std::make_shared<Result>();
  view->page()->runJavaScript(script, [result](const QVariant& v) {
    result->value = v;
    result->done = true;
  });
  EXPECT_TRUE(WaitFor([&] { return result->done; })) << script.toStdString();
  return result->value;
}

int Count(QWebEngineView* view, const char* name) {
  return Evaluate(view, QStringLiteral("window.counts.%1").arg(QLatin1String(name))).toInt();
}

bool AnyMenuShown() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible() && qobject_cast<QMenu*>(w)) return true;
  }
  return QApplication::activePopupWidget() != nullptr;
}

// A full-window page that counts what reaches it.
const char kCountingPage[] = R"(<!doctype html>
<html><head><title>counting</title>
<style>html, body { margin: 0; width: 100%; height: 100%; }</style></head>
<body><script>
window.counts = { rightDown: 0, rightUp: 0, leftDown: 0, contextMenu: 0, aux: 0, menuKeys: 0, keyA: 0 };
addEventListener('mousedown', e => { if (e.button == 2) counts.rightDown++; if (e.button == 0) counts.leftDown++; }, true);
addEventListener('mouseup', e => { if (e.button == 2) counts.rightUp++; }, true);
addEventListener('contextmenu', e => { counts.contextMenu++; }, true);
addEventListener('auxclick', e => { counts.aux++; }, true);
addEventListener('keydown', e => {
  if (e.key == 'ContextMenu' || e.key == 'F10') counts.menuKeys++;
  if (e.key == 'a') counts.keyA++;
}, true);
</script></body></html>)";

// A page that tries to open windows: at once from script, and through a
// link that covers the page when it is clicked.
const char kPopupPage[] = R"(<!doctype html>
<html><head><title>popup</title>
<style>html, body { margin: 0; width: 100%; height: 100%; }
a { display: block; width: 100%; height: 100%; }</style></head>
<body><a href="/target" target="_blank">open</a><script>
window.opened = window.open('/target', 'other', 'width=200,height=200');
</script></body></html>)";

// A page that asks for full screen when clicked, as a video player does.
const char kFullScreenPage[] = R"html(<!doctype html>
<html><head><style>html, body, div { margin: 0; width: 100%; height: 100%; }</style></head>
<body><div onclick="document.documentElement.requestFullscreen()"></div></body></html>)html";

class PlayerWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{"/nonexistent", 0});
    auto& server = portal_->Server();
    server.Get("/counting", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kCountingPage, "text/html");
    });
    server.Get("/popup", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kPopupPage, "text/html");
    });
    server.Get("/fullscreen", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(kFullScreenPage, "text/html");
    });
    server.Get("/target", [this](const httplib::Request&, httplib::Response& res) {
      ++targetHits_;
      res.set_content("<title>target</title>", "text/html");
    });
    server.Get("/jx/ty.php", [this](const httplib::Request& req, httplib::Response& res) {
      std::lock_guard lock(mutex_);
      lastTarget_ = req.target;
      res.set_content("<title>line</title>", "text/html");
    });
    // One request per connection: the browser keeps none open that would
    // hold up stopping the server.
    server.set_keep_alive_max_count(1);
    ASSERT_GT(portal_->Start(0), 0);
    base_ = QString::fromStdString(portal_->Base());
  }
  void TearDown() override {
    window_.reset();
    portal_.reset();
  }

  PlayerWindow& OpenWindow() {
    window_ = std::make_unique<PlayerWindow>(false);
    window_->setAttribute(Qt::WA_DeleteOnClose, false);  // owned here
    window_->show();
    return *window_;
  }

  // Navigates and waits for the document to finish.
  bool Load(const QString& path) {
    QSignalSpy finished(window_->Browser(), &QWebEngineView::loadFinished);
    window_->Navigate(base_ + path);
    return WaitFor([&] { return finished.count() > 0; }) && finished.first().first().toBool();
  }

  std::unique_ptr<SamplePortal> portal_;
  std::unique_ptr<PlayerWindow> window_;
  QString base_;
  std::atomic<int> targetHits_{0};
  std::mutex mutex_;
  std::string lastTarget_;
};

TEST_F(PlayerWindowTest, CreatedAsDesigned) {
  for (bool onTop : {true, false}) {
    PlayerWindow w(onTop);
    EXPECT_EQ(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint), onTop);
    EXPECT_EQ(w.geometry(), QRect(50, 50, 680, 440));
    EXPECT_EQ(w.Browser()->objectName(), QStringLiteral("超文本浏览框1"));
    EXPECT_EQ(w.Browser()->geometry(), QRect(-1, -1, 680, 416));
    EXPECT_EQ(w.Browser()->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_TRUE(w.Browser()->page()->profile()->isOffTheRecord());
  }
}

TEST_F(PlayerWindowTest, NavigatesToThePlayAddressUnchanged) {
  OpenWindow();
  ASSERT_TRUE(Load("/jx/ty.php?url=https://v.example/cover/ab12.html&vid=3%E4"));
  std::lock_guard lock(mutex_);
  EXPECT_EQ(lastTarget_, "/jx/ty.php?url=https://v.example/cover/ab12.html&vid=3%E4");
}

TEST_F(PlayerWindowTest, RefusesAddressesThatAreNotHttp) {
  const std::pair<const char*, bool> cases[] = {
      {"http://127.0.0.1:1/a", true},
      {"https://line.example/?url=http://v.example/1", true},
      {"HTTP://127.0.0.1/a", true},  // schemes are case-insensitive
      {"file:///etc/hostname", false},
      {"javascript:alert(1)", false},
      {"data:text/html,<b>x</b>", false},
      {"ftp://127.0.0.1/a", false},
      {"127.0.0.1/a", false},
      {"http:/a", false},
      {"", false},
  };
  for (const auto& [address, playable] : cases)
    EXPECT_EQ(PlayerWindow::IsPlayableAddress(QUrl(QString::fromUtf8(address))), playable) << address;

  OpenWindow();
  QSignalSpy finished(window_->Browser(), &QWebEngineView::loadFinished);
  window_->Navigate(QStringLiteral("file:///etc/hostname"));
  ASSERT_TRUE(WaitFor([&] { return finished.count() > 0; }));
  EXPECT_EQ(window_->Browser()->url(), QUrl(QStringLiteral("about:blank")));
  EXPECT_NE(window_->HookedWindow(), nullptr);
  EXPECT_EQ(window_->findChild<QMessageBox*>(), nullptr);
}

TEST_F(PlayerWindowTest, BrowserFollowsTheOuterSize) {
  EXPECT_EQ(PlayerWindow::BrowserGeometry(QSize(800, 600)), QRect(-1, -1, 805, 565));
  EXPECT_EQ(PlayerWindow::BrowserGeometry(QSize(20, 20)), QRect(-1, -1, 25, 0));

  PlayerWindow& w = OpenWindow();
  // Make the outer size 800 x 600, whatever frame the platform draws.
  const QSize frame = w.frameGeometry().size() - w.geometry().size();
  w.resize(QSize(800, 600) - frame);
  ASSERT_TRUE(WaitFor([&] { return w.frameGeometry().size() == QSize(800, 600); }));
  EXPECT_EQ(w.Browser()->geometry(), QRect(-1, -1, 805, 565));
}

TEST_F(PlayerWindowTest, VideoFullScreenFillsTheWindowAndReturns) {
  PlayerWindow& w = OpenWindow();
  ASSERT_TRUE(Load("/fullscreen"));
  QWidget* inner = w.HookedWindow();
  ASSERT_NE(inner, nullptr);
  ASSERT_TRUE(WaitFor([&] {
    QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::qWait(50);
    return w.isFullScreen();
  }));
  EXPECT_TRUE(WaitFor([&] { return w.Browser()->geometry() == w.rect(); }));

  Evaluate(w.Browser(), QStringLiteral("document.exitFullscreen(), 0"));
  ASSERT_TRUE(WaitFor([&] { return !w.isFullScreen(); }));
  EXPECT_TRUE(WaitFor([&] {
    return w.Browser()->geometry() == PlayerWindow::BrowserGeometry(w.frameGeometry().size());
  }));
}

TEST_F(PlayerWindowTest, PagesOpenNoWindows) {
  PlayerWindow& w = OpenWindow();
  ASSERT_TRUE(Load("/popup"));
  // The page's own window.open came to nothing.
  EXPECT_TRUE(WaitFor([&] {
    return Evaluate(w.Browser(), QStringLiteral("window.opened === null || window.opened.closed")).toBool();
  }));
  EXPECT_GE(w.RefusedWindows(), 1);

  // A user's click on a target=_blank link is refused as well. Clicks are
  // repeated until the page takes input at all.
  const int refusedBefore = w.RefusedWindows();
  QWidget* inner = w.HookedWindow();
  ASSERT_NE(inner, nullptr);
  EXPECT_TRUE(WaitFor([&] {
    QTest::mouseClick(inner, Qt::LeftButton, {}, inner->rect().center());
    QTest::qWait(50);
    return w.RefusedWindows() > refusedBefore;
  }));

  QTest::qWait(200);
  EXPECT_EQ(targetHits_, 0);
  for (QWidget* top : QApplication::topLevelWidgets())
    EXPECT_TRUE(top == &w || !top->isVisible() || !top->findChild<QWebEngineView*>());
}

// A page takes input only a little after its first document finished:
// left clicks go in until the page counts one.
bool WaitForInput(QWebEngineView* view, QWidget* inner) {
  return WaitFor([&] {
    QTest::mouseClick(inner, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::qWait(50);
    return Count(view, "leftDown") > 0;
  });
}

TEST_F(PlayerWindowTest, RightButtonAndMenuKeysNeverReachThePage) {
  PlayerWindow& w = OpenWindow();
  ASSERT_TRUE(Load("/counting"));
  QWidget* inner = w.HookedWindow();
  ASSERT_NE(inner, nullptr);
  ASSERT_TRUE(WaitForInput(w.Browser(), inner));
  const int leftBefore = Count(w.Browser(), "leftDown");
  const QPoint centre = inner->rect().center();

  QTest::mousePress(inner, Qt::RightButton, {}, centre);
  QTest::mouseRelease(inner, Qt::RightButton, {}, centre);
  QTest::mouseDClick(inner, Qt::RightButton, {}, centre);
  QTest::mouseClick(inner, Qt::RightButton, Qt::ShiftModifier, centre);
  QContextMenuEvent mouseMenu(QContextMenuEvent::Mouse, centre, inner->mapToGlobal(centre));
  QApplication::sendEvent(inner, &mouseMenu);
  QTest::keyClick(inner, Qt::Key_Menu);
  QTest::keyClick(inner, Qt::Key_F10, Qt::ShiftModifier);
  QContextMenuEvent keyMenu(QContextMenuEvent::Keyboard, centre, inner->mapToGlobal(centre));
  QApplication::sendEvent(w.Browser(), &keyMenu);

  // Input arrives in order: once the click and the key sent behind the
  // blocked ones are seen, the blocked ones would have been seen too.
  QTest::mouseClick(inner, Qt::LeftButton, {}, centre);
  QTest::keyClick(inner, Qt::Key_A);
  ASSERT_TRUE(WaitFor([&] {
    return Count(w.Browser(), "leftDown") == leftBefore + 1 && Count(w.Browser(), "keyA") == 1;
  }));
  for (const char* counter : {"rightDown", "rightUp", "contextMenu", "aux", "menuKeys"})
    EXPECT_EQ(Count(w.Browser(), counter), 0) << counter;
  EXPECT_FALSE(AnyMenuShown());
}

// The same input reaches a page in a bare view: the test above can fail.
TEST_F(PlayerWindowTest, RightButtonReachesAnUnguardedView) {
  QWebEngineView view;
  view.resize(400, 300);
  view.show();
  QSignalSpy finished(&view, &QWebEngineView::loadFinished);
  view.setUrl(QUrl(base_ + "/counting"));
  ASSERT_TRUE(WaitFor([&] { return finished.count() > 0; }));
  QWidget* inner = view.focusProxy();
  ASSERT_NE(inner, nullptr);
  ASSERT_TRUE(WaitForInput(&view, inner));
  QTest::mouseClick(inner, Qt::RightButton, {}, inner->rect().center());
  QTest::keyClick(inner, Qt::Key_Menu);
  EXPECT_TRUE(WaitFor([&] { return Count(&view, "rightDown") == 1 && Count(&view, "menuKeys") == 1; }));
}

TEST_F(PlayerWindowTest, OneHookPerInnerWidget) {
  PlayerWindow& w = OpenWindow();
  ASSERT_TRUE(Load("/counting"));
  QWidget* first = w.HookedWindow();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, w.Browser()->focusProxy());
  EXPECT_EQ(w.HooksInstalled(), 1);

  // More documents, and the ready handler run again: still one hook.
  ASSERT_TRUE(Load("/popup"));
  ASSERT_TRUE(Load("/counting"));
  w.OnBrowserReady();
  EXPECT_EQ(w.HookedWindow(), first);
  EXPECT_EQ(w.HooksInstalled(), 1);

  // A new inner widget gets its own guard the moment it joins the view.
  struct Probe : QWidget {
    using QWidget::QWidget;
    int presses = 0;
    void mousePressEvent(QMouseEvent*) override { ++presses; }
  };
  auto* probe = new Probe(w.Browser());
  EXPECT_EQ(w.HookedWindow(), probe);
  EXPECT_EQ(w.HooksInstalled(), 2);
  QTest::mousePress(probe, Qt::RightButton);
  EXPECT_EQ(probe->presses, 0);
  QTest::mousePress(probe, Qt::LeftButton);
  EXPECT_EQ(probe->presses, 1);
  delete probe;
  EXPECT_EQ(w.HookedWindow(), nullptr);
}

TEST_F(PlayerWindowTest, ReadyWithoutAnInnerWidgetSaysSoOnce) {
  PlayerWindow& w = OpenWindow();
  ASSERT_EQ(w.Browser()->focusProxy(), nullptr);  // nothing loaded yet
  w.OnBrowserReady();
  w.OnBrowserReady();
  const auto boxes = w.findChildren<QMessageBox*>();
  ASSERT_EQ(boxes.size(), 1);
  QMessageBox* box = boxes.first();
  EXPECT_TRUE(box->isVisible());
  EXPECT_EQ(box->text(), QStringLiteral("浏览器 句柄无效"));
  EXPECT_EQ(box->windowTitle(), QStringLiteral("友情提醒"));
  EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
  EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
  EXPECT_EQ(w.HooksInstalled(), 0);

  // Playback goes on; the next document is hooked.
  box->close();
  ASSERT_TRUE(Load("/counting"));
  EXPECT_NE(w.HookedWindow(), nullptr);
  EXPECT_EQ(w.HooksInstalled(), 1);
}

}  // namespace
}  // namespace yz
