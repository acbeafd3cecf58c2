// Program text: GBK (code page 936) bytes in a std::string. Positions count
// bytes and start at 1; searches step by whole characters, so an ASCII marker
// never matches at the trail byte of a two-byte character; case folding
// touches ASCII letters only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace yz {

using Text = std::string;   // GBK program text, no NUL inside
using Bytes = std::string;  // counted bytes that may hold NULs

// ---- marker cuts and replacement -------------------------------------------

// Text between the first `left` found from `start` and the next `right` after
// it; empty when either is missing. "#引号" in a marker stands for '"'.
Text TextBetween(const Text& text, const Text& left, const Text& right,
                 int start = 1, bool ignoreCase = false);

// Part before the first `marker` found from `start`; empty when the marker is
// missing or stands at the start.
Text TextBefore(const Text& text, const Text& marker, int start = 1,
                bool ignoreCase = false);

struct ReplacePair {
  Text find;
  Text replacement;
};

// Applies the pairs in sequence (the program passes up to five); a pair with
// an empty find text does nothing. `count` absent or negative = all
// occurrences, 0 = none; `start` below 1 = 1, bytes before it stay;
// case-insensitive unless `caseSensitive`.
Text ReplaceMany(const Text& text, std::optional<int> count, int start,
                 bool caseSensitive, const std::vector<ReplacePair>& pairs);
// The form every caller uses: all occurrences, from the start, ASCII case ignored.
Text ReplaceMany(const Text& text, const std::vector<ReplacePair>& pairs);

// Character-aware search: 1-based position of `needle` at or after `start`,
// or 0 when absent. An empty needle is found at `start` (the character start
// at or after it) while that lies inside the text.
std::size_t FindText(std::string_view text, std::string_view needle,
                     std::size_t start = 1, bool ignoreCase = false);

// ---- code-page conversion ----------------------------------------------------

// GBK -> UTF-16LE bytes, with a two-byte terminator unless dropTerminator.
Bytes TextToWide(const Text& text, bool dropTerminator = false);
// UTF-16LE bytes -> GBK, stopping at the first NUL unit; characters GBK lacks
// become '?'.
Text WideToText(const Bytes& wide);

// GBK <-> UTF-8 at the program's edges (window, terminal). Invalid input
// never stops a conversion: what cannot be converted becomes '?'.
Text Utf8ToText(std::string_view utf8);
std::string TextToUtf8(std::string_view text);

// Bytes in `charset` (any name iconv knows) -> GBK; nullopt when the charset
// is unknown.
std::optional<Text> CharsetToText(std::string_view bytes, const std::string& charset);

namespace literals {
// "中文"_gbk: a UTF-8 source literal as program text.
inline Text operator""_gbk(const char* s, std::size_t n) { return Utf8ToText({s, n}); }
}  // namespace literals

// ---- escape decoding ---------------------------------------------------------

// Reads the text as the body of a single-quoted script string literal
// (backslash escapes, "\uXXXX" read as "%uXXXX"), then decodes %XX and %uXXXX.
// CR LF pairs survive; a leading CR that starts no pair is dropped. Falls back
// to DecodePercentEscapes where no such literal could be formed (a bare LF, a
// lone CR, a trailing lone backslash) or the result is empty. Everything that
// is not an escape comes back byte for byte; decoded NULs are dropped.
Text UnescapeText(const Text& text);
// %uXXXX and %XX with well-formed hex digits decoded (a surrogate pair is one
// character; what GBK lacks becomes '?'); any other '%' stays.
Text DecodePercentEscapes(const Text& text);
// Up to 16 digits, rightmost kept; no character is rejected.
unsigned long long HexValue(std::string_view digits);

}  // namespace yz
