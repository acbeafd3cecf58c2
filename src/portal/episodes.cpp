#include "portal/readers.h"
namespace yz {
void OnSiteChosen(const Context&) {}
void LoadEpisodes(const Context&, EpisodeSource) {}
}  // namespace yz
