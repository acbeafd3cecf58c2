// A GBK to Unicode table built once from iconv, and the per-character UTF-8
// view of program text that the regex matcher runs on.
#include "text/gbk_utf8.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>

namespace yz::detail {
namespace {

constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLeads = 0xFE - kFirstLead + 1;
constexpr unsigned kFirstTrail = 0x40;
constexpr unsigned kTrails = 0xFE - kFirstTrail + 1;

using PairTable = std::array<char16_t, kLeads * kTrails>;

// Converts one two-byte input with `cd`; returns the bytes written to `out`
// (at most 8), or -1 when iconv refuses the input or leaves part of it.
int ConvertPair(iconv_t cd, unsigned char first, unsigned char second, unsigned char (&out)[8]) {
  char in[2] = {static_cast<char>(first), static_cast<char>(second)};
  char* src = in;
  std::size_t left = 2;
  char* dst = reinterpret_cast<char*>(out);
  std::size_t room = sizeof out;
  std::size_t r = iconv(cd, &src, &left, &dst, &room);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (r == static_cast<std::size_t>(-1) || left != 0) return -1;
  return static_cast<int>(sizeof out - room);
}

std::unique_ptr<PairTable> BuildTable() {
  auto table = std::make_unique<PairTable>();
  table->fill(0);
  iconv_t cd = iconv_open("UTF-16LE", "CP936");
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (unsigned lead = kFirstLead; lead <= 0xFE; ++lead) {
    for (unsigned trail = kFirstTrail; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      unsigned char out[8];
      // Exactly one UTF-16 unit from both bytes, or the pair is no character.
      if (ConvertPair(cd, lead, trail, out) != 2) continue;
      char16_t unit = static_cast<char16_t>(out[0] | (out[1] << 8));
      if (unit >= 0xD800 && unit <= 0xDFFF) continue;
      (*table)[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)] = unit;
    }
  }
  iconv_close(cd);
  return table;
}

const PairTable& Table() {
  static const std::unique_ptr<PairTable> table = BuildTable();
  return *table;
}

// Writes the UTF-8 form of a BMP code point; returns its length.
std::size_t WriteUtf8(char* out, char32_t cp) {
  if (cp < 0x80) {
    out[0] = static_cast<char>(cp);
    return 1;
  }
  if (cp < 0x800) {
    out[0] = static_cast<char>(0xC0 | (cp >> 6));
    out[1] = static_cast<char>(0x80 | (cp & 0x3F));
    return 2;
  }
  out[0] = static_cast<char>(0xE0 | (cp >> 12));
  out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
  out[2] = static_cast<char>(0x80 | (cp & 0x3F));
  return 3;
}

std::size_t Utf8Length(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3; }

// Encoder table from iconv, one entry per UTF-16 unit: 0 when GBK lacks it,
// a byte value below 0x100 for a single byte, else lead * 256 + trail.
using UnitTable = std::array<uint16_t, 0x10000>;

std::unique_ptr<UnitTable> BuildUnitTable() {
  auto table = std::make_unique<UnitTable>();
  table->fill(0);
  for (unsigned cp = 0; cp < 0x80; ++cp) (*table)[cp] = static_cast<uint16_t>(cp);
  iconv_t cd = iconv_open("CP936", "UTF-16LE");
  if (cd == reinterpret_cast<iconv_t>(-1)) return table;
  for (unsigned cp = 0x80; cp < 0x10000; ++cp) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    unsigned char out[8];
    int n = ConvertPair(cd, cp & 0xFF, cp >> 8, out);
    if (n == 1 && out[0] >= 0x80) (*table)[cp] = out[0];
    if (n == 2 && out[0] >= 0x81) (*table)[cp] = static_cast<uint16_t>(out[0] << 8 | out[1]);
  }
  iconv_close(cd);
  return table;
}

const UnitTable& Units() {
  static const std::unique_ptr<UnitTable> table = BuildUnitTable();
  return *table;
}

}  // namespace

char32_t GbkPairToUnicode(unsigned char lead, unsigned char trail) {
  if (lead < kFirstLead || lead > 0xFE || trail < kFirstTrail || trail > 0xFE) return 0;
  return Table()[(lead - kFirstLead) * kTrails + (trail - kFirstTrail)];
}

namespace {

// Length of the run of bytes below 0x80 at the start of `s`, eight at a time.
std::size_t AsciiRun(const char* s, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s + i, 8);
    if (word & 0x8080808080808080u) break;
  }
  while (i < n && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

}  // namespace

Utf8Subject::Utf8Subject(std::string_view text) : text_(text) {
  // At most three bytes per two-byte character, and three for a lone lead
  // byte at the end.
  utf8_.resize(text.size() + text.size() / 2 + 3);
  checkpoints_.reserve(utf8_.size() / kStride + 2);
  char* out = utf8_.data();
  std::size_t u = 0;  // bytes written
  std::size_t i = 0;
  while (i < text.size()) {
    // Pages are mostly ASCII: copy a run at once, its checkpoints by arithmetic.
    std::size_t run = AsciiRun(text.data() + i, text.size() - i);
    if (run > 0) {
      std::memcpy(out + u, text.data() + i, run);
      while (checkpoints_.size() * kStride < u + run) {
        std::size_t at = checkpoints_.size() * kStride;
        checkpoints_.push_back({at, i + (at - u)});
      }
      u += run;
      i += run;
      continue;
    }
    std::size_t u0 = u;
    std::size_t i0 = i;
    char32_t cp = 0;
    if (i + 1 < text.size())
      cp = GbkPairToUnicode(static_cast<unsigned char>(text[i]), static_cast<unsigned char>(text[i + 1]));
    u += WriteUtf8(out + u, cp ? cp : U'\uFFFD');
    i += 2;
    // Every stride boundary inside this character maps to its start.
    while (checkpoints_.size() * kStride < u) checkpoints_.push_back({u0, i0});
  }
  utf8_.resize(u);
  while (checkpoints_.size() * kStride <= utf8_.size()) checkpoints_.push_back({utf8_.size(), text.size()});
}

std::size_t Utf8Subject::TextOffset(std::size_t offset) const {
  if (offset >= utf8_.size()) return text_.size();
  Checkpoint c = checkpoints_[offset / kStride];
  std::size_t u = c.utf8;
  std::size_t t = c.text;
  while (u < offset) {
    auto b = static_cast<unsigned char>(utf8_[u]);
    u += Utf8Length(b);
    t += b < 0x80 ? 1 : 2;
  }
  return t < text_.size() ? t : text_.size();
}

std::string TextToUtf8Chars(std::string_view text) { return Utf8Subject(text).utf8(); }

}  // namespace yz::detail

namespace yz::detail {

int UnicodeToGbk(char16_t unit, char out[2]) {
  uint16_t v = Units()[unit];
  if (unit < 0x80) {
    out[0] = static_cast<char>(unit);
    return 1;
  }
  if (v == 0) return 0;
  if (v < 0x100) {
    out[0] = static_cast<char>(v);
    return 1;
  }
  out[0] = static_cast<char>(v >> 8);
  out[1] = static_cast<char>(v & 0xFF);
  return 2;
}

}  // namespace yz::detail
