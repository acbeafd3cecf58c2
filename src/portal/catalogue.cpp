#include "portal/readers.h"
namespace yz {
void OnCatalogueTabChanged(const Context&, int) {}
void LoadHotSeriesList(const Context&) {}
void LoadNewMoviesList(const Context&) {}
void LoadHotVarietyList(const Context&) {}
}  // namespace yz
