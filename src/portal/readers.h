// Entry points of the portal readers. Handlers run on the window thread and
// return at once unless noted; workers run on threads started through
// ctx.workers. Each worker reads the selected rows it needs from the control
// layer itself.
#pragma once

#include <string>

#include "portal/context.h"

namespace yz {

// ---- catalogue lists ----
// Tab change of 高级选择夹1: index 0, 1, 2 reloads that list on a worker.
void OnCatalogueTabChanged(const Context& ctx, int index);
void LoadHotSeriesList(const Context& ctx);
void LoadNewMoviesList(const Context& ctx);
void LoadHotVarietyList(const Context& ctx);

// ---- search ----
// The mode-one part of the search button: refuses empty text with a message,
// otherwise starts SearchShowsWorker.
void StartTitleSearch(const Context& ctx);
void SearchShowsWorker(const Context& ctx);
void SearchMoviesWorker(const Context& ctx);  // run by SearchShowsWorker

// ---- detail panel ----
// Left button pressed on 超级列表框1 (turns to page 0, then loads details).
void OnResultsPressed(const Context& ctx);
// Left button pressed on a catalogue list (超级列表框_电视剧 / _电影 / _综艺).
void OnCataloguePressed(const Context& ctx, const std::string& list);
void LoadDetails(const Context& ctx, const std::string& list);

// ---- source sites ----
// Double-click in 超级列表框_电视剧; runs on the window thread (its request
// goes through ctx.effects->RunBlocking).
void OpenHotSeries(const Context& ctx);
void LoadSeriesSites(const Context& ctx);
Text SiteDisplayName(const Text& siteCode);

// ---- episodes ----
enum class EpisodeSource { SearchCategory2, SearchCategory4, HotSeries };
void OnSiteChosen(const Context& ctx);  // double-click in 超级列表框2
void LoadEpisodes(const Context& ctx, EpisodeSource source);

// ---- movie sources and variety issues ----
enum class OpenedFrom { CatalogueList, SearchResult };
void OnNewMovieDoubleClicked(const Context& ctx);    // 超级列表框_电影
void LoadMovieSources(const Context& ctx, OpenedFrom from);
void OnHotVarietyDoubleClicked(const Context& ctx);  // 超级列表框_综艺
void LoadVarietyIssues(const Context& ctx, OpenedFrom from);

// ---- opening a search result ----
void OpenSearchResult(const Context& ctx);  // double-click in 超级列表框1

}  // namespace yz
