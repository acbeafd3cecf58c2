// The lists the series, movie and variety readers share, and the selected
// rows they start from, read once so that a click elsewhere meanwhile cannot
// mix the cells of two rows.
#pragma once

#include <string>

#include "controls/control_model.h"
#include "portal/context.h"

namespace yz {
namespace names {
inline const std::string kResults = "超级列表框1";
inline const std::string kSites = "超级列表框2";
inline const std::string kEpisodes = "超级列表框3";
inline const std::string kSources = "超级列表框4";
inline const std::string kHotSeries = "超级列表框_电视剧";
inline const std::string kNewMovies = "超级列表框_电影";
inline const std::string kHotVariety = "超级列表框_综艺";
inline const std::string kEpisodesLoading = "图片框_剧集";
inline const std::string kSeriesMarkerBox = "编辑框2";
}  // namespace names

// The selected row of 超级列表框1 (all empty when none is selected).
struct SearchResultRow {
  Text posterAddress;  // column 2
  Text detailAddress;  // column 3, a whole address
  Text category;       // column 4: "1", "2", "3", "4" or empty
  Text title;          // column 5
};
SearchResultRow SelectedSearchResult(const ControlModel& ui);

// The selected row of a catalogue list; its detail address is the portal base
// followed by the row's path.
struct CatalogueRow {
  Text posterAddress;  // column 1
  Text detailAddress;  // base + column 2
  Text title;          // column 3 (empty for the variety list)
};
CatalogueRow SelectedCatalogueRow(const ControlModel& ui, const std::string& list,
                                  const Addresses& addresses);

// Shows 超级列表框2 and 超级列表框3 and hides 超级列表框4 (series), or the
// other way round (movies and variety shows).
void ShowSeriesLists(ControlModel& ui, bool series);

}  // namespace yz
