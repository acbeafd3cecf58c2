// Escape decoding. A direct decoder reads the text as the body of a
// single-quoted script string literal (backslash escapes), then applies the
// script's unescape (%XX, %uXXXX). Where such a literal could not be formed
// (a bare line feed, a carriage return that is not part of a CR LF pair, a
// trailing lone backslash) or the result is empty, DecodePercentEscapes takes
// over. Text that is not an escape is copied byte for byte, so quotes, "’",
// "{$}" and bytes that are not GBK come back exactly as they were.
#include <cstdint>
#include <optional>
#include <vector>

#include "text/char_search.h"
#include "text/gbk_utf8.h"
#include "text/text.h"

namespace yz {
namespace {

// One element of a text being decoded: a UTF-16 unit made by an escape, or a
// character of the source copied as it stands (its byte offset in the source).
using Item = std::uint64_t;
constexpr Item kSourceFlag = Item{1} << 32;

Item Unit(unsigned unit) { return unit & 0xFFFF; }
Item Source(std::size_t offset) { return kSourceFlag | offset; }
bool IsSource(Item item) { return (item & kSourceFlag) != 0; }

class Decoder {
 public:
  explicit Decoder(std::string_view source) : s_(source) {}

  // Every character of the source, copied.
  std::vector<Item> Copy() const {
    std::vector<Item> items;
    items.reserve(s_.size());
    for (std::size_t i = 0; i < s_.size(); i += detail::CharLength(Byte(i))) items.push_back(Source(i));
    return items;
  }

  // The source read as a single-quoted string literal; nullopt when it could
  // not be one.
  std::optional<std::vector<Item>> ReadLiteral() const;

  // %XX and %uXXXX decoded; any other "%" stays.
  std::vector<Item> Unescape(const std::vector<Item>& in) const;

  // Items to GBK: decoded units converted (a surrogate pair is one character,
  // which GBK lacks: "?"), decoded NULs dropped, source characters copied.
  Text Render(const std::vector<Item>& items) const;

 private:
  unsigned char Byte(std::size_t i) const { return i < s_.size() ? static_cast<unsigned char>(s_[i]) : 0; }
  bool Has(std::size_t i) const { return i < s_.size(); }
  // The ASCII byte an item stands for, or -1.
  int Ascii(Item item) const {
    if (!IsSource(item)) return (item & 0xFFFF) < 0x80 ? static_cast<int>(item & 0xFFFF) : -1;
    unsigned char b = Byte(item & 0xFFFFFFFF);
    return b < 0x80 ? b : -1;
  }

  std::string_view s_;
};

int HexDigit(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsOctal(unsigned char c) { return c >= '0' && c <= '7'; }

std::optional<std::vector<Item>> Decoder::ReadLiteral() const {
  std::vector<Item> out;
  out.reserve(s_.size());
  std::size_t i = 0;
  while (i < s_.size()) {
    unsigned char b = Byte(i);
    if (b >= 0x80) {
      out.push_back(Source(i));
      i += 2;
      continue;
    }
    if (b == '\r' && Byte(i + 1) == '\n') {  // CR LF survives
      out.push_back(Source(i));
      out.push_back(Source(i + 1));
      i += 2;
      continue;
    }
    if (b == '\r' || b == '\n') return std::nullopt;
    if (b != '\\') {
      out.push_back(Source(i));
      ++i;
      continue;
    }
    if (!Has(i + 1)) return std::nullopt;  // the backslash would escape the closing quote
    unsigned char c = Byte(i + 1);
    i += 2;
    switch (c) {
      case 'b': out.push_back(Unit(0x08)); continue;
      case 'f': out.push_back(Unit(0x0C)); continue;
      case 'n': out.push_back(Unit(0x0A)); continue;
      case 'r': out.push_back(Unit(0x0D)); continue;
      case 't': out.push_back(Unit(0x09)); continue;
      case 'v': out.push_back(Unit(0x0B)); continue;
      default: break;
    }
    if (c >= 0x80) {  // backslash before a two-byte character: the character
      out.push_back(Source(i - 1));
      i += 1;
    } else if (c == '\r' && Byte(i) == '\n') {  // before a CR LF: the CR LF
      out.push_back(Source(i - 1));
      out.push_back(Source(i));
      i += 1;
    } else if (c == '\r' || c == '\n') {
      // Line continuation: nothing.
    } else if (c == 'x' && HexDigit(Byte(i)) >= 0 && HexDigit(Byte(i + 1)) >= 0) {
      out.push_back(Unit(HexDigit(Byte(i)) * 16 + HexDigit(Byte(i + 1))));
      i += 2;
    } else if (IsOctal(c)) {
      // Legacy octal escape: up to three digits from 0-3, two from 4-7.
      unsigned value = c - '0';
      std::size_t maxMore = c <= '3' ? 2 : 1;
      for (std::size_t k = 0; k < maxMore && IsOctal(Byte(i)); ++k, ++i) value = value * 8 + (Byte(i) - '0');
      out.push_back(Unit(value));
    } else {
      out.push_back(Unit(c));  // any other character stands for itself
    }
  }
  return out;
}

std::vector<Item> Decoder::Unescape(const std::vector<Item>& in) const {
  std::vector<Item> out;
  out.reserve(in.size());
  auto hex = [&](std::size_t k) { return k < in.size() ? HexDigit(Ascii(in[k])) : -1; };
  for (std::size_t k = 0; k < in.size(); ++k) {
    if (Ascii(in[k]) != '%') {
      out.push_back(in[k]);
      continue;
    }
    if (k + 5 < in.size() && Ascii(in[k + 1]) == 'u' && hex(k + 2) >= 0 && hex(k + 3) >= 0 &&
        hex(k + 4) >= 0 && hex(k + 5) >= 0) {
      out.push_back(Unit(hex(k + 2) << 12 | hex(k + 3) << 8 | hex(k + 4) << 4 | hex(k + 5)));
      k += 5;
    } else if (hex(k + 1) >= 0 && hex(k + 2) >= 0) {
      out.push_back(Unit(hex(k + 1) << 4 | hex(k + 2)));
      k += 2;
    } else {
      out.push_back(in[k]);
    }
  }
  return out;
}

Text Decoder::Render(const std::vector<Item>& items) const {
  Text out;
  out.reserve(items.size() + items.size() / 2);
  for (std::size_t k = 0; k < items.size(); ++k) {
    Item item = items[k];
    if (IsSource(item)) {
      std::size_t at = item & 0xFFFFFFFF;
      out.append(s_.substr(at, detail::CharLength(Byte(at))));
      continue;
    }
    auto unit = static_cast<char16_t>(item & 0xFFFF);
    if (unit == 0) continue;
    if (unit >= 0xD800 && unit <= 0xDBFF && k + 1 < items.size() && !IsSource(items[k + 1]) &&
        (items[k + 1] & 0xFFFF) >= 0xDC00 && (items[k + 1] & 0xFFFF) <= 0xDFFF) {
      out += '?';  // one character beyond GBK
      ++k;
      continue;
    }
    char bytes[2];
    int n = detail::UnicodeToGbk(unit, bytes);
    if (n == 0) {
      out += '?';
    } else {
      out.append(bytes, n);
    }
  }
  return out;
}

// The text as the decoder reads it: a leading carriage return that does not
// start a CR LF pair is dropped, and "\u" escapes are read as "%u".
Text Prepare(const Text& text) {
  std::string_view v = text;
  if (v.size() >= 1 && v[0] == '\r' && !(v.size() >= 2 && v[1] == '\n')) v.remove_prefix(1);
  if (v.find("\\u") == std::string_view::npos) return Text(v);
  return detail::ReplaceAllExact(v, "\\u", "%u");
}

}  // namespace

Text UnescapeText(const Text& text) {
  if (text.size() >= (std::size_t{1} << 32)) return text;
  Text prepared = Prepare(text);
  Decoder decoder(prepared);
  if (auto literal = decoder.ReadLiteral()) {
    Text decoded = decoder.Render(decoder.Unescape(*literal));
    if (!decoded.empty()) return decoded;
  }
  return DecodePercentEscapes(prepared);
}

Text DecodePercentEscapes(const Text& text) {
  if (text.size() >= (std::size_t{1} << 32)) return text;
  Decoder decoder(text);
  return decoder.Render(decoder.Unescape(decoder.Copy()));
}

unsigned long long HexValue(std::string_view digits) {
  // Left-padded with "0" to 16 characters, the rightmost 16 kept; every byte
  // counts as a digit by its distance from '0', 'A' or 'a'.
  std::string padded(16, '0');
  std::size_t n = std::min<std::size_t>(digits.size(), 16);
  padded.replace(16 - n, n, digits.substr(digits.size() - n));
  auto half = [&](std::size_t from) {
    std::uint32_t value = 0;
    for (std::size_t k = from; k < from + 8; ++k) {
      auto b = static_cast<unsigned char>(padded[k]);
      std::uint32_t digit = b >= 'a' ? b - 87u : b >= 'A' ? b - 55u : b - 48u;
      value = value * 16 + digit;
    }
    return value;
  };
  return static_cast<unsigned long long>(half(0)) << 32 | half(8);
}

}  // namespace yz
