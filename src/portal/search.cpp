#include "portal/readers.h"
namespace yz {
void StartTitleSearch(const Context&) {}
void SearchShowsWorker(const Context&) {}
void SearchMoviesWorker(const Context&) {}
}  // namespace yz
