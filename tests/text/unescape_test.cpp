#include <gtest/gtest.h>

#include "text/text.h"

namespace yz {
namespace {

using namespace yz::literals;

TEST(UnescapeText, DecodesEscapes) {
  struct Case {
    Text in, expected;
  } cases[] = {
      {"\\u4e2d\\u6587", "中文"_gbk},
      {"%u4e2d%u6587", "中文"_gbk},
      {"%u4E2D-\\u6587", "中-文"_gbk},
      {"%41%42", "AB"},
      {"100%", "100%"},
      {"%zz and %u12 and %", "%zz and %u12 and %"},
      {"%E9", "é"_gbk},                                      // a Latin-1 character
      {"%A9|%u00A9", "?|?"},                                // one GBK lacks
      {"%uD83D%uDE00!", "?!"},                              // a surrogate pair: one character
      {"%uD83D!", "?!"},                                     // a lone surrogate
      {"{\\\"url\\\":\\\"http:\\/\\/a\\/b\\\"}", "{\"url\":\"http://a/b\"}"},
      {"a\\\\b", "a\\b"},
      {"\\x41\\x4a\\xZ1", "AJxZ1"},
      {"\\t\\n\\r\\b\\v\\f", "\t\n\r\b\v\f"},
      {"\\101\\60\\08", "A08"},                              // octal; the NUL is dropped
      {"\\q\\%41", "qA"},                                    // escapes, then unescape
      {"\\x25u4e2d", "中"_gbk},
      {"a%00b", "ab"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeText(c.in), c.expected) << c.in;
}

TEST(UnescapeText, QuotesAndPlaceholdersSurvive) {
  struct Case {
    Text in, expected;
  } cases[] = {
      {"it's", "it's"},
      {"it\\'s", "it's"},
      {"it’s"_gbk, "it’s"_gbk},
      {"a{$}b", "a{$}b"},
      {"a{$}b\r\nc’%u4e2d"_gbk, "a{$}b\r\nc’中"_gbk},
      {"%u2019", "’"_gbk},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeText(c.in), c.expected) << c.in;
}

TEST(UnescapeText, LineBreaks) {
  struct Case {
    Text in, expected;
  } cases[] = {
      {"a\r\nb\\u0041\r\n", "a\r\nbA\r\n"},            // CR LF survives
      {"\r\nx", "\r\nx"},
      {"\rx\\x41", "xA"},                               // a first-byte CR is dropped
      {"\r\r\nx", "\r\nx"},
      {"a\\\r\nb", "a\r\nb"},                           // backslash before CR LF
      {"a\\\nb", "ab"},                                 // line continuation
      // No literal possible: percent escapes only, backslash sequences stay.
      {"a\n\\\"%41\\u0042", "a\n\\\"AB"},  // "\\u" is still read as "%u"
      {"a\rb\\t%41", "a\rb\\tA"},
      {"x\\\"%41\\", "x\\\"A\\"},                       // trailing lone backslash
      {"x\\\\", "x\\"},                                 // an escaped backslash is fine
      {"\\0", "\\0"},                                   // decodes to nothing: fallback
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeText(c.in), c.expected) << c.in;
}

TEST(UnescapeText, GbkTrailBytesAreNotEscapes) {
  const Text trailBackslash = "\xB5\x5C";  // trail byte 0x5C '\'
  EXPECT_EQ(UnescapeText(trailBackslash + "u0041"), trailBackslash + "u0041");
  EXPECT_EQ(UnescapeText(trailBackslash + "\\\"x"), trailBackslash + "\"x");
  EXPECT_EQ(UnescapeText(trailBackslash), trailBackslash);
  EXPECT_EQ(UnescapeText("\\" + trailBackslash + "n"), trailBackslash + "n");
  // Bytes that are not GBK are copied as they are.
  EXPECT_EQ(UnescapeText("\xFF\xFF%41\x81"), "\xFF\xFF" "A\x81");
  EXPECT_EQ(UnescapeText(std::string("a\0b%41", 6)), std::string("a\0bA", 4));
}

TEST(DecodePercentEscapes, DecodesOnlyWellFormedEscapes) {
  struct Case {
    Text in, expected;
  } cases[] = {
      {"%41%42", "AB"},
      {"%u0041%u4e2d", "A中"_gbk},
      {"%u00e9", "é"_gbk},
      {"%uffe5", "￥"_gbk},
      {"%zz%u12zz%", "%zz%u12zz%"},
      {"%u%4", "%u%4"},
      {"\\u0041\\\"", "\\u0041\\\""},
      {"中%20文"_gbk, "中 文"_gbk},
      {"%uD83D%uDE00", "?"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodePercentEscapes(c.in), c.expected) << c.in;
}

TEST(HexValue, ReadsDigitsAsSpecified) {
  struct Case {
    std::string digits;
    unsigned long long expected;
  } cases[] = {
      {"0", 0},
      {"ff", 0xFF},
      {"4E2d", 0x4E2D},
      {"", 0},
      {"123456789abcdef0", 0x123456789ABCDEF0ull},
      {"f123456789abcdef0", 0x123456789ABCDEF0ull},  // only the rightmost 16 count
      {"FFFFFFFFFFFFFFFF", 0xFFFFFFFFFFFFFFFFull},
      {"g", 16},                                        // no character is rejected
  };
  for (const Case& c : cases) EXPECT_EQ(HexValue(c.digits), c.expected) << c.digits;
}

}  // namespace
}  // namespace yz
