#include "cell_output.h"

namespace yz::cli {

std::string EscapeCell(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char c : utf8) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default: out += c;
    }
  }
  return out;
}

void PrintLine(std::ostream& out, const Text& text) {
  out << EscapeCell(TextToUtf8(text)) << '\n';
}

void PrintRows(std::ostream& out, const std::vector<std::vector<Text>>& rows) {
  for (const std::vector<Text>& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c > 0) out << '\t';
      out << EscapeCell(TextToUtf8(row[c]));
    }
    out << '\n';
  }
}

}  // namespace yz::cli
