#include "app/address_options.h"

#include <gtest/gtest.h>

namespace yz {
namespace {

TEST(AddressOptions, TakesItsOptionsAndLeavesTheRest) {
  Addresses a;
  a.line3Nested = "https://nested";
  std::vector<std::string> args = {"--portal",  "http://127.0.0.1:8080/", "search", "--notice",
                                   "http://n/notice.html", "--lines", "http://play:1",  "白夜追凶"};
  std::string error;
  ASSERT_TRUE(TakeAddressOptions(args, a, error)) << error;
  EXPECT_EQ(args, (std::vector<std::string>{"search", "白夜追凶"}));
  EXPECT_EQ(a.portalBase, "http://127.0.0.1:8080");  // no trailing slash
  EXPECT_EQ(a.notice, "http://n/notice.html");
  for (const Text& line : {a.lineDefault, a.line1, a.line2, a.line3}) EXPECT_EQ(line, "http://play:1");
  EXPECT_EQ(a.line3Nested, "https://nested");
}

TEST(AddressOptions, RefusesMissingOrNonHttpValues) {
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--portal"}, {"--search-host", "ftp://x"}, {"--lines", "file:///etc"}}) {
    Addresses a;
    std::vector<std::string> args = bad;
    std::string error;
    EXPECT_FALSE(TakeAddressOptions(args, a, error)) << bad[0];
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
}  // namespace yz
