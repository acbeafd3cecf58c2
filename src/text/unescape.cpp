// Escape decoding. A direct decoder reads the text as the body of a
// single-quoted script string literal (backslash escapes), then applies the
// script's unescape (%XX, %uXXXX). Where such a literal could not be formed
// (a bare line feed, a carriage return that is not part of a CR LF pair, a
// trailing lone backslash) or the result is empty, DecodePercentEscapes takes
// over. Text that is not an escape is copied byte for byte, so quotes, "’",
// "{$}" and bytes that are not GBK come back exactly as they were.
#include <algorithm>
#include <cstdint>

#include "text/char_search.h"
#include "text/gbk_utf8.h"
#include "text/text.h"

namespace yz {
namespace {

// One element of a text being decoded: a UTF-16 unit made by an escape, or a
// character of the source copied as it stands (its byte offset in the source).
// The stages below pass elements on one by one, so a page is decoded in one
// pass with no copy beyond the result.
using Item = std::uint64_t;
constexpr Item kSourceFlag = Item{1} << 32;

Item Unit(unsigned unit) { return unit & 0xFFFF; }
Item Source(std::size_t offset) { return kSourceFlag | offset; }
bool IsSource(Item item) { return (item & kSourceFlag) != 0; }
std::size_t OffsetOf(Item item) { return static_cast<std::size_t>(item & 0xFFFFFFFF); }
char16_t UnitOf(Item item) { return static_cast<char16_t>(item & 0xFFFF); }

unsigned char ByteAt(std::string_view s, std::size_t i) {
  return i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
}

// The ASCII character an element stands for, or -1.
int AsciiOf(std::string_view s, Item item) {
  if (IsSource(item)) {
    unsigned char b = ByteAt(s, OffsetOf(item));
    return b < 0x80 ? b : -1;
  }
  return UnitOf(item) < 0x80 ? UnitOf(item) : -1;
}

int HexDigit(int c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsOctal(unsigned char c) { return c >= '0' && c <= '7'; }

// Every character of the source, copied.
class SourceChars {
 public:
  explicit SourceChars(std::string_view s) : s_(s) {}
  bool Next(Item& item) {
    if (i_ >= s_.size()) return false;
    item = Source(i_);
    i_ += detail::CharLength(ByteAt(s_, i_));
    return true;
  }

 private:
  std::string_view s_;
  std::size_t i_ = 0;
};

// The source read as the body of a single-quoted string literal. Stops with
// failed() set where such a literal could not be formed.
class LiteralChars {
 public:
  explicit LiteralChars(std::string_view s) : s_(s) {}
  bool Next(Item& item);
  bool failed() const { return failed_; }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }
  bool Pair(std::size_t at, Item& item) {  // a CR LF at `at`, passed on as it stands
    item = Source(at);
    pending_ = Source(at + 1);
    hasPending_ = true;
    return true;
  }

  std::string_view s_;
  std::size_t i_ = 0;
  Item pending_ = 0;
  bool hasPending_ = false;
  bool failed_ = false;
};

bool LiteralChars::Next(Item& item) {
  if (hasPending_) {
    hasPending_ = false;
    item = pending_;
    return true;
  }
  while (i_ < s_.size()) {
    unsigned char b = ByteAt(s_, i_);
    if (b >= 0x80) {
      item = Source(i_);
      i_ += 2;
      return true;
    }
    if (b == '\r' && ByteAt(s_, i_ + 1) == '\n') {  // CR LF survives
      i_ += 2;
      return Pair(i_ - 2, item);
    }
    if (b == '\r' || b == '\n') return Fail();
    if (b != '\\') {
      item = Source(i_++);
      return true;
    }
    if (i_ + 1 >= s_.size()) return Fail();  // the backslash would escape the closing quote
    unsigned char c = ByteAt(s_, i_ + 1);
    i_ += 2;
    switch (c) {
      case 'b': item = Unit(0x08); return true;
      case 'f': item = Unit(0x0C); return true;
      case 'n': item = Unit(0x0A); return true;
      case 'r': item = Unit(0x0D); return true;
      case 't': item = Unit(0x09); return true;
      case 'v': item = Unit(0x0B); return true;
      default: break;
    }
    if (c >= 0x80) {  // before a two-byte character: the character
      item = Source(i_ - 1);
      i_ += 1;
      return true;
    }
    if (c == '\r' && ByteAt(s_, i_) == '\n') {  // before a CR LF: the CR LF
      i_ += 1;
      return Pair(i_ - 2, item);
    }
    if (c == '\r' || c == '\n') continue;  // line continuation: nothing
    if (c == 'x' && HexDigit(ByteAt(s_, i_)) >= 0 && HexDigit(ByteAt(s_, i_ + 1)) >= 0) {
      item = Unit(HexDigit(ByteAt(s_, i_)) * 16 + HexDigit(ByteAt(s_, i_ + 1)));
      i_ += 2;
      return true;
    }
    if (IsOctal(c)) {
      // Legacy octal escape: up to three digits led by 0-3, two led by 4-7.
      unsigned value = c - '0';
      std::size_t more = c <= '3' ? 2 : 1;
      for (; more > 0 && IsOctal(ByteAt(s_, i_)); --more, ++i_) value = value * 8 + (ByteAt(s_, i_) - '0');
      item = Unit(value);
      return true;
    }
    item = Unit(c);  // any other character stands for itself
    return true;
  }
  return false;
}

// The elements of `In` with %XX and %uXXXX decoded; any other "%" stays.
template <typename In>
class Unescaped {
 public:
  Unescaped(In& in, std::string_view s) : in_(in), s_(s) {}

  bool Next(Item& item) {
    while (count_ < kWindow && in_.Next(window_[count_])) ++count_;
    if (count_ == 0) return false;
    if (AsciiOf(s_, window_[0]) == '%') {
      if (count_ >= 6 && AsciiOf(s_, window_[1]) == 'u' && Hex(2) >= 0 && Hex(3) >= 0 && Hex(4) >= 0 &&
          Hex(5) >= 0) {
        item = Unit(Hex(2) << 12 | Hex(3) << 8 | Hex(4) << 4 | Hex(5));
        Drop(6);
        return true;
      }
      if (count_ >= 3 && Hex(1) >= 0 && Hex(2) >= 0) {
        item = Unit(Hex(1) << 4 | Hex(2));
        Drop(3);
        return true;
      }
    }
    item = window_[0];
    Drop(1);
    return true;
  }

 private:
  static constexpr std::size_t kWindow = 6;
  int Hex(std::size_t k) const { return HexDigit(AsciiOf(s_, window_[k])); }
  void Drop(std::size_t n) {
    for (std::size_t k = n; k < count_; ++k) window_[k - n] = window_[k];
    count_ -= n;
  }

  In& in_;
  std::string_view s_;
  Item window_[kWindow] = {};
  std::size_t count_ = 0;
};

// Elements to GBK: source characters copied, decoded units converted (a
// surrogate pair is one character, which GBK lacks: "?"), decoded NULs dropped.
template <typename In>
Text Render(In& in, std::string_view s) {
  Text out;
  out.reserve(s.size());
  std::size_t runBegin = 0, runEnd = 0;  // source bytes not yet appended
  auto flush = [&] {
    out.append(s.substr(runBegin, runEnd - runBegin));
    runBegin = runEnd = 0;
  };
  Item item = 0;
  bool held = false;  // `item` was read ahead and still waits
  while (held || in.Next(item)) {
    held = false;
    if (IsSource(item)) {
      std::size_t at = OffsetOf(item);
      std::size_t end = std::min(s.size(), at + detail::CharLength(ByteAt(s, at)));
      if (runEnd != at || runEnd == runBegin) {
        flush();
        runBegin = at;
      }
      runEnd = end;
      continue;
    }
    flush();
    char16_t unit = UnitOf(item);
    if (unit == 0) continue;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      Item next = 0;
      if (in.Next(next)) {
        if (!IsSource(next) && UnitOf(next) >= 0xDC00 && UnitOf(next) <= 0xDFFF) {
          out += '?';  // one character beyond GBK
          continue;
        }
        item = next;
        held = true;
      }
      out += '?';
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
  flush();
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

constexpr std::size_t kLargestText = std::size_t{1} << 32;  // offsets fit an element

}  // namespace

Text UnescapeText(const Text& text) {
  if (text.size() >= kLargestText) return text;
  Text prepared = Prepare(text);
  LiteralChars literal(prepared);
  Unescaped<LiteralChars> decoder(literal, prepared);
  Text decoded = Render(decoder, prepared);
  if (!literal.failed() && !decoded.empty()) return decoded;
  return DecodePercentEscapes(prepared);
}

Text DecodePercentEscapes(const Text& text) {
  if (text.size() >= kLargestText) return text;
  SourceChars chars(text);
  Unescaped<SourceChars> decoder(chars, text);
  return Render(decoder, text);
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
