// Play requests and the history list.
#pragma once

#include <string>

#include "portal/context.h"

namespace yz {

// Prefix of a play line ("默认", "线路1", "线路2", "线路3"); empty for others.
Text LinePrefix(const Addresses& addresses, const std::string& line);

void PlayEpisode(const Context& ctx);       // double-click in 超级列表框3
void PlaySource(const Context& ctx);        // double-click in 超级列表框4
void PlayTypedAddress(const Context& ctx);  // search button in play mode two
void AddHistoryRow(const Context& ctx, const std::string& list);

}  // namespace yz
