#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <chrono>
#include <random>

#include "text/gbk_utf8.h"
#include "text/text.h"

namespace yz {
namespace {

using namespace yz::literals;

Bytes B(std::initializer_list<unsigned char> bytes) { return Bytes(bytes.begin(), bytes.end()); }

TEST(TextToWide, ConvertsWithOrWithoutTerminator) {
  EXPECT_EQ(TextToWide("ab"), B({0x61, 0, 0x62, 0, 0, 0}));
  EXPECT_EQ(TextToWide("ab", true), B({0x61, 0, 0x62, 0}));
  EXPECT_EQ(TextToWide(""), Bytes());
  EXPECT_EQ(TextToWide("中"_gbk, true), B({0x2D, 0x4E}));
  // A lead byte without its trail, and an invalid pair, become '?'.
  EXPECT_EQ(TextToWide("a\x81", true), B({0x61, 0, 0x3F, 0}));
}

TEST(WideToText, ConvertsUpToFirstNul) {
  struct Case {
    Bytes wide;
    Text expected;
  } cases[] = {
      {B({0x61, 0, 0x62, 0, 0, 0}), "ab"},
      {B({0x61, 0, 0x62, 0}), "ab"},
      {B({0x61, 0, 0x62}), "a"},                        // odd byte ignored
      {B({0x61, 0, 0, 0, 0x62, 0}), "a"},               // stops at a NUL unit
      {B({0x2D, 0x4E, 0x87, 0x65}), "中文"_gbk},
      {B({0x61, 0, 0x3D, 0xD8, 0x62, 0}), "a?b"},       // a lone surrogate
      {B({0xAC, 0x20, 0x41, 0}), WideToText(B({0xAC, 0x20})) + "A"},
      {B({0x0E, 0x01}), "?"},                           // a character GBK lacks
      {Bytes(), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(WideToText(c.wide), c.expected);
  EXPECT_EQ(WideToText(TextToWide("ab中文"_gbk)), "ab中文"_gbk);
}

TEST(Utf8AndCharsets, ConvertAtTheEdges) {
  EXPECT_EQ(TextToUtf8("中文"_gbk), "中文");
  EXPECT_EQ(Utf8ToText("a\xC3\x28" "b"), "a?(b");   // invalid UTF-8 does not stop it
  EXPECT_EQ(Utf8ToText("😀x"), "?x");               // beyond GBK
  EXPECT_EQ(CharsetToText("\xE4\xB8\xAD", "UTF-8"), "中"_gbk);
  // A two-byte character at the very end of a legacy charset survives.
  EXPECT_EQ(CharsetToText("\xD6\xD0", "gb2312"), "中"_gbk);
  EXPECT_EQ(CharsetToText("a\xA4\xA4", "big5"), "a中"_gbk);
  EXPECT_EQ(CharsetToText("\xE4\xB8\xAD\xFF", "utf-8"), "中?"_gbk);
  EXPECT_EQ(CharsetToText("abc", "no-such-charset"), std::nullopt);
}

// The matcher's view of a subject: one code point per character, and every
// character start of the UTF-8 form mapping back to its text offset. Runs of
// ASCII are converted in bulk, so mix them with pairs, invalid pairs and a
// lone lead byte across many checkpoint strides.
TEST(Utf8Subject, MapsEveryCharacterBack) {
  const std::string pieces[] = {"a", "<div class=\"x\">", "中"_gbk, "\x81\x20", "\xFF\xFF", "\x81"};
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::string text;
    for (int n = rng() % 80; n > 0; --n) text += pieces[rng() % 6];
    detail::Utf8Subject subject(text);
    std::string expected;
    std::vector<std::pair<std::size_t, std::size_t>> starts;  // UTF-8 offset, text offset
    for (std::size_t i = 0; i < text.size();) {
      starts.emplace_back(expected.size(), i);
      auto b = static_cast<unsigned char>(text[i]);
      if (b < 0x80) {
        expected += text[i++];
        continue;
      }
      char32_t cp = i + 1 < text.size() ? detail::GbkPairToUnicode(b, static_cast<unsigned char>(text[i + 1])) : 0;
      expected += cp ? TextToUtf8(text.substr(i, 2)) : "\xEF\xBF\xBD";
      i += 2;
    }
    ASSERT_EQ(subject.utf8(), expected);
    for (auto [u, t] : starts) ASSERT_EQ(subject.TextOffset(u), t) << round;
    EXPECT_EQ(subject.TextOffset(expected.size()), text.size());
  }
}

// The whole text through one iconv run, each failed step (the sequence its
// lead byte announces, cut at the first byte that does not continue it)
// written as '?'.
Text Utf8ToTextByIconv(const std::string& utf8) {
  iconv_t cd = iconv_open("CP936", "UTF-8");
  Text out;
  char* src = const_cast<char*>(utf8.data());
  std::size_t left = utf8.size();
  while (left > 0) {
    char buffer[256];
    char* dst = buffer;
    std::size_t room = sizeof buffer;
    std::size_t r = iconv(cd, &src, &left, &dst, &room);
    out.append(buffer, dst - buffer);
    if (r != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    out += '?';
    auto b = static_cast<unsigned char>(src[0]);
    std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1, skip = 1;
    while (skip < n && skip < left && (static_cast<unsigned char>(src[skip]) & 0xC0) == 0x80) ++skip;
    src += skip;
    left -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  iconv_close(cd);
  return out;
}

// Pages convert through a table where they can; the result must be what
// iconv gives, for valid text and for every kind of broken sequence.
TEST(Utf8ToText, AgreesWithIconv) {
  const std::string pieces[] = {"<a href=\"x\">", "中文", "é", "€", "\u3000", "😀", "\uFFFF",
                                "\xED\xA0\x80", "\xC0\x80", "\xE0\x80\x80", "\xE4\xB8",
                                "\x80", "\xC3", "\xF0\x9F", "\xFF", "\xF8\x88\x80\x80\x80", "\u0800", "\u07FF"};
  std::mt19937 rng(5);
  for (int round = 0; round < 2000; ++round) {
    std::string utf8;
    for (int n = rng() % 12; n > 0; --n) utf8 += pieces[rng() % std::size(pieces)];
    ASSERT_EQ(Utf8ToText(utf8), Utf8ToTextByIconv(utf8)) << utf8;
  }
  // Every character of the Basic Multilingual Plane, in pieces (iconv takes
  // long over a character it cannot write, and pieces keep it short).
  for (char32_t first = 0x80; first < 0x10000; first += 0x100) {
    std::string piece;
    for (char32_t cp = first; cp < first + 0x100; ++cp) {
      if (cp >= 0xD800 && cp <= 0xDFFF) continue;
      if (cp < 0x800) {
        piece += static_cast<char>(0xC0 | (cp >> 6));
      } else {
        piece += static_cast<char>(0xE0 | (cp >> 12));
        piece += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      }
      piece += static_cast<char>(0x80 | (cp & 0x3F));
    }
    ASSERT_EQ(Utf8ToText(piece), Utf8ToTextByIconv(piece)) << static_cast<unsigned>(first);
  }
}

// A page of characters GBK lacks converts in linear time: one iconv run over
// the whole text takes about 9 s for 1 MB of them.
TEST(Utf8ToText, CharactersGbkLacksStayCheap) {
  std::string emoji;
  while (emoji.size() < (1u << 20)) emoji += "😀";
  auto start = std::chrono::steady_clock::now();
  Text text = Utf8ToText(emoji);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(text, Text(emoji.size() / 4, '?'));
}

}  // namespace
}  // namespace yz
