#include "terminal_effects.h"

#include "cell_output.h"

namespace yz::cli {

int TerminalEffects::ShowMessage(const Text& text, int flags, const Text& title) {
  {
    std::lock_guard lock(mutex_);
    err_ << "message: " << EscapeCell(TextToUtf8(text)) << std::endl;
  }
  return RecordingEffects::ShowMessage(text, flags, title);
}

}  // namespace yz::cli
