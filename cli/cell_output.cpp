#include "cell_output.h"

namespace yz::cli {

namespace {

void AppendHex(std::string& out, const char* prefix, unsigned value) {
  static const char kHex[] = "0123456789ABCDEF";
  out += prefix;
  out += kHex[(value >> 4) & 0xF];
  out += kHex[value & 0xF];
}

}  // namespace

std::string EscapeCell(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    const auto b = static_cast<unsigned char>(c);
    switch (c) {
      case '\\': out += "\\\\"; continue;
      case '\t': out += "\\t"; continue;
      case '\r': out += "\\r"; continue;
      case '\n': out += "\\n"; continue;
      default: break;
    }
    // Other controls from a page (ESC sequences above all) would drive the
    // terminal: they are shown, not sent.
    if (b < 0x20 || b == 0x7F) {
      AppendHex(out, "\\x", b);
    } else if (b == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      AppendHex(out, "\\u00", static_cast<unsigned char>(utf8[++i]));  // C1 controls
    } else {
      out += c;
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
