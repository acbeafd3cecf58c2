// Texts from pages reach the terminal of yingzhou-cli without their control
// characters: an escape sequence in a title is shown, not obeyed.
#include <gtest/gtest.h>

#include "cell_output.h"

namespace yz::testing {
namespace {

TEST(TerminalOutput, ControlCharactersAreShownNotSent) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x1B]0;owned\x07title", "\\x1B]0;owned\\x07title"},
      {"\x1B[2J\x1B[31mred", "\\x1B[2J\\x1B[31mred"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x7F\x08", "\\x7F\\x08"},
      {"\xC2\x9B" "31m", "\\u009B31m"},  // C1 CSI
      {"\xC2\xA0\xE4\xB8\xAD", "\xC2\xA0\xE4\xB8\xAD"},  // no-break space and 中 stay
      {"tab\there\r\nline\\", "tab\\there\\r\\nline\\\\"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(cli::EscapeCell(in), out);
}

}  // namespace
}  // namespace yz::testing
