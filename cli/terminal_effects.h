// The effects of the terminal: a message box becomes a "message: TEXT" line
// on stderr and is answered at once (OK, or No for a Yes/No box); everything
// is also recorded.
#pragma once

#include <mutex>
#include <ostream>

#include "controls/effects.h"

namespace yz::cli {

class TerminalEffects : public RecordingEffects {
 public:
  explicit TerminalEffects(std::ostream& err) : err_(err) {}
  int ShowMessage(const Text& text, int flags, const Text& title) override;

 private:
  std::mutex mutex_;
  std::ostream& err_;
};

}  // namespace yz::cli
