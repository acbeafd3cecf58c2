#include <gtest/gtest.h>

#include <chrono>

#include "text/regex_matcher.h"

namespace yz {
namespace {

using namespace yz::literals;

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
  ASSERT_TRUE(m.Create("a$", "a\n"));
  EXPECT_EQ(m.MatchCount(), 1);
  ASSERT_TRUE(m.Create("a$", "a\nb", false, false));
  EXPECT_EQ(m.MatchCount(), 0);
}

// A page of several megabytes with the shape of the portal's lists.
Text BigPage(int rows) {
  Text page;
  for (int i = 0; i < rows; ++i) {
    page += "<li class=\"item\">\r\n  <a href=\"/detail/" + std::to_string(i) +
            ".html\" title=\"" + "第"_gbk + std::to_string(i) + "集"_gbk + "\">\r\n";
    page += "  <img src=\"http://img/p" + std::to_string(i) + ".jpg\" alt=\"\">\r\n  <span>" +
            "主演：某某、某某某"_gbk + "</span>\r\n</li>\r\n";
  }
  return page;
}

TEST(RegexMatcher, MegabyteSubjectFinishesQuickly) {
  const Text page = BigPage(30000);
  ASSERT_GT(page.size(), 4u * 1000 * 1000);
  RegexMatcher m;
  auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(m.Create("<a href=\"(.*?)\" title=\"(.*?)\">[\\s\\S]*?<img src=\"(.*?)\"[\\s\\S]*?<span>(.*?)</span>", page));
  auto elapsed = std::chrono::steady_clock::now() - t0;
  EXPECT_EQ(m.MatchCount(), 30000);
  EXPECT_EQ(m.SubMatchText(29999, 1), "/detail/29998.html");
  EXPECT_EQ(m.SubMatchText(30000, 2), "第29999集"_gbk);
  EXPECT_LT(elapsed, std::chrono::seconds(2));
}

TEST(RegexMatcher, PathologicalSubjectEndsBounded) {
  // Catastrophic backtracking: the limits end the run instead of a hang.
  Text subject(30000, 'a');
  RegexMatcher m;
  auto t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(m.Create("(a+)+b", subject));
  EXPECT_TRUE(m.Create("(a|aa)*c", subject));
  EXPECT_TRUE(m.Create("<([\\s\\S]*?)>([\\s\\S]*?)<\\/([\\s\\S]*?)>", "<" + subject));
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(8));
  EXPECT_EQ(m.MatchCount(), 0);
}

}  // namespace
}  // namespace yz
