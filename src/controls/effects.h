// What a handler may ask of the world beyond the controls: a message box, the
// default web browser, the player window, ending the program, letting the
// window process pending events. The window, the terminal and the tests each
// implement it.
#pragma once

#include <mutex>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "text/text.h"

namespace yz {

// Message-box flags and answers (0-based button index).
inline constexpr int kMbOk = 0;
inline constexpr int kMbYesNo = 4;
inline constexpr int kMbIconInformation = 64;
inline constexpr int kAnswerOk = 0;
inline constexpr int kAnswerCancel = 1;
inline constexpr int kAnswerYes = 5;
inline constexpr int kAnswerNo = 6;

class Effects {
 public:
  virtual ~Effects() = default;
  // Blocks only the caller until answered; returns the 0-based answer.
  // An empty title shows as "信息：".
  virtual int ShowMessage(const Text& text, int flags, const Text& title) = 0;
  virtual void OpenAddress(const Text& address) = 0;
  // Loads the one player window (creating it when none is open) and points
  // its browser at `address`.
  virtual void ShowPlayer(const Text& address) = 0;
  virtual void SetPlayerCaption(const Text& caption) = 0;
  virtual void EndProgram(int exitCode) = 0;
  virtual void ProcessEvents() = 0;
  // Runs `work`, which waits on the network, for a handler of the window
  // thread; the window keeps painting meanwhile. Elsewhere it simply runs it.
  virtual void RunBlocking(const std::function<void()>& work) { work(); }
};

// The default message-box title, as program text.
Text DefaultMessageTitle();

// Records every effect and answers message boxes from a script (or with OK,
// and No for Yes/No boxes, when the script is empty). For the CLI and tests.
class RecordingEffects : public Effects {
 public:
  struct Message {
    Text text;
    int flags;
    Text title;
  };

  int ShowMessage(const Text& text, int flags, const Text& title) override;
  void OpenAddress(const Text& address) override;
  void ShowPlayer(const Text& address) override;
  void SetPlayerCaption(const Text& caption) override;
  void EndProgram(int exitCode) override;
  void ProcessEvents() override {}

  void QueueAnswer(int answer);

  std::vector<Message> Messages() const;
  std::vector<Text> OpenedAddresses() const;
  Text PlayerAddress() const;
  Text PlayerCaption() const;
  int PlayerWindowsCreated() const;  // 0 or 1 while the player stays open
  int PlayerLoads() const;
  bool Ended() const;
  int ExitCode() const;

 private:
  mutable std::mutex mutex_;
  std::deque<int> answers_;
  std::vector<Message> messages_;
  std::vector<Text> opened_;
  Text playerAddress_, playerCaption_;
  int playerWindows_ = 0, playerLoads_ = 0;
  bool ended_ = false;
  int exitCode_ = 0;
};

}  // namespace yz
