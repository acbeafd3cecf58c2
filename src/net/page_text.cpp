#include "net/page_text.h"

#include "text/regex_matcher.h"

namespace yz::net {
namespace {

constexpr std::size_t kCharsetWindow = 1024;

Text UpToNul(const Text& s) { return s.substr(0, s.find('\0')); }

}  // namespace

Text PageText(const Bytes& body) {
  Text text = UpToNul(body);
  RegexMatcher matcher;
  if (!matcher.Create("<meta.+?charset=[^\\w]?([-\\w]+)", text.substr(0, kCharsetWindow)))
    return text;
  Text charset = matcher.SubMatchText(1, 1);
  if (charset.empty() || charset == "gbk" || charset == "gb2312") return text;
  if (auto converted = CharsetToText(body, charset)) return UpToNul(*converted);
  return text;
}

}  // namespace yz::net
