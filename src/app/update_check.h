// The version notice check, at start-up and from the menu.
#pragma once

#include "portal/context.h"

namespace yz {

// The notice page's fields; `fetched` is false when the page could not be
// requested.
struct UpdateNotice {
  bool fetched = false;
  Text latestVersion;
  Text downloadAddress;
  Text updateNotes;
};

UpdateNotice ReadUpdateNotice(const Context& ctx);

// Runs on the window thread before the window is used; may end the program
// through ctx.effects->EndProgram.
void StartupUpdateCheck(const Context& ctx);
void MenuUpdateCheck(const Context& ctx);

}  // namespace yz
