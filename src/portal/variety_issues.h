// Variety issues: the rows of 超级列表框4 for a variety show.
#pragma once

#include "controls/control_model.h"
#include "portal/context.h"
#include "portal/readers.h"

namespace yz {

// The worker with its detail address read and 超级列表框4 taken by `load`.
void RunVarietyIssues(const Context& ctx, const ListLoad& load, OpenedFrom from,
                      const Text& detailAddress);

// The detail address of the selected hot-variety row or search result.
Text VarietyDetailAddress(const ControlModel& ui, const Addresses& addresses, OpenedFrom from);

}  // namespace yz
