// Source sites of a series: the rows of 超级列表框2.
#pragma once

#include "controls/control_model.h"
#include "portal/context.h"
#include "portal/page_parsing.h"
#include "portal/selected_rows.h"

namespace yz {

// The part of a detail page that names a TV series' sites.
Text SeriesSiteBlock(const Text& page);

// Appends the site rows of `page` through `load`; returns the number of
// sites found (also when a newer load took the list).
int FillSiteList(ControlModel& ui, const ListLoad& load, SiteScope scope, const Text& page);

// The search-result path with its inputs already read and 超级列表框2 already
// taken by `load` (a category "2" or "4" row).
void RunSeriesSites(const Context& ctx, const ListLoad& load, const SearchResultRow& result);

}  // namespace yz
