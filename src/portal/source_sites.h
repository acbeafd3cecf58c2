// Source sites of a series: the rows of 超级列表框2.
#pragma once

#include "controls/control_model.h"
#include "portal/context.h"
#include "portal/selected_rows.h"
#include "text/regex_matcher.h"

namespace yz {

// The part of a detail page that names a TV series' sites.
Text SeriesSiteBlock(const Text& page);

// Runs the site pattern over `text` and appends one row per match (column 1
// the display name) through `load`; returns the number of matches.
int FillSiteList(ControlModel& ui, const ListLoad& load, RegexMatcher& matcher, const Text& text);

// The search-result path with its inputs already read and 超级列表框2 already
// taken by `load` (a category "2" or "4" row).
void RunSeriesSites(const Context& ctx, const ListLoad& load, const SearchResultRow& result);

}  // namespace yz
