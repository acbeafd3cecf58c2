#include "app/window_handlers.h"

#include "app/shell.h"

namespace yz {

void ShellHandlers::Search() { StartSearch(ctx_); }
void ShellHandlers::LinkPressed(int page) { OnLinkPressed(ctx_, page); }
void ShellHandlers::SearchBoxPressed() { OnSearchBoxPressed(ctx_); }
void ShellHandlers::HistoryClicked() { OnHistoryButtonClicked(ctx_); }
void ShellHandlers::CloseClicked() { OnCloseButtonClicked(ctx_); }
void ShellHandlers::MinimiseClicked() { OnMinimiseButtonClicked(ctx_); }
void ShellHandlers::MenuItemSelected(const std::string& caption) { OnMenuItemSelected(ctx_, caption); }
void ShellHandlers::ListPressed(const std::string& list) { OnListPressed(ctx_, list); }
void ShellHandlers::ListDoubleClicked(const std::string& list) { OnListDoubleClicked(ctx_, list); }
void ShellHandlers::InnerTabChanged(int index) { OnInnerTabChanged(ctx_, index); }

}  // namespace yz
