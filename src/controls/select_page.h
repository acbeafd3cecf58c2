#pragma once

#include "controls/control_model.h"

namespace yz {

// Turns 选择夹1 to page 0 (视频信息), 1 (剧集) or 2 (推荐): moves the red bar
// under the page's link, makes the page current and colours the page's link
// red and the other two white.
void SelectPage(ControlModel& ui, int page);

}  // namespace yz
