// Program text as UTF-8 with one code point per GBK character, for the regex
// engine: offsets in the UTF-8 form map back to byte offsets in the text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace yz::detail {

// Code point of the two-byte GBK character lead+trail, or 0 when the pair is
// not a character.
char32_t GbkPairToUnicode(unsigned char lead, unsigned char trail);

// GBK text converted once, with a sparse map from UTF-8 offsets back to text
// offsets. Every character of the text (a byte below 0x80, or a lead byte with
// the byte after it) becomes exactly one code point; a pair that is not GBK, and
// a lead byte left alone at the end, become U+FFFD.
class Utf8Subject {
 public:
  explicit Utf8Subject(std::string_view text);

  const std::string& utf8() const { return utf8_; }
  // Text offset of the character that starts at UTF-8 offset `offset` (or of
  // the end when `offset` is the UTF-8 length).
  std::size_t TextOffset(std::size_t offset) const;

 private:
  struct Checkpoint {
    std::size_t utf8;
    std::size_t text;
  };
  static constexpr std::size_t kStride = 64;

  std::string_view text_;
  std::string utf8_;
  std::vector<Checkpoint> checkpoints_;  // [k]: last character start at or before k * kStride
};

// GBK text as UTF-8, one code point per character (as Utf8Subject).
std::string TextToUtf8Chars(std::string_view text);

}  // namespace yz::detail

namespace yz::detail {

// GBK bytes of one UTF-16 unit: one byte below 0x80 or for the few single-byte
// characters, else two; 0 bytes when GBK cannot hold it (surrogates included).
// Returns the number of bytes written to `out`.
int UnicodeToGbk(char16_t unit, char out[2]);

}  // namespace yz::detail
