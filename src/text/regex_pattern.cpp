#include "text/regex_pattern.h"

#include <cstring>

#include "text/char_search.h"
#include "text/gbk_utf8.h"

namespace yz::detail {
namespace {

// Letters with a meaning after a backslash in both dialects.
bool IsEscapeLetter(char c) { return c != '\0' && std::strchr("bBdDwWsStnvfrcxuk", c) != nullptr; }

bool IsClassEscape(char c) { return c != '\0' && std::strchr("dDwWsS", c) != nullptr; }

}  // namespace

std::string AdaptPattern(std::string_view p) {
  std::string out;
  out.reserve(p.size() + 8);
  bool inClass = false;
  bool classStart = false;       // just after "[" or "[^"
  bool afterClassEscape = false;  // the previous item in brackets was \d, \w, \s ...
  std::size_t i = 0;
  auto at = [&](std::size_t k) { return k < p.size() ? p[k] : '\0'; };
  while (i < p.size()) {
    auto b = static_cast<unsigned char>(p[i]);
    if (b >= 0x80) {
      out.append(p.substr(i, CharLength(b)));
      i += CharLength(b);
      classStart = afterClassEscape = false;
      continue;
    }
    char c = p[i];
    if (c == '\\') {
      char n = at(i + 1);
      if (n == '\0') {
        out += c;
        ++i;
        continue;
      }
      bool letter = IsAsciiLetter(static_cast<unsigned char>(n));
      if (letter && !IsEscapeLetter(n) && !(n == 'k' && at(i + 2) == '<')) {
        out += n;  // identity escape
      } else if (n == 'k' && at(i + 2) != '<') {
        out += 'k';
      } else if (static_cast<unsigned char>(n) >= 0x80) {
        out.append(p.substr(i + 1, CharLength(static_cast<unsigned char>(n))));
        i += CharLength(static_cast<unsigned char>(n)) + 1;
        classStart = afterClassEscape = false;
        continue;
      } else {
        out += c;
        out += n;
      }
      i += 2;
      afterClassEscape = inClass && IsClassEscape(n);
      classStart = false;
      continue;
    }
    if (!inClass) {
      if (c == '[') {
        inClass = true;
        classStart = true;
        out += c;
        ++i;
        if (at(i) == '^') {
          out += '^';
          ++i;
        }
        continue;
      }
      out += c;
      ++i;
      continue;
    }
    // Inside brackets.
    if (c == ']') {  // "[]" is an empty class, as in the engine's options
      inClass = false;
      out += c;
    } else if (c == '[') {
      out += "\\[";  // a plain bracket here, never the start of "[:alpha:]"
    } else if (c == '-' && !classStart && at(i + 1) != ']' &&
               (afterClassEscape || (at(i + 1) == '\\' && IsClassEscape(at(i + 2))))) {
      out += "\\-";
    } else {
      out += c;
    }
    classStart = false;
    afterClassEscape = false;
    ++i;
  }
  return TextToUtf8Chars(out);
}

}  // namespace yz::detail
