// Code-page conversions over iconv. Conversion runs character by character on
// failure, so a character the target lacks (or an invalid source sequence)
// becomes '?' and the rest of the text still converts.
#include <iconv.h>

#include <cerrno>
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <optional>

#include "text/gbk_utf8.h"
#include "text/text.h"

namespace yz {
namespace {

// glibc unloads a conversion module soon after its last descriptor closes and
// loads it again on the next open, which costs about a millisecond each time.
// Descriptors that are opened once and never used keep the program's own
// conversions and the charsets the portal declares loaded.
void KeepModulesLoaded() {
  [[gnu::used]] static const std::array<iconv_t, 6> kept = [] {
    const char* pairs[][2] = {{"UTF-16LE", "CP936"}, {"CP936", "UTF-16LE"}, {"UTF-8", "CP936"},
                              {"CP936", "UTF-8"},    {"UTF-8", "GB2312"},   {"UTF-8", "GBK"}};
    std::array<iconv_t, 6> open{};
    for (std::size_t i = 0; i < open.size(); ++i) open[i] = iconv_open(pairs[i][0], pairs[i][1]);
    return open;
  }();
  (void)kept;
}

class Converter {
 public:
  Converter(const char* to, const char* from) {
    KeepModulesLoaded();
    cd_ = iconv_open(to, from);
  }
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // `unit` is the source's smallest step used to skip past what cannot be
  // converted: 1 for byte encodings, 2 for UTF-16, 0 for UTF-8 (whose lead
  // byte tells the sequence length).
  std::string Run(std::string_view in, std::size_t unit, std::string_view replacement) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 16);
    char buffer[4096];
    char* src = const_cast<char*>(in.data());
    std::size_t left = in.size();
    while (left > 0) {
      char* dst = buffer;
      std::size_t room = sizeof buffer;
      std::size_t r = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, dst - buffer);
      if (r != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL: replace one source step and go on.
      out.append(replacement);
      std::size_t skip = std::min(left, SkipLength(src, left, unit));
      src += skip;
      left -= skip;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    iconv(cd_, nullptr, nullptr, &dst, &room);
    out.append(buffer, dst - buffer);
    return out;
  }

  // How far a failed step skips: the whole sequence a UTF-8 lead byte
  // announces (cut at the first byte that does not continue it), else `unit`.
  static std::size_t SkipLength(const char* src, std::size_t left, std::size_t unit) {
    if (unit == 0) {
      auto b = static_cast<unsigned char>(src[0]);
      // UTF-8 lead bytes announce their length; anything else skips one byte.
      std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
      for (std::size_t i = 1; i < n; ++i) {
        if (i >= left || (static_cast<unsigned char>(src[i]) & 0xC0) != 0x80) return i;
      }
      return n;
    }
    return unit;
  }

 private:
  iconv_t cd_;
};

std::string Convert(std::string_view in, const char* to, const char* from, std::size_t unit,
                    std::string_view replacement) {
  if (in.empty()) return {};
  Converter c(to, from);
  if (!c.ok()) return {};
  return c.Run(in, unit, replacement);
}

// Length of a well-formed UTF-8 sequence at `s` for a code point from 0x80 up
// in the Basic Multilingual Plane outside the surrogates, with the code point
// in `cp`; 0 for anything else.
std::size_t BmpSequence(const unsigned char* s, std::size_t left, char32_t& cp) {
  unsigned char b = s[0];
  if (b >= 0xC2 && b <= 0xDF) {
    if (left < 2 || (s[1] & 0xC0) != 0x80) return 0;
    cp = static_cast<char32_t>((b & 0x1F) << 6 | (s[1] & 0x3F));
    return 2;
  }
  if (b >= 0xE0 && b <= 0xEF) {
    if (left < 3 || (s[1] & 0xC0) != 0x80 || (s[2] & 0xC0) != 0x80) return 0;
    cp = static_cast<char32_t>((b & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F));
    if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return 3;
  }
  return 0;
}

}  // namespace

Text Utf8ToText(std::string_view utf8) {
  // Pages are mostly ASCII, copied in runs, and characters GBK holds, taken
  // from the table built from iconv. Anything else (an invalid sequence, a
  // character beyond the BMP or one GBK lacks) goes through iconv one step at
  // a time, which gives what a whole-text iconv run gives.
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  Text out;
  out.reserve(n);
  std::optional<Converter> slow;  // opened at the first step it takes
  std::size_t i = 0;
  while (i < n) {
    std::size_t run = i;
    while (run < n && s[run] < 0x80) ++run;
    out.append(utf8.data() + i, run - i);
    i = run;
    if (i == n) break;
    char32_t cp = 0;
    char gbk[2];
    std::size_t length = BmpSequence(s + i, n - i, cp);
    int written = length ? detail::UnicodeToGbk(static_cast<char16_t>(cp), gbk) : 0;
    if (written > 0) {
      out.append(gbk, written);
      i += length;
      continue;
    }
    std::size_t step = std::max<std::size_t>(1, std::min(n - i, Converter::SkipLength(utf8.data() + i, n - i, 0)));
    if (!slow) slow.emplace("CP936", "UTF-8");
    out += slow->ok() ? slow->Run(utf8.substr(i, step), 0, "?") : "?";
    i += step;
  }
  return out;
}

std::string TextToUtf8(std::string_view text) {
  // A GBK lead byte with its trail byte missing or invalid becomes '?'.
  return Convert(text, "UTF-8", "CP936", 1, "?");
}

Bytes TextToWide(const Text& text, bool dropTerminator) {
  if (text.empty()) return {};
  Bytes wide = Convert(text, "UTF-16LE", "CP936", 1, std::string_view("?\0", 2));
  if (!dropTerminator) wide.append(2, '\0');
  return wide;
}

Text WideToText(const Bytes& wide) {
  std::size_t units = wide.size() / 2;
  std::size_t end = 0;
  while (end < units && (wide[2 * end] != '\0' || wide[2 * end + 1] != '\0')) ++end;
  Text text = Convert(std::string_view(wide.data(), end * 2), "CP936", "UTF-16LE", 2, "?");
  auto nul = text.find('\0');
  if (nul != Text::npos) text.resize(nul);
  return text;
}

std::optional<Text> CharsetToText(std::string_view bytes, const std::string& charset) {
  // Through UTF-8: glibc's direct conversion between two legacy charsets can
  // report a two-byte character at the very end as incomplete.
  Converter c("UTF-8", charset.c_str());
  if (!c.ok()) return std::nullopt;
  if (bytes.empty()) return Text{};
  std::string lower;
  for (char ch : charset) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (lower == "utf-8" || lower == "utf8") return Utf8ToText(bytes);
  return Utf8ToText(c.Run(bytes, 1, "?"));
}

}  // namespace yz
