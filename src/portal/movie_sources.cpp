#include "portal/readers.h"
namespace yz {
void OnNewMovieDoubleClicked(const Context&) {}
void LoadMovieSources(const Context&, OpenedFrom) {}
}  // namespace yz
