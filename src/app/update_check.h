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

// A notice names a new version only when it was read, names a version, and
// that version differs byte for byte from our own (the text of 标签1).
enum class UpdateVerdict { Unknown, Current, NewVersion };
UpdateVerdict JudgeNotice(const Context& ctx, const UpdateNotice& notice);

// Runs on the window thread before the window is used; may end the program
// through ctx.effects->EndProgram.
void StartupUpdateCheck(const Context& ctx);
void MenuUpdateCheck(const Context& ctx);

}  // namespace yz
