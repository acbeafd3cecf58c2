#include "app/update_check.h"
namespace yz {
void StartupUpdateCheck(const Context&) {}
void MenuUpdateCheck(const Context&) {}
}  // namespace yz
