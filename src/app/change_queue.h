// Collects the control layer's change notifications, which arrive on any
// thread, and hands them to the window thread in bursts: one queued flush per
// burst, with each control's changes merged.
#pragma once

#include <QObject>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

#include "controls/control_model.h"

namespace yz {

// What changed on one control since the last flush.
struct PendingChanges {
  bool text = false, colour = false, picture = false, geometry = false, visibility = false,
       page = false, rows = false, cleared = false, selection = false;
  std::set<int> pictureRows;
};

struct ChangeBatch {
  std::map<std::string, PendingChanges> controls;
  std::set<std::string> ticks;
  bool window = false;
};

class ChangeQueue : public std::enable_shared_from_this<ChangeQueue> {
 public:
  // `flush` runs on `target`'s thread with everything collected so far.
  ChangeQueue(QObject* target, std::function<void(ChangeBatch)> flush);
  ~ChangeQueue();

  // Subscribes to `model`; call once. The listener keeps only a weak hold on
  // this queue.
  void Attach(ControlModel& model);
  // Stops listening and drops what is pending; no flush runs afterwards.
  void Detach();

  void Add(const Change& change);
  // Takes the pending batch now (on the target's thread).
  ChangeBatch Take();
  bool Attached() const;
  // A flush is posted and has not run yet.
  bool FlushPending() const;
  int FlushesPosted() const;

 private:
  void Post();  // with mutex_ held

  mutable std::mutex mutex_;
  QObject* target_;  // null once detached
  std::function<void(ChangeBatch)> flush_;
  ChangeBatch pending_;
  bool posted_ = false;
  int flushesPosted_ = 0;
  ControlModel* model_ = nullptr;
  int subscription_ = 0;
};

}  // namespace yz
