#include "portal/readers.h"
namespace yz {
void OpenHotSeries(const Context&) {}
void LoadSeriesSites(const Context&) {}
Text SiteDisplayName(const Text& code) { return code; }
}  // namespace yz
