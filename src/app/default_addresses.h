// The compiled-in addresses, kept together here (set through CMake cache
// variables). --portal, --search-host and --notice override the first three.
#pragma once

#include "portal/context.h"

namespace yz {

Addresses DefaultAddresses();

}  // namespace yz
