// Any bytes in, no undefined behaviour out (run it under the sanitizer build).
#include <gtest/gtest.h>

#include <random>
#include <thread>
#include <vector>

#include "text/regex_matcher.h"
#include "text/text.h"

namespace yz {
namespace {

// Random strings over the bytes that matter to these functions.
std::string RandomBytes(std::mt19937& rng, std::size_t maxLength) {
  static const unsigned char alphabet[] = {'\\', '%', 'u', 'U', 'x', '0', '4', 'e', 'F', 'a', 'b',
                                           '\r', '\n', '\'', '"', '#', '{', '$', '}', '|', '(',
                                           ')', '*', '?', '[', ']', '.', 0x00, 0x80, 0x81, 0xB5,
                                           0x5C, 0x7C, 0xD6, 0xD0, 0xA1, 0xAF, 0xFF, 0xFE};
  std::uniform_int_distribution<std::size_t> length(0, maxLength);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
  std::string s(length(rng), '\0');
  for (char& c : s) c = static_cast<char>(alphabet[pick(rng)]);
  return s;
}

TEST(Totality, AnyBytesGiveAResult) {
  std::mt19937 rng(20240601);
  for (int round = 0; round < 3000; ++round) {
    std::string text = RandomBytes(rng, 40);
    std::string a = RandomBytes(rng, 3);
    std::string b = RandomBytes(rng, 3);
    int start = static_cast<int>(rng() % 50) - 5;

    Text between = TextBetween(text, a, b, start, round % 2 == 0);
    EXPECT_LE(between.size(), text.size());
    if (!between.empty()) {
      EXPECT_NE(text.find(between), std::string::npos);
    }
    Text before = TextBefore(text, a, start, round % 3 == 0);
    EXPECT_EQ(text.compare(0, before.size(), before), 0);
    std::size_t found = FindText(text, a, 1 + rng() % 5);
    if (found) {
      EXPECT_EQ(text.compare(found - 1, a.size(), a), 0);
    }
    ReplaceMany(text, static_cast<int>(rng() % 4) - 1, start, round % 2, {{a, b}, {b, a}});

    WideToText(TextToWide(text));
    WideToText(text);
    TextToUtf8(text);
    Utf8ToText(text);
    CharsetToText(text, round % 2 ? "gb2312" : "utf-8");

    UnescapeText(text);
    DecodePercentEscapes(text);
    HexValue(text);

    RegexMatcher m;
    m.Create(a + b, text, round % 2, round % 3, round % 5 != 0, round % 7 == 0);
    for (int i = 0; i <= m.MatchCount() + 1; ++i) {
      int position = 0;
      Text match = m.MatchText(i, &position);
      if (!match.empty()) {
        EXPECT_EQ(text.compare(position, match.size(), match), 0);
      }
      m.SubMatchText(i, 1, &position);
    }
    m.ReplaceMatches(b + "$1$&$`$'$$$");
  }
}

// Worker threads call these at the same time, also for the very first time in
// a process (each test runs in a process of its own under CTest).
TEST(Totality, ConcurrentCallsShareNothing) {
  using namespace yz::literals;
  const Text page = "<a data-num=\\\"1\\\" href=\\\"\\/x\\/1.html\\\">\\u7b2c1\\u96c6<\\/a>\r\n"
                    "<a data-num=\\\"2\\\" href=\\\"\\/x\\/2.html\\\">%u7b2c2%u96c6<\\/a>\r\n";
  constexpr int kThreads = 4;
  std::vector<std::string> failures(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 200; ++round) {
        Text plain = UnescapeText(page);
        RegexMatcher m;
        m.Create("<a data-num=\"(.*?)\" href=\"(.*?)\">(.*?)</a>", plain);
        if (m.MatchCount() != 2 || m.SubMatchText(2, 2) != "/x/2.html" ||
            m.SubMatchText(2, 3) != "第2集"_gbk || WideToText(TextToWide(plain)) != plain) {
          failures[t] = plain;
          return;
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();
  for (const auto& failure : failures) EXPECT_EQ(failure, "");
}

}  // namespace
}  // namespace yz
