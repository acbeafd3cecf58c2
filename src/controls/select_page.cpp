#include "controls/select_page.h"

#include <array>
#include <string>

namespace yz {

void SelectPage(ControlModel& ui, int page) {
  static const std::array<std::string, 3> links = {"超级链接框_视频信息", "超级链接框_剧集",
                                                   "超级链接框_推荐"};
  if (page < 0 || page > 2) return;
  ui.SetLeft("标签_滑块", ui.GetGeometry(links[page]).left);
  ui.SetCurrentPage("选择夹1", page);
  ui.SetTextColour(links[page], 0xFF0000);
  for (int i = 0; i < 3; ++i) {
    if (i != page) ui.SetTextColour(links[i], 0xFFFFFF);
  }
}

}  // namespace yz
