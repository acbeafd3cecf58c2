// Every pattern the program runs, over fuzzed subjects: no crash, no hang.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "text/regex_matcher.h"

using namespace yz;
using namespace yz::literals;

namespace {

const std::vector<Text>& Patterns() {
  static const std::vector<Text> patterns = {
      // charset of a page
      R"re(<meta.+?charset=[^\w]?([-\w]+))re"_gbk,
      // catalogue
      R"re(<li class="item">\s+<a class="js-tongjic" href="(.*?)">\s+<div class="cover g-playicon">\s+<img src="(.*?)">\s+<span class="hint">(.*?)</span>\s+</div>\s+<div class="detail">\s+<p class="title g-clear">\s+<span class="s1">(.*?)</span>)re"_gbk,
      R"re(<li class="item">\s+<a class="js-tongjic" href="(.*?)">[\s\S]*?<img src="(.*?)">[\s\S]*?<span class="s1">(.*?)</span>)re"_gbk,
      // search
      R"re(<a href="(.*?)" class="g-playicon js-playicon" title="(.*?)" data-logger='ctype=detail'  data-longrecord=".*?_(2|3|4|)">[\s\S]*?<img src="(.*?)"[\s\S]*?<span class="playtype">\[(.*?)\]</span>[\s\S]*?<b>剧集：</b><span>(.*?)</span>)re"_gbk,
      R"re(<a href="(.*?)" class="g-playicon js-playicon" title="(.*?)" data-logger='ctype=detail'  data-longrecord=".*?_(1)">[\s\S]*?<img src="(.*?)"[\s\S]*?<span class="playtype">\[(.*?)\]</span>)re"_gbk,
      // details
      R"re(<a class="name" href=".*?">(.*?)</a>[\s\S]*?<a class="name" href=".*?">(.*?)</a>[\s\S]*?<span>简介：</span>([\s\S]*?)<)re"_gbk,
      R"re(<a class="name" href=".*?">(.*?)</a>[\s\S]*?<span>简介：</span>([\s\S]*?)<)re"_gbk,
      // sites, episodes, sources, issues
      R"re({"ensite":"(qq*?|youku*?|qiyi*?|imgo*?|levp*?|sohu*?|leshi*?|PPTV*?)",)re"_gbk,
      R"re(<a data-num="(.*?)" data-daochu="to=.*?" href="(.*?)">)re"_gbk,
      "<a data-daochu=\".*?\" class=\".*?\" href=\"(.*html).*\">(.*?)</a>\r"_gbk,
      R"re(<li  title='(.*?)' class='.*?'><a href='(.*?html).*?' data-daochu=to=.*?><div class='w-newfigure-imglink g-playicon js-playicon'> <img src='.*?' data-src='.*?' alt='.*?'  /><span class='w-newfigure-hint'>(.*?)</span>)re"_gbk,
  };
  return patterns;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks a pattern, or (past the list) makes the rest a
  // pattern of its own over a fixed subject.
  std::size_t pick = data[0];
  Text rest = fuzz::WithoutNul(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  RegexMatcher m;
  if (pick < Patterns().size() * 20) {
    m.Create(Patterns()[pick % Patterns().size()], rest);
  } else {
    m.Create(rest, "<a href=\"x\">abc</a>\r\n<li class=\"item\">"_gbk);
  }
  int n = m.MatchCount();
  if (n < 0) std::abort();
  for (int i = 0; i <= n + 1 && i < 50; ++i) {
    for (int g = 0; g <= m.SubMatchCount() + 1; ++g) m.SubMatchText(i, g);
    m.MatchText(i);
  }
  m.ReplaceMatches("$1-$$-$9"_gbk);
  return 0;
}
