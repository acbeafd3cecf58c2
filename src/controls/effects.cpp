#include "controls/effects.h"

namespace yz {

Text DefaultMessageTitle() {
  using namespace literals;
  return "信息："_gbk;
}

int RecordingEffects::ShowMessage(const Text& text, int flags, const Text& title) {
  std::lock_guard lock(mutex_);
  messages_.push_back({text, flags, title.empty() ? DefaultMessageTitle() : title});
  if (!answers_.empty()) {
    int a = answers_.front();
    answers_.pop_front();
    return a;
  }
  return (flags & 0xF) == kMbYesNo ? kAnswerNo : kAnswerOk;
}

void RecordingEffects::OpenAddress(const Text& address) {
  std::lock_guard lock(mutex_);
  opened_.push_back(address);
}

void RecordingEffects::ShowPlayer(const Text& address) {
  std::lock_guard lock(mutex_);
  if (playerWindows_ == 0) playerWindows_ = 1;
  ++playerLoads_;
  playerAddress_ = address;
}

void RecordingEffects::SetPlayerCaption(const Text& caption) {
  std::lock_guard lock(mutex_);
  playerCaption_ = caption;
}

void RecordingEffects::EndProgram(int exitCode) {
  std::lock_guard lock(mutex_);
  ended_ = true;
  exitCode_ = exitCode;
}

void RecordingEffects::QueueAnswer(int answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

std::vector<RecordingEffects::Message> RecordingEffects::Messages() const {
  std::lock_guard lock(mutex_);
  return messages_;
}
std::vector<Text> RecordingEffects::OpenedAddresses() const {
  std::lock_guard lock(mutex_);
  return opened_;
}
Text RecordingEffects::PlayerAddress() const {
  std::lock_guard lock(mutex_);
  return playerAddress_;
}
Text RecordingEffects::PlayerCaption() const {
  std::lock_guard lock(mutex_);
  return playerCaption_;
}
int RecordingEffects::PlayerWindowsCreated() const {
  std::lock_guard lock(mutex_);
  return playerWindows_;
}
int RecordingEffects::PlayerLoads() const {
  std::lock_guard lock(mutex_);
  return playerLoads_;
}
bool RecordingEffects::Ended() const {
  std::lock_guard lock(mutex_);
  return ended_;
}
int RecordingEffects::ExitCode() const {
  std::lock_guard lock(mutex_);
  return exitCode_;
}

}  // namespace yz
