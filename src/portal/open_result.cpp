#include "controls/select_page.h"
#include "portal/movie_sources.h"
#include "portal/readers.h"
#include "portal/selected_rows.h"
#include "portal/source_sites.h"
#include "portal/variety_issues.h"

namespace yz {

void OpenSearchResult(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  // Emptied whatever the category; a site load still running is cut off.
  ListLoad sites = ui.BeginLoad(names::kSites);
  SearchResultRow result = SelectedSearchResult(ui);
  const Text& category = result.category;

  if (category == "2" || category == "4") {
    ShowSeriesLists(ui, true);
    SelectPage(ui, 1);
    ctx.workers->Start([ctx, sites, result] { RunSeriesSites(ctx, sites, result); });
  } else if (category == "3") {
    ShowSeriesLists(ui, false);
    SelectPage(ui, 1);
    ListLoad issues = ui.BeginLoad(names::kSources);
    Text address = result.detailAddress;
    ctx.workers->Start([ctx, issues, address] {
      RunVarietyIssues(ctx, issues, OpenedFrom::SearchResult, address);
    });
  } else if (category == "1") {
    ShowSeriesLists(ui, false);
    SelectPage(ui, 1);
    MovieSourceRequest request = ReadMovieSourceRequest(ui, ctx.addresses, OpenedFrom::SearchResult);
    ListLoad sources = ui.BeginLoad(names::kSources);
    ctx.workers->Start([ctx, sources, request] { RunMovieSources(ctx, sources, request); });
  }
}

}  // namespace yz
