#include <gtest/gtest.h>

#include <random>

#include "text/text.h"

namespace yz {
namespace {

using namespace yz::literals;

// Two-byte characters whose trail byte is an ASCII marker byte.
const Text kTrailBackslash = "\xB5\x5C";  // trail byte 0x5C '\'
const Text kTrailBar = "\x81\x7C";        // trail byte 0x7C '|'

TEST(TextBetween, CutsBetweenMarkers) {
  struct Case {
    Text text, left, right, expected;
  } cases[] = {
      {"<b>x</b>", "<b>", "</b>", "x"},
      {"<a href=\"u\">", "href=#引号"_gbk, "#引号"_gbk, "u"},
      {"a=\"1\"", "a=#引号"_gbk, "#引号"_gbk, "1"},
      {"no markers", "<b>", "</b>", ""},
      {"<b>x", "<b>", "</b>", ""},           // right marker missing
      {"</b>x<b>", "<b>", "</b>", ""},       // right marker only before the left
      {"<b></b>", "<b>", "</b>", ""},        // markers touch
      {"abc]", "", "]", "abc"},              // empty left marker: found at 1
      {"[abc]", "[", "", ""},                // empty right marker
      {"", "", "x", ""},
      {"中文<b>字</b>"_gbk, "<b>", "</b>", "字"_gbk},
      // The marker bytes inside a character are not the marker.
      {"[" + kTrailBar + "|x|", "|", "|", "x"},
      {kTrailBackslash + "\\q\\", "\\", "\\", "q"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected) << c.text;
}

TEST(TextBetween, StartAndCase) {
  EXPECT_EQ(TextBetween("<B>x</B><b>y</b>", "<b>", "</b>"), "y");
  EXPECT_EQ(TextBetween("<B>x</B><b>y</b>", "<b>", "</b>", 1, true), "x");
  EXPECT_EQ(TextBetween("<b>x</b><b>y</b>", "<b>", "</b>", 2), "y");
  EXPECT_EQ(TextBetween("<b>x</b>", "<b>", "</b>", 0), "x");
  EXPECT_EQ(TextBetween("<b>x</b>", "<b>", "</b>", 99), "");
  // Letters inside two-byte characters are not folded: 0xB5 0x61 is one character.
  EXPECT_EQ(TextBetween("\xB5\x61[\x41]", "\x41", "]", 1, true), "");
}

TEST(FindText, CharacterAware) {
  struct Case {
    Text text, needle;
    std::size_t start;
    bool ignoreCase;
    std::size_t expected;
  } cases[] = {
      {"abcabc", "c", 1, false, 3},
      {"abcabc", "c", 4, false, 6},
      {"abcabc", "C", 1, false, 0},
      {"abcabc", "C", 1, true, 3},
      {kTrailBackslash + "\\", "\\", 1, false, 3},
      {kTrailBar + kTrailBar + "|", "|", 1, false, 5},
      {"\x81\x61" "A", "a", 1, true, 3},      // trail byte 'a' is not the letter
      {"\x81\x7C\x7C", "\x7C\x7C", 1, false, 0},  // straddles a character
      {"abc", "", 2, false, 2},
      {"", "", 1, false, 0},
      {"abc", "c", 4, false, 0},
      {"ab\x81", "\x81", 1, false, 3},        // lone lead byte at the end
      {std::string("a\0b", 3), "b", 1, false, 3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FindText(c.text, c.needle, c.start, c.ignoreCase), c.expected) << c.text << " / " << c.needle;
}

// The search skips ahead to a nearby character start instead of walking
// from the text's start; it must agree with that walk everywhere, also after
// long runs of high bytes whose pairing decides what a trail byte is.
TEST(FindText, AgreesWithAWalkFromTheStart) {
  auto reference = [](const Text& text, const Text& needle, std::size_t start) -> std::size_t {
    for (std::size_t i = 0; i < text.size(); i += (static_cast<unsigned char>(text[i]) < 0x80 ? 1 : 2)) {
      if (i + 1 >= start && text.compare(i, needle.size(), needle) == 0) return i + 1;
    }
    return 0;
  };
  const char alphabet[] = {'\x81', '\xB0', 'A', '<', 'a'};
  std::mt19937 rng(7);
  for (int round = 0; round < 20000; ++round) {
    Text text(rng() % 24, ' '), needle(1 + rng() % 2, ' ');
    for (char& c : text) c = alphabet[rng() % sizeof alphabet];
    for (char& c : needle) c = alphabet[2 + rng() % 3];
    std::size_t start = 1 + rng() % 25;
    ASSERT_EQ(FindText(text, needle, start), reference(text, needle, start)) << text << " / " << needle;
  }
}

TEST(TextBefore, CutsBeforeMarker) {
  EXPECT_EQ(TextBefore("a.html?x", "?"), "a.html");
  EXPECT_EQ(TextBefore("a.html?x", ".html"), "a");
  EXPECT_EQ(TextBefore("a.html?x", "#"), "");
  EXPECT_EQ(TextBefore("?x", "?"), "");
  EXPECT_EQ(TextBefore("a?b?c", "?", 3), "a?b");
  EXPECT_EQ(TextBefore("a?b?c", "?", -5), "a");
  EXPECT_EQ(TextBefore("A.HTML", ".html", 1, true), "A");
  EXPECT_EQ(TextBefore(kTrailBackslash + "\\x", "\\"), kTrailBackslash);
}

TEST(ReplaceMany, PairsRunInSequence) {
  EXPECT_EQ(ReplaceMany("qq and QQ", {{"qq", "X"}}), "X and X");
  EXPECT_EQ(ReplaceMany("a", {{"a", "b"}, {"b", "c"}}), "c");
  EXPECT_EQ(ReplaceMany("aXa", {{"", "z"}, {"a", "-"}, {"", ""}, {"x", "+"}, {"-", "="}}), "=+=");
  // Replacement text is not searched again by its own pair.
  EXPECT_EQ(ReplaceMany("aa", {{"a", "aa"}}), "aaaa");
  EXPECT_EQ(ReplaceMany("aaa", {{"aa", "b"}}), "ba");
  EXPECT_EQ(ReplaceMany(kTrailBackslash + "\\", {{"\\", "/"}}), kTrailBackslash + "/");
  EXPECT_EQ(ReplaceMany("中文"_gbk, {{"文"_gbk, "字"_gbk}}), "中字"_gbk);
}

TEST(ReplaceMany, CountStartAndCase) {
  struct Case {
    std::optional<int> count;
    int start;
    bool caseSensitive;
    Text expected;
  } cases[] = {
      {std::nullopt, 0, false, "XXXX"},
      {std::nullopt, 1, true, "XAXA"},
      {2, 1, false, "XXaA"},
      {0, 1, false, "aAaA"},
      {-1, 1, false, "XXXX"},
      {std::nullopt, 3, false, "aAXX"},
      {1, 2, true, "aAXA"},
      {std::nullopt, 5, false, "aAaA"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReplaceMany("aAaA", c.count, c.start, c.caseSensitive, {{"a", "X"}}), c.expected)
        << c.start << " " << c.caseSensitive;
}

}  // namespace
}  // namespace yz
