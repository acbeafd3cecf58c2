#include "app/change_queue.h"

#include <QMetaObject>

namespace yz {

ChangeQueue::ChangeQueue(QObject* target, std::function<void(ChangeBatch)> flush)
    : target_(target), flush_(std::move(flush)) {}

ChangeQueue::~ChangeQueue() { Detach(); }

void ChangeQueue::Attach(ControlModel& model) {
  std::weak_ptr<ChangeQueue> weak = weak_from_this();
  int id = model.Subscribe([weak](const Change& change) {
    if (auto queue = weak.lock()) queue->Add(change);
  });
  std::lock_guard lock(mutex_);
  model_ = &model;
  subscription_ = id;
}

void ChangeQueue::Detach() {
  ControlModel* model;
  int id;
  {
    std::lock_guard lock(mutex_);
    target_ = nullptr;
    pending_ = {};
    model = model_;
    id = subscription_;
    model_ = nullptr;
  }
  if (model) model->Unsubscribe(id);
}

void ChangeQueue::Add(const Change& change) {
  std::lock_guard lock(mutex_);
  if (!target_) return;
  if (change.kind == ChangeKind::Tick) {
    pending_.ticks.insert(change.control);
  } else if (change.kind == ChangeKind::Window) {
    pending_.window = true;
  } else {
    PendingChanges& c = pending_.controls[change.control];
    switch (change.kind) {
      case ChangeKind::Text: c.text = true; break;
      case ChangeKind::TextColour: c.colour = true; break;
      case ChangeKind::Picture: c.picture = true; break;
      case ChangeKind::Geometry: c.geometry = true; break;
      case ChangeKind::Visibility: c.visibility = true; break;
      case ChangeKind::Page: c.page = true; break;
      case ChangeKind::RowsCleared:
        c.cleared = c.rows = c.selection = true;
        c.pictureRows.clear();
        break;
      case ChangeKind::RowAppended:
      case ChangeKind::Cell: c.rows = true; break;
      case ChangeKind::RowPicture: c.pictureRows.insert(change.row); break;
      case ChangeKind::Selection: c.selection = true; break;
      case ChangeKind::Tick:
      case ChangeKind::Window: break;
    }
  }
  Post();
}

void ChangeQueue::Post() {
  if (posted_ || !target_) return;
  posted_ = true;
  ++flushesPosted_;
  std::weak_ptr<ChangeQueue> weak = weak_from_this();
  QMetaObject::invokeMethod(
      target_,
      [weak] {
        auto queue = weak.lock();
        if (!queue) return;
        ChangeBatch batch = queue->Take();
        if (queue->Attached() && queue->flush_) queue->flush_(std::move(batch));
      },
      Qt::QueuedConnection);
}

ChangeBatch ChangeQueue::Take() {
  std::lock_guard lock(mutex_);
  posted_ = false;
  ChangeBatch batch;
  std::swap(batch, pending_);
  return batch;
}

bool ChangeQueue::Attached() const {
  std::lock_guard lock(mutex_);
  return target_ != nullptr;
}

bool ChangeQueue::FlushPending() const {
  std::lock_guard lock(mutex_);
  return posted_;
}

int ChangeQueue::FlushesPosted() const {
  std::lock_guard lock(mutex_);
  return flushesPosted_;
}

}  // namespace yz
