#include "portal/selected_rows.h"

namespace yz {

SearchResultRow SelectedSearchResult(const ControlModel& ui) {
  SearchResultRow row;
  row.posterAddress = ui.SelectedCell(names::kResults, 2);
  row.detailAddress = ui.SelectedCell(names::kResults, 3);
  row.category = ui.SelectedCell(names::kResults, 4);
  row.title = ui.SelectedCell(names::kResults, 5);
  return row;
}

CatalogueRow SelectedCatalogueRow(const ControlModel& ui, const std::string& list,
                                  const Addresses& addresses) {
  CatalogueRow row;
  row.posterAddress = ui.SelectedCell(list, 1);
  row.detailAddress = addresses.portalBase + ui.SelectedCell(list, 2);
  row.title = ui.SelectedCell(list, 3);
  return row;
}

void ShowSeriesLists(ControlModel& ui, bool series) {
  ui.SetVisible(names::kSites, series);
  ui.SetVisible(names::kEpisodes, series);
  ui.SetVisible(names::kSources, !series);
}

}  // namespace yz
