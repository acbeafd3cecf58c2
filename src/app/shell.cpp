#include "app/shell.h"

#include <array>
#include <span>

#include "app/update_check.h"
#include "controls/select_page.h"
#include "play/play.h"
#include "portal/readers.h"

namespace yz {
namespace {

const std::array<std::string, 2> kPlayModes = {"模式一(搜索名字)", "模式二(网址播放)"};
const std::array<std::string, 4> kPlayLines = {"默认", "线路1", "线路2", "线路3"};

bool Contains(std::span<const std::string> group, const std::string& caption) {
  for (const std::string& c : group) {
    if (c == caption) return true;
  }
  return false;
}

// Unticks the rest of the group, then inverts the chosen item: choosing the
// ticked item leaves the whole group unticked.
void ToggleInGroup(ControlModel& ui, std::span<const std::string> group, const std::string& chosen) {
  for (const std::string& c : group) {
    if (c != chosen) ui.SetTicked(c, false);
  }
  ui.SetTicked(chosen, !ui.IsTicked(chosen));
}

}  // namespace

void OnMainWindowCreated(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  ui.SetHeight("超级列表框3", 319);
  ui.SetHeight("超级列表框2", 319);
  ui.SetWindowHeight(398);
  ui.SetTop("选择夹1", 61);
  ui.SetHeight("选择夹1", 338);
  ui.SetTicked("默认", true);
  ui.SetTicked("模式一(搜索名字)", true);
  StartupUpdateCheck(ctx);
}

void StartSearch(const Context& ctx) {
  if (ctx.ui->IsTicked(kPlayModes[0])) {
    StartTitleSearch(ctx);
  } else if (ctx.ui->IsTicked(kPlayModes[1])) {
    PlayTypedAddress(ctx);
  }
}

void OnLinkPressed(const Context& ctx, int page) { SelectPage(*ctx.ui, page); }

void OnSearchBoxPressed(const Context& ctx) { ctx.ui->SetText("编辑框1", ""); }

void OnHistoryButtonClicked(const Context& ctx) {
  ctx.ui->SetVisible("超级列表框5", !ctx.ui->IsVisible("超级列表框5"));
}

void OnCloseButtonClicked(const Context& ctx) { ctx.effects->EndProgram(0); }

void OnMinimiseButtonClicked(const Context& ctx) { ctx.ui->SetMinimised(true); }

void OnMenuItemSelected(const Context& ctx, const std::string& caption) {
  ControlModel& ui = *ctx.ui;
  if (caption == "搜索窗口置顶") {
    // The tick and the window's always-on-top state stay equal.
    bool on = !ui.IsTicked(caption);
    ui.SetTicked(caption, on);
    ui.SetAlwaysOnTop(on);
  } else if (caption == "播放窗口置顶") {
    ui.SetTicked(caption, !ui.IsTicked(caption));
  } else if (Contains(kPlayModes, caption)) {
    ToggleInGroup(ui, kPlayModes, caption);
  } else if (Contains(kPlayLines, caption)) {
    ToggleInGroup(ui, kPlayLines, caption);
  } else if (caption == "检查更新") {
    MenuUpdateCheck(ctx);
  } else if (caption == "加入我们") {
    ctx.effects->OpenAddress(ctx.addresses.invitation);
  }
}

void OnListPressed(const Context& ctx, const std::string& list) {
  if (list == "超级列表框1") {
    OnResultsPressed(ctx);
  } else if (list == "超级列表框_电视剧" || list == "超级列表框_电影" || list == "超级列表框_综艺") {
    OnCataloguePressed(ctx, list);
  }
}

void OnListDoubleClicked(const Context& ctx, const std::string& list) {
  if (list == "超级列表框1") {
    OpenSearchResult(ctx);
  } else if (list == "超级列表框_电视剧") {
    OpenHotSeries(ctx);
  } else if (list == "超级列表框_电影") {
    OnNewMovieDoubleClicked(ctx);
  } else if (list == "超级列表框_综艺") {
    OnHotVarietyDoubleClicked(ctx);
  } else if (list == "超级列表框2") {
    OnSiteChosen(ctx);
  } else if (list == "超级列表框3") {
    PlayEpisode(ctx);
  } else if (list == "超级列表框4") {
    PlaySource(ctx);
  }
}

void OnInnerTabChanged(const Context& ctx, int index) {
  ctx.ui->SetCurrentPage("高级选择夹1", index);
  OnCatalogueTabChanged(ctx, index);
}

}  // namespace yz
