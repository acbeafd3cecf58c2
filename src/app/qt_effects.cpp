#include "app/qt_effects.h"

#include <QApplication>
#include <QDesktopServices>
#include <QEventLoop>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <cstdio>
#include <exception>
#include <thread>
#include <utility>

#include "app/qt_text.h"
#include "play/player_window.h"

namespace yz {
namespace {

constexpr int kButtonsMask = 0x0F;
constexpr int kIconMask = 0xF0;

QMessageBox::StandardButtons ButtonsFor(int flags) {
  switch (flags & kButtonsMask) {
    case 1: return QMessageBox::Ok | QMessageBox::Cancel;
    case 2: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case kMbYesNo: return QMessageBox::Yes | QMessageBox::No;
    case 5: return QMessageBox::Retry | QMessageBox::Cancel;
    default: return QMessageBox::Ok;
  }
}

QMessageBox::Icon IconFor(int flags) {
  switch (flags & kIconMask) {
    case 0x10: return QMessageBox::Critical;
    case 0x20: return QMessageBox::Question;
    case 0x30: return QMessageBox::Warning;
    case kMbIconInformation: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
  }
}

// The buttons speak the program's language, with their usual access keys.
void NameButtons(QMessageBox& box) {
  static const std::pair<QMessageBox::StandardButton, const char*> names[] = {
      {QMessageBox::Ok, "确定"},          {QMessageBox::Cancel, "取消"},
      {QMessageBox::Abort, "中止(&A)"},   {QMessageBox::Retry, "重试(&R)"},
      {QMessageBox::Ignore, "忽略(&I)"},  {QMessageBox::Yes, "是(&Y)"},
      {QMessageBox::No, "否(&N)"},
  };
  for (const auto& [which, name] : names) {
    if (QAbstractButton* b = box.button(which)) b->setText(QString::fromUtf8(name));
  }
}

}  // namespace

int QtEffects::DefaultAnswer(int flags) {
  switch (flags & kButtonsMask) {
    case 1: case 3: case 5: return kAnswerCancel;
    case 2: return 2;  // Abort
    case kMbYesNo: return kAnswerNo;
    default: return kAnswerOk;
  }
}

int AnswerForButton(int standardButton, int flags) {
  switch (standardButton) {
    case QMessageBox::Ok: return kAnswerOk;
    case QMessageBox::Cancel: return kAnswerCancel;
    case QMessageBox::Abort: return 2;
    case QMessageBox::Retry: return 3;
    case QMessageBox::Ignore: return 4;
    case QMessageBox::Yes: return kAnswerYes;
    case QMessageBox::No: return kAnswerNo;
    default: return QtEffects::DefaultAnswer(flags);
  }
}

QUrl WebAddress(const Text& address) {
  QUrl url(ToQString(address).trimmed(), QUrl::TolerantMode);
  const QString scheme = url.scheme().toLower();
  if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
      url.host().isEmpty())
    return {};
  return url;
}

QtEffects::QtEffects(std::shared_ptr<ControlModel> ui) : ui_(std::move(ui)) {}

QtEffects::~QtEffects() {
  ReleaseWaiting();
  ClosePlayer();
}

bool QtEffects::OnWindowThread() const { return QThread::currentThread() == thread(); }

// ---- message boxes ----------------------------------------------------------------

int QtEffects::RunBox(const Text& text, int flags, const Text& title) {
  QMessageBox box;
  box.setWindowTitle(ToQString(title.empty() ? DefaultMessageTitle() : title));
  box.setTextFormat(Qt::PlainText);
  box.setText(DisplayText(text));
  box.setIcon(IconFor(flags));
  box.setStandardButtons(ButtonsFor(flags));
  NameButtons(box);
  box.setWindowModality(Qt::ApplicationModal);
  // Over the main window even when that one is kept on top.
  if (ui_ && ui_->AlwaysOnTop()) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  return AnswerForButton(clicked ? box.standardButton(clicked) : QMessageBox::NoButton, flags);
}

int QtEffects::ShowMessage(const Text& text, int flags, const Text& title) {
  if (OnWindowThread()) return RunBox(text, flags, title);
  auto box = std::make_shared<PendingBox>();
  box->flags = flags;
  {
    std::lock_guard lock(mutex_);
    if (released_) return DefaultAnswer(flags);
    waiting_.insert(box);
  }
  QMetaObject::invokeMethod(
      this,
      [this, box, text, flags, title] {
        {
          std::lock_guard lock(mutex_);
          if (box->done) return;  // released meanwhile
        }
        Answer(box, RunBox(text, flags, title));
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  answered_.wait(lock, [&] { return box->done; });
  waiting_.erase(box);
  return box->answer;
}

void QtEffects::Answer(const std::shared_ptr<PendingBox>& box, int answer) {
  {
    std::lock_guard lock(mutex_);
    if (box->done) return;
    box->done = true;
    box->answer = answer;
  }
  answered_.notify_all();
}

void QtEffects::ReleaseWaiting() {
  {
    std::lock_guard lock(mutex_);
    released_ = true;
    for (const auto& box : waiting_) {
      if (box->done) continue;
      box->done = true;
      box->answer = DefaultAnswer(box->flags);
    }
  }
  answered_.notify_all();
}

// ---- browser and player -------------------------------------------------------------

void QtEffects::OpenAddress(const Text& address) {
  QUrl url = WebAddress(address);
  if (url.isEmpty()) {
    std::fprintf(stderr, "yingzhou: not opening a non-web address\n");
    return;
  }
  if (OnWindowThread()) {
    QDesktopServices::openUrl(url);
  } else {
    QMetaObject::invokeMethod(this, [url] { QDesktopServices::openUrl(url); }, Qt::QueuedConnection);
  }
}

void QtEffects::ShowPlayer(const Text& address) {
  if (OnWindowThread()) {
    ShowPlayerHere(address);
  } else {
    QMetaObject::invokeMethod(this, [this, address] { ShowPlayerHere(address); }, Qt::QueuedConnection);
  }
}

void QtEffects::SetPlayerCaption(const Text& caption) {
  if (OnWindowThread()) {
    SetPlayerCaptionHere(caption);
  } else {
    QMetaObject::invokeMethod(this, [this, caption] { SetPlayerCaptionHere(caption); },
                              Qt::QueuedConnection);
  }
}

void QtEffects::ShowPlayerHere(const Text& address) {
  if (!player_) player_ = new PlayerWindow(ui_ && ui_->IsTicked("播放窗口置顶"));
  player_->show();
  player_->raise();
  player_->activateWindow();
  player_->Navigate(ToQString(address));
}

void QtEffects::SetPlayerCaptionHere(const Text& caption) {
  if (player_) player_->SetCaption(ToQString(caption));
}

void QtEffects::ClosePlayer() { delete player_.data(); }

// ---- program and event loop ---------------------------------------------------------

void QtEffects::EndProgram(int exitCode) {
  exitCode_ = exitCode;
  ended_ = true;
  if (OnWindowThread()) {
    QCoreApplication::exit(exitCode);  // nothing yet when the loop has not started
  } else {
    QMetaObject::invokeMethod(qApp, [exitCode] { QCoreApplication::exit(exitCode); },
                              Qt::QueuedConnection);
  }
}

void QtEffects::ProcessEvents() {
  if (OnWindowThread()) QCoreApplication::processEvents();
}

void QtEffects::RunBlocking(const std::function<void()>& work) {
  if (!OnWindowThread()) {
    work();
    return;
  }
  std::atomic<bool> done{false};
  QEventLoop loop;
  std::thread runner([&] {
    try {
      work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "yingzhou: request failed: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "yingzhou: request failed\n");
    }
    done = true;
    QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
  });
  if (!done) loop.exec();
  if (!done && stopRequests_) {
    // The loop ended first: the program is ending, so the request gives up.
    ReleaseWaiting();
    stopRequests_();
  }
  runner.join();
}

}  // namespace yz
