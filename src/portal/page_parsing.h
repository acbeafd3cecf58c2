// The parse step of each reader: page text in, the cells its list shows (or
// the label texts) out. No control layer, no network; any bytes are valid
// input, and a page the patterns do not fit gives no rows.
//
// A row's cell k belongs to column k of its list. Column 0 of 超级列表框1 to
// 超级列表框4 is never written and stays empty in the rows.
#pragma once

#include <optional>
#include <vector>

#include "portal/readers.h"
#include "text/text.h"

namespace yz {

using ListRows = std::vector<std::vector<Text>>;

// Writes cells[firstColumn..] of `cells` into `row`; false once the load is
// superseded.
bool WriteRowCells(ControlModel& ui, const ListLoad& load, int row,
                   const std::vector<Text>& cells, int firstColumn);

// ---- catalogue lists ----
enum class Catalogue { HotSeries, NewMovies, HotVariety };
inline constexpr int kCatalogueRows = 30;
// Always 30 rows, row n from item n of the page's item block; items the page
// lacks give rows of empty groups. Columns: 0 caption, 1 poster, 2 detail
// path, 3 title (no column 3 for the variety list).
ListRows ParseCataloguePage(Catalogue kind, const Text& page);

// ---- search results (超级列表框1) ----
enum class ResultKind { Shows, Movies };
inline constexpr int kResultPosterColumn = 2;
// One row per result of that kind, in page order. Columns: 1 caption,
// 2 poster, 3 detail address, 4 category, 5 title.
ListRows ParseSearchPage(ResultKind kind, const Text& page);

// ---- detail panel ----
enum class DetailProfile { CastToSites, CastToFold, Hosts, Director };
struct DetailLabels {
  Text names;     // 透明标签_演员
  Text synopsis;  // 透明标签_简介
};
// The labels from the profile's block of a detail page; with several matches
// the last one stands; nothing without a block or a match.
std::optional<DetailLabels> ParseDetailPage(DetailProfile profile, const Text& page);

// ---- source sites (超级列表框2) ----
enum class SiteScope { ServerDataBlock, WholePage };
// One row per site code found, column 1 its display name.
ListRows ParseSitePage(SiteScope scope, const Text& page);

// ---- episodes (超级列表框3) ----
// The episode page as fetched (escapes decoded here). Columns: 1 the title
// with the episode number, 2 the episode address as `source` keeps it.
ListRows ParseEpisodePage(const Text& page, const Text& title, EpisodeSource source);

// ---- movie sources and variety issues (超级列表框4) ----
// Columns: 1 labelPrefix + source name, 2 the source's address.
ListRows ParseMovieSourcePage(const Text& page, const Text& labelPrefix);
// The first year's issues. Columns: 1 hint + title, 2 the issue's address.
ListRows ParseVarietyIssuePage(const Text& page);

}  // namespace yz
