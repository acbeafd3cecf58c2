#include <gtest/gtest.h>

#include <chrono>

#include "text/regex_matcher.h"

namespace yz {
namespace {

using namespace yz::literals;

// Time bounds of the speed tests; sanitizer builds run many times slower.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr int kSlowdown = 20;
#else
constexpr int kSlowdown = 1;
#endif

TEST(RegexMatcher, FindsAllMatchesIgnoringCase) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("<b>(.*?)</b>", "<B>one</B> and <b>two</b> <B>三</b>"_gbk));
  EXPECT_EQ(m.MatchCount(), 3);
  EXPECT_EQ(m.SubMatchCount(), 1);
  EXPECT_EQ(m.SubMatchText(2, 1), "two");
  EXPECT_EQ(m.SubMatchText(3, 1), "三"_gbk);
  EXPECT_EQ(m.MatchText(1), "<B>one</B>");
  EXPECT_EQ(m.CurrentPattern(), "<b>(.*?)</b>");
}

TEST(RegexMatcher, OutOfRangeAndAbsentGroupsAreEmpty) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("a(b)?c", "ac abc"));
  ASSERT_EQ(m.MatchCount(), 2);
  int pos = 7;
  EXPECT_EQ(m.SubMatchText(1, 1, &pos), "");
  EXPECT_EQ(pos, -1);
  EXPECT_EQ(m.SubMatchText(2, 1, &pos), "b");
  EXPECT_EQ(pos, 4);
  for (auto [match, group] : {std::pair{0, 1}, {5, 1}, {1, 0}, {1, 2}, {-1, -1}, {3, 1}})
    EXPECT_EQ(m.SubMatchText(match, group), "") << match << "," << group;
  EXPECT_EQ(m.MatchText(3), "");
  EXPECT_EQ(m.MatchText(0), "");
}

TEST(RegexMatcher, NothingBeforeCreateAndAfterRejectedPattern) {
  RegexMatcher m;
  EXPECT_EQ(m.MatchCount(), 0);
  EXPECT_EQ(m.SubMatchText(1, 1), "");
  EXPECT_EQ(m.CurrentPattern(), "");
  EXPECT_EQ(m.ReplaceMatches("x"), "");
  ASSERT_TRUE(m.Create("(a)", "a"));
  EXPECT_FALSE(m.Create("(unclosed", "unclosed"));
  EXPECT_EQ(m.MatchCount(), 0);
  EXPECT_EQ(m.SubMatchCount(), 0);
  EXPECT_EQ(m.MatchText(1), "");
  EXPECT_EQ(m.CurrentPattern(), "(unclosed");
}

TEST(RegexMatcher, DotStopsAtLineBreaks) {
  struct Case {
    Text pattern, subject;
    int matches;
    Text group;
  } cases[] = {
      {"a(.*?)b", "a\nb", 0, ""},
      {"a(.*?)b", "a\rb", 0, ""},
      {"a(.*?)b", "a\r\nb", 0, ""},
      {"a([\\s\\S]*?)b", "a\nb", 1, "\n"},
      {"a([\\s\\S]*?)b", "a\r\nb", 1, "\r\n"},
      {"^x(.)$", "x1\r\nx2\nx3\rx4", 4, "1"},
  };
  for (const Case& c : cases) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create(c.pattern, c.subject)) << c.pattern;
    EXPECT_EQ(m.MatchCount(), c.matches) << c.pattern;
    EXPECT_EQ(m.SubMatchText(1, 1), c.group) << c.pattern;
  }
}

TEST(RegexMatcher, OptionsAndQuoteToken) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("a", "aAa", true));
  EXPECT_EQ(m.MatchCount(), 2);
  ASSERT_TRUE(m.Create("a", "aAa", false, true, false));
  EXPECT_EQ(m.MatchCount(), 1);
  ASSERT_TRUE(m.Create("^b", "a\nb", false, false));
  EXPECT_EQ(m.MatchCount(), 0);
  ASSERT_TRUE(m.Create("^b", "a\nb"));
  EXPECT_EQ(m.MatchCount(), 1);

  const Text subject = "<a href=\"x\">1</a><a href=\"y\">2</a>";
  RegexMatcher plain, token;
  ASSERT_TRUE(plain.Create("href=\"(.*?)\"", subject));
  ASSERT_TRUE(token.Create("href=#引号(.*?)#引号"_gbk, subject, false, true, true, true));
  EXPECT_EQ(token.CurrentPattern(), "href=\"(.*?)\"");
  ASSERT_EQ(token.MatchCount(), plain.MatchCount());
  EXPECT_EQ(token.SubMatchText(2, 1), "y");
  // Without the flag the token is matched literally.
  ASSERT_TRUE(token.Create("=#引号"_gbk, subject));
  EXPECT_EQ(token.MatchCount(), 0);
}

TEST(RegexMatcher, SecondCreateReplacesFirstAndCopiesKeepTheirs) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("(\\d)", "1 2 3"));
  RegexMatcher copy = m;
  ASSERT_TRUE(m.Create("([a-z]+)", "xy"));
  EXPECT_EQ(m.MatchCount(), 1);
  EXPECT_EQ(m.SubMatchText(1, 1), "xy");
  EXPECT_EQ(m.SubMatchText(2, 1), "");
  EXPECT_EQ(copy.MatchCount(), 3);
  EXPECT_EQ(copy.SubMatchText(3, 1), "3");
  EXPECT_EQ(copy.ReplaceMatches("<$1>"), "<1> <2> <3>");
}

TEST(RegexMatcher, GbkCharacterIsOneCharacter) {
  RegexMatcher m;
  // Trail bytes equal to '\' and '|' belong to their character.
  const Text subject = Text("\xB5\x5C|\x81\x7C|") + "中文"_gbk;
  ASSERT_TRUE(m.Create("(.)\\|", subject));
  ASSERT_EQ(m.MatchCount(), 2);
  EXPECT_EQ(m.SubMatchText(1, 1), "\xB5\x5C");
  EXPECT_EQ(m.SubMatchText(2, 1), "\x81\x7C");
  ASSERT_TRUE(m.Create("\\\\", subject));
  EXPECT_EQ(m.MatchCount(), 0);
  ASSERT_TRUE(m.Create("^.{2}\\|.{2}$", "中文|AB"_gbk));
  EXPECT_EQ(m.MatchCount(), 1);
  // \w and \d stay ASCII.
  ASSERT_TRUE(m.Create("\\w+", "ab中文1_"_gbk));
  ASSERT_EQ(m.MatchCount(), 2);
  EXPECT_EQ(m.MatchText(2), "1_");
  ASSERT_TRUE(m.Create("[^<]+", "中<文"_gbk));
  EXPECT_EQ(m.MatchText(2), "文"_gbk);
  ASSERT_TRUE(m.Create("\\u4e2d(.)", "x中文"_gbk));
  EXPECT_EQ(m.SubMatchText(1, 1), "文"_gbk);
}

TEST(RegexMatcher, InvalidBytesSurviveInGroups) {
  RegexMatcher m;
  const Text subject = std::string("<i>\x81\x20\xFF\xFF</i><i>x\x00y</i><i>z\x81", 26);
  ASSERT_TRUE(m.Create("<i>([\\s\\S]*?)</i>", subject));
  ASSERT_EQ(m.MatchCount(), 2);
  EXPECT_EQ(m.SubMatchText(1, 1), "\x81\x20\xFF\xFF");
  EXPECT_EQ(m.SubMatchText(2, 1), std::string("x\0y", 3));
  ASSERT_TRUE(m.Create("z(.)$", subject));
  EXPECT_EQ(m.SubMatchText(1, 1), "\x81");
}

TEST(RegexMatcher, EmptyMatchesAdvanceOneCharacter) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("x*", "a中x"_gbk));
  EXPECT_EQ(m.MatchCount(), 4);  // "" "" "x" ""
  EXPECT_EQ(m.MatchText(3), "x");
  EXPECT_EQ(m.ReplaceMatches("-"), "-a-中--"_gbk);
}

TEST(RegexMatcher, ReplaceMatchesExpandsReferences) {
  struct Case {
    Text pattern, replacement, expected;
  } cases[] = {
      {"(\\w)(\\d)", "$2$1", "1a2b-"},
      {"(\\w)(\\d)", "[$&]", "[a1][b2]-"},
      {"(\\w)(\\d)", "$$1", "$1$1-"},
      {"(\\w)(\\d)", "$3$0$", "$3$0$$3$0$-"},
      {"(\\w)(\\d)", "$10", "a0b0-"},
      {"(\\w)(x)?\\d", "<$2>", "<><>-"},
      {"b2", "$`|$'", "a1a1|--"},
  };
  for (const Case& c : cases) {
    RegexMatcher m;
    ASSERT_TRUE(m.Create(c.pattern, "a1b2-"));
    EXPECT_EQ(m.ReplaceMatches(c.replacement), c.expected) << c.pattern << " " << c.replacement;
  }
}

TEST(RegexMatcher, DialectDifferencesAreAdapted) {
  RegexMatcher m;
  ASSERT_TRUE(m.Create("[\\w-.]+", "a-b.c d"));
  EXPECT_EQ(m.MatchText(1), "a-b.c");
  ASSERT_TRUE(m.Create("\\i\\e", "ie"));
  EXPECT_EQ(m.MatchCount(), 1);
  ASSERT_TRUE(m.Create("a[]b|c", "ab c"));
  EXPECT_EQ(m.MatchText(1), "c");
  ASSERT_TRUE(m.Create("[[:a]+", "[:a:]"));
  EXPECT_EQ(m.MatchText(1), "[:a:");
  ASSERT_TRUE(m.Create("a$", "a\n"));
  EXPECT_EQ(m.MatchCount(), 1);
  ASSERT_TRUE(m.Create("a$", "a\nb", false, false));
  EXPECT_EQ(m.MatchCount(), 0);
}

// Search results in the portal's markup, repeated to several megabytes.
Text SearchPage(int rows) {
  Text page = "<html><body>\r\n";
  for (int i = 0; i < rows; ++i) {
    std::string n = std::to_string(i);
    page += "<div class=\"result\">\r\n<a href=\"http://portal/tv/" + n +
            ".html\" class=\"g-playicon js-playicon\" title=\"" + "剧名"_gbk + n +
            "\" data-logger='ctype=detail'  data-longrecord=\"x_" + n + "_" +
            std::to_string(2 + i % 3) + "\">\r\n  <img src=\"http://img/" + n + ".jpg\" alt=\"\">\r\n" +
            "  <span class=\"playtype\">[" + "电视剧"_gbk + "]</span>\r\n" +
            "  <p><b>" + "剧集："_gbk + "</b><span>" + "更新至"_gbk + n + "</span></p>\r\n</div>\r\n";
  }
  return page + "</body></html>";
}

TEST(RegexMatcher, MegabyteSubjectFinishesQuickly) {
  const Text page = SearchPage(25000);
  ASSERT_GT(page.size(), 5u * 1000 * 1000);
  const Text pattern =
      "<a href=\"(.*?)\" class=\"g-playicon js-playicon\" title=\"(.*?)\" "
      "data-logger='ctype=detail'  data-longrecord=\".*?_(2|3|4|)\">[\\s\\S]*?<img src=\"(.*?)\""
      "[\\s\\S]*?<span class=\"playtype\">\\[(.*?)\\]</span>[\\s\\S]*?<b>"_gbk +
      "剧集："_gbk + "</b><span>(.*?)</span>";
  RegexMatcher m;
  auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(m.Create(pattern, page));
  auto elapsed = std::chrono::steady_clock::now() - t0;
  ASSERT_EQ(m.MatchCount(), 25000);
  EXPECT_EQ(m.SubMatchCount(), 6);
  EXPECT_EQ(m.SubMatchText(25000, 1), "http://portal/tv/24999.html");
  EXPECT_EQ(m.SubMatchText(25000, 2), "剧名24999"_gbk);
  EXPECT_EQ(m.SubMatchText(25000, 3), "2");
  EXPECT_EQ(m.SubMatchText(25000, 5), "电视剧"_gbk);
  EXPECT_EQ(m.SubMatchText(25000, 6), "更新至24999"_gbk);
  EXPECT_LT(elapsed, std::chrono::seconds(2) * kSlowdown);
}

TEST(RegexMatcher, PathologicalSubjectEndsBounded) {
  // Catastrophic backtracking and quadratic scans: the limits end the run
  // with no match instead of a hang or a stack overflow.
  const Text run(200000, 'a');
  Text tags;
  for (int i = 0; i < 300000; ++i) tags += "<a";
  struct Case {
    Text pattern, subject;
  } cases[] = {
      {"(a+)+[bc]", run},
      {"(a|aa)*[bc]", run},
      {"((a|b)*)*x", run},
      {"<a[\\s\\S]*?>z", tags + "z"},
  };
  for (const Case& c : cases) {
    RegexMatcher m;
    auto t0 = std::chrono::steady_clock::now();
    EXPECT_TRUE(m.Create(c.pattern, c.subject)) << c.pattern;
    EXPECT_EQ(m.MatchCount(), 0) << c.pattern;
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2) * kSlowdown) << c.pattern;
  }
}

}  // namespace
}  // namespace yz
