// A loading picture that overlapping loads of one list share. The load that
// showed it last is the one that hides it: a load superseded by a newer load
// of the same kind leaves the picture to that one, while a load cut short by
// anything else (a new search, another series clearing the list) still hides
// it when it ends, so the picture never keeps spinning over an idle list.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>

#include "controls/control_model.h"

namespace yz {

class LoadingPicture {
 public:
  explicit LoadingPicture(std::string control) : control_(std::move(control)) {}

  void Show(ControlModel& ui, const ListLoad& load);
  // Hides the picture unless a later load has shown it since.
  void Hide(ControlModel& ui, const ListLoad& load);

 private:
  std::mutex mutex_;
  std::string control_;
  std::uint64_t owner_ = 0;  // generation of the load that showed it last
};

}  // namespace yz
