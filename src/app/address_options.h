// --portal BASE, --search-host BASE, --notice URL and --lines BASE (the host
// of all four play lines, for a local demo), shared by the window program and
// the CLI. Nothing else is read from the command line.
#pragma once

#include <string>
#include <vector>

#include "portal/context.h"

namespace yz {

// Removes the address options it recognises from `args` (UTF-8), applying
// them to `addresses`. Returns false with `error` set on a missing or bad
// value (a BASE must start with http:// or https://).
bool TakeAddressOptions(std::vector<std::string>& args, Addresses& addresses, std::string& error);

}  // namespace yz
