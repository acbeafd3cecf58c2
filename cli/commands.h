// The commands of yingzhou-cli: each sets up the control layer the way the
// window would before its event, runs the real handler or worker, waits for
// the workers and prints what the list or labels then hold.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "portal/context.h"

namespace yz::cli {

inline constexpr int kExitUsage = 2;

// `words`: the command and its arguments (UTF-8), options already taken.
// Returns the exit code; a usage error is reported on `err` with kExitUsage.
int RunCommand(const std::vector<std::string>& words, const Addresses& addresses,
               std::ostream& out, std::ostream& err);

// What --help prints.
std::string HelpText();

}  // namespace yz::cli
