// Character-aware substring search over program text, shared by the marker
// cuts, the replacement helpers and the escape decoder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace yz::detail {

// Byte length of the character starting with byte `b`: 1 below 0x80, else 2.
inline std::size_t CharLength(unsigned char b) { return b < 0x80 ? 1 : 2; }

inline bool IsAsciiLetter(unsigned char b) {
  return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

// Lowers the single-byte letters of `text`; bytes of two-byte characters stay.
std::string FoldAsciiCase(std::string_view text);

// Finds `needle` in one text at character starts only. Queries must not go
// backwards (each `from` at or after the previous result), which keeps a run
// of searches over the same text linear.
class CharSearch {
 public:
  CharSearch(std::string_view text, std::string_view needle, bool ignoreCase);

  // 0-based offset of the first occurrence that begins at a character start at
  // or after byte `from`, or npos. The needle must not be empty.
  std::size_t Next(std::size_t from);

 private:
  // Moves boundary_ to the first character start at or after `target`.
  void AdvanceTo(std::size_t target);

  std::string_view text_;
  std::string_view needle_;
  std::string foldedText_;
  std::string foldedNeedle_;
  std::size_t boundary_ = 0;  // a character start, never beyond a query's result
};

// The marker token "#引号" (GBK), which stands for one double quote.
const std::string& QuoteToken();

// Every occurrence of `find` (exact case, non-empty) replaced by `replacement`.
std::string ReplaceAllExact(std::string_view text, std::string_view find,
                            std::string_view replacement);

}  // namespace yz::detail
