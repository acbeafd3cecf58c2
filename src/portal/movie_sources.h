// Movie sources: the rows of 超级列表框4 for a movie.
#pragma once

#include "controls/control_model.h"
#include "portal/context.h"
#include "portal/readers.h"

namespace yz {

// A source's name as listed: the link text without the paid mark "(付费)".
Text SourceName(const Text& linkText);

// What a movie-source load needs, read from the selected row at its start.
struct MovieSourceRequest {
  OpenedFrom from = OpenedFrom::CatalogueList;
  Text detailAddress;
  Text labelPrefix;  // column 1 before the source's name
};
MovieSourceRequest ReadMovieSourceRequest(const ControlModel& ui, const Addresses& addresses,
                                          OpenedFrom from);

// The worker with its inputs read and 超级列表框4 taken by `load`.
void RunMovieSources(const Context& ctx, const ListLoad& load, const MovieSourceRequest& request);

}  // namespace yz
