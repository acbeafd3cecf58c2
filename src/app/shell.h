// The main window's own handlers as plain functions over a Context: the Qt
// window, the terminal program and the tests all run the very same steps.
// Every handler here runs on the window thread.
#pragma once

#include <string>

#include "portal/context.h"

namespace yz {

// Sizes, the start-up ticks, then the start-up update check (which may end
// the program through ctx.effects).
void OnMainWindowCreated(const Context& ctx);

// The search button and Enter in 编辑框1: by play mode, a title search or
// playing the typed address; nothing when no mode is ticked.
void StartSearch(const Context& ctx);

// The three links over 选择夹1: page 0, 1 or 2.
void OnLinkPressed(const Context& ctx, int page);
// Every press in 编辑框1 empties it.
void OnSearchBoxPressed(const Context& ctx);
void OnHistoryButtonClicked(const Context& ctx);
void OnCloseButtonClicked(const Context& ctx);
void OnMinimiseButtonClicked(const Context& ctx);

// A menu item chosen, by caption. Unknown captions do nothing.
void OnMenuItemSelected(const Context& ctx, const std::string& caption);

// Left button pressed on a row of a list, and double-click on a row; the
// row is already selected in the control layer. Lists without a handler do
// nothing.
void OnListPressed(const Context& ctx, const std::string& list);
void OnListDoubleClicked(const Context& ctx, const std::string& list);

// The user turned 高级选择夹1 to `index`.
void OnInnerTabChanged(const Context& ctx, int index);

}  // namespace yz
