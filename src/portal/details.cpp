#include "portal/readers.h"
namespace yz {
void OnResultsPressed(const Context&) {}
void OnCataloguePressed(const Context&, const std::string&) {}
void LoadDetails(const Context&, const std::string&) {}
}  // namespace yz
