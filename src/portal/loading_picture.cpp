#include "portal/loading_picture.h"

namespace yz {

void LoadingPicture::Show(ControlModel& ui, const ListLoad& load) {
  std::lock_guard lock(mutex_);
  owner_ = load.generation;
  ui.SetVisible(control_, true);
}

void LoadingPicture::Hide(ControlModel& ui, const ListLoad& load) {
  std::lock_guard lock(mutex_);
  if (owner_ != load.generation) return;
  owner_ = 0;
  ui.SetVisible(control_, false);
}

}  // namespace yz
