// Episode lists: the rows of 超级列表框3 for the chosen source site.
#pragma once

#include <optional>

#include "controls/control_model.h"
#include "portal/context.h"
#include "portal/readers.h"

namespace yz {

// The site code requested for a display name of 超级列表框2; nothing when
// the source has no request form for it.
std::optional<Text> SiteCodeFor(const Text& siteName, EpisodeSource source);

// The file name at the end of a detail address up to ".html" (exact case);
// empty without ".html".
Text SeriesId(const Text& detailAddress);

// What an episode load needs, read from the selected rows at its start.
struct EpisodeRequest {
  EpisodeSource source = EpisodeSource::SearchCategory2;
  Text detailAddress;
  Text title;
  Text siteName;  // column 1 of the selected 超级列表框2 row
};
EpisodeRequest ReadEpisodeRequest(const ControlModel& ui, const Addresses& addresses,
                                  EpisodeSource source);

// base + "/cover/switchsite?site=" + code + "&id=" + id + "&category=2" / "4".
Text EpisodePageAddress(const Text& portalBase, const Text& siteCode, const Text& seriesId,
                        EpisodeSource source);

// The worker with its inputs read and 超级列表框3 taken by `load`.
void RunEpisodeLoad(const Context& ctx, const ListLoad& load, const EpisodeRequest& request);

}  // namespace yz
