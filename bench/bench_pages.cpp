#include "bench_pages.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace yz::bench {

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void ReplaceAll(std::string& s, const std::string& from, const std::string& to) {
  for (std::size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size())
    s.replace(pos, from.size(), to);
}

std::size_t Find(const Text& page, const Text& what, std::size_t from = 0) {
  std::size_t pos = page.find(what, from);
  if (pos == Text::npos) throw std::runtime_error("sample page lacks " + TextToUtf8(what));
  return pos;
}

}  // namespace

Text SamplePage(const std::string& relativePath) {
  std::string bytes = ReadFile(std::string(SAMPLE_PAGES) + "/" + relativePath);
  ReplaceAll(bytes, "{{BASE}}", "http://127.0.0.1:8080");
  if (bytes.find("charset=\"utf-8\"") != std::string::npos ||
      bytes.find("charset=utf-8") != std::string::npos) {
    if (auto text = CharsetToText(bytes, "utf-8")) return *text;
  }
  return bytes;
}

Text RepeatItems(const Text& page, const Text& firstItem, const Text& afterItems,
                 std::size_t bytes) {
  std::size_t begin = Find(page, firstItem);
  std::size_t end = Find(page, afterItems, begin);
  Text items = page.substr(begin, end - begin);
  Text out = page.substr(0, end);
  while (out.size() + (page.size() - end) < bytes) out += items;
  out += page.substr(end);
  return out;
}

Text PadBefore(const Text& page, const Text& marker, const Text& filler, std::size_t bytes) {
  std::size_t at = Find(page, marker);
  Text out = page.substr(0, at);
  while (out.size() + (page.size() - at) < bytes) out += filler;
  out += page.substr(at);
  return out;
}

Text RecommendationFiller() {
  Text list = SamplePage("dianshi/list");
  std::size_t begin = Find(list, "<li class=\"item\">");
  std::size_t end = Find(list, "</ul>", begin);
  return "<ul class=\"rec-list\">\n" + list.substr(begin, end - begin) + "</ul>\n";
}

}  // namespace yz::bench
