#include "app/update_check.h"
namespace yz {
UpdateNotice ReadUpdateNotice(const Context&) { return {}; }
void StartupUpdateCheck(const Context&) {}
void MenuUpdateCheck(const Context&) {}
}  // namespace yz
