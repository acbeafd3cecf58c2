// How the CLI writes list rows and texts: UTF-8, cells separated by a TAB,
// one line per row, with the characters that would break that layout escaped.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "text/text.h"

namespace yz::cli {

// A backslash becomes "\\", a tab "\t", a CR "\r" and a LF "\n"; any other
// control character is written as "\xHH" (C0, DEL) or "\u00HH" (C1).
std::string EscapeCell(std::string_view utf8);

// One program text as an escaped UTF-8 line.
void PrintLine(std::ostream& out, const Text& text);

// Every row, every column, column 0 first.
void PrintRows(std::ostream& out, const std::vector<std::vector<Text>>& rows);

}  // namespace yz::cli
