// The effects of the window program: real message boxes, the default web
// browser, the one player window, ending the program and a window that keeps
// painting while the window thread waits on the network.
#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <set>

#include "controls/control_model.h"
#include "controls/effects.h"
#include "play/player_window.h"

namespace yz {

class QtEffects : public QObject, public Effects {
  Q_OBJECT
 public:
  // Lives on the window thread; `ui` gives the "播放窗口置顶" tick.
  explicit QtEffects(std::shared_ptr<ControlModel> ui);
  ~QtEffects() override;

  // On the window thread the box runs at once; from a worker it is shown on
  // the window thread and only that worker waits for the answer.
  int ShowMessage(const Text& text, int flags, const Text& title) override;
  // Only http and https addresses are handed to the default browser.
  void OpenAddress(const Text& address) override;
  void ShowPlayer(const Text& address) override;
  void SetPlayerCaption(const Text& caption) override;
  // Ends the event loop with `exitCode`; before the loop runs it is only
  // recorded (EndRequested) and the program returns it without showing.
  void EndProgram(int exitCode) override;
  void ProcessEvents() override;
  void RunBlocking(const std::function<void()>& work) override;

  bool EndRequested() const { return ended_; }
  int ExitCode() const { return exitCode_; }

  // At shutdown: answers every box a worker waits on with its default
  // answer, and every later box at once, so that the workers can be joined.
  void ReleaseWaiting();
  // Run when the program ends while RunBlocking waits on its work: it should
  // make requests in flight give up (the workers' stop flag).
  void SetStopRequests(std::function<void()> stop) { stopRequests_ = std::move(stop); }
  // The player window, while one is open.
  PlayerWindow* Player() const { return player_.data(); }
  // Closes the player window (at exit).
  void ClosePlayer();

  // The answer a box gives when closed without a button, or released.
  static int DefaultAnswer(int flags);

 private:
  struct PendingBox {
    int flags = 0;
    bool done = false;
    int answer = 0;
  };

  bool OnWindowThread() const;
  int RunBox(const Text& text, int flags, const Text& title);
  void Answer(const std::shared_ptr<PendingBox>& box, int answer);
  void ShowPlayerHere(const Text& address);
  void SetPlayerCaptionHere(const Text& caption);

  std::shared_ptr<ControlModel> ui_;
  QPointer<PlayerWindow> player_;

  std::mutex mutex_;
  std::condition_variable answered_;
  std::set<std::shared_ptr<PendingBox>> waiting_;
  bool released_ = false;

  std::atomic<bool> ended_{false};
  std::atomic<int> exitCode_{0};
  std::function<void()> stopRequests_;
};

// The 0-based answer for a QMessageBox::StandardButton (the default answer
// for none).
int AnswerForButton(int standardButton, int flags);
// `address` as an http or https address; an empty QUrl for anything else.
QUrl WebAddress(const Text& address);

}  // namespace yz
