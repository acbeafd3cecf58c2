#include "net/header_block.h"

#include <algorithm>
#include <string_view>

namespace yz::net {
namespace {

constexpr std::string_view kBlanks = " \t";

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string_view Trim(std::string_view s) {
  auto first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool Contains(const Text& block, std::string_view name, bool ignoreCase) {
  return FindText(block, name, 1, ignoreCase) != 0;
}

// Lines of a block; a lone CR or LF also ends a line, so no caller text can
// smuggle a line break into a header value.
std::vector<std::string_view> SplitLines(std::string_view block) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= block.size()) {
    auto end = block.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = block.size();
    if (end > start) lines.push_back(block.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

struct HeaderLine {
  std::string_view name;   // trimmed
  std::string_view value;  // trimmed
};

std::optional<HeaderLine> ParseLine(std::string_view line) {
  auto colon = line.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  HeaderLine h{Trim(line.substr(0, colon)), Trim(line.substr(colon + 1))};
  if (h.name.empty()) return std::nullopt;
  return h;
}

// Lines of a response block (CR LF separated), status line first.
std::vector<std::string_view> ResponseLines(std::string_view block) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < block.size()) {
    auto end = block.find("\r\n", start);
    if (end == std::string_view::npos) end = block.size();
    lines.push_back(block.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool IsSetCookie(std::string_view line) {
  auto h = ParseLine(line);
  return h && EqualsIgnoringCase(h->name, "Set-Cookie");
}

}  // namespace

Text PageHeaderBlock(const Text& extraHeaders, const std::optional<Text>& sendCookies) {
  struct Default {
    std::string_view name;
    bool ignoreCase;
    std::string_view line;
  };
  static constexpr Default kDefaults[] = {
      {"User-Agent: ", true,
       "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"},
      {"Accept: ", true, "Accept: text/html, application/xhtml+xml, */*\r\n"},
      {"Accept-Encoding: ", true, "Accept-Encoding: gbk, GB2312\r\n"},
      {"Accept-Language: ", true, "Accept-Language: zh-cn\r\n"},
      {"Content-Type:", false, "Content-Type: application/x-www-form-urlencoded\r\n"},
      {"Cache-Control: ", true, "Cache-Control: no-cache\r\n"},
  };
  Text block = extraHeaders.empty() ? Text{} : extraHeaders + "\r\n";
  for (const auto& d : kDefaults) {
    if (!Contains(block, d.name, d.ignoreCase)) block += d.line;
  }
  if (sendCookies && !sendCookies->empty() && !Contains(block, "Cookie: ", true)) {
    block += "Cookie: " + *sendCookies + "\r\n";
  }
  return block;
}

Text InetHeaderBlock(const Text& extraHeaders, const Text& address,
                     const std::optional<Text>& sendCookies) {
  Text block = extraHeaders;
  if (block.empty()) block = "Accept: */*";
  else if (!Contains(block, "Accept:", false)) block += "\r\nAccept: */*";
  if (!Contains(block, "Referer:", false)) {
    Text referer = address;
    std::erase_if(referer, [](char c) { return c == '\r' || c == '\n'; });
    block += "\r\nReferer: " + referer;
  }
  if (!Contains(block, "Accept-Language:", false)) block += "\r\nAccept-Language: zh-cn";
  if (!Contains(block, "Content-Type:", false))
    block += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (sendCookies && !sendCookies->empty()) {
    block += Contains(*sendCookies, "Cookie:", false) ? "\r\n" + *sendCookies
                                                      : "\r\nCookie: " + *sendCookies;
  }
  return block;
}

Text InetUserAgent(const Text& extraHeaders) {
  for (auto line : SplitLines(extraHeaders)) {
    auto h = ParseLine(line);
    if (h && EqualsIgnoringCase(h->name, "User-Agent") && !h->value.empty())
      return Text(h->value);
  }
  return "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
}

std::optional<std::vector<std::string>> PageHeaderLines(const Text& block) {
  std::vector<std::string> out;
  std::vector<std::string> names;  // of `out`, for the replace rule
  for (auto line : SplitLines(block)) {
    auto h = ParseLine(line);
    if (!h) return std::nullopt;
    auto same = std::find_if(names.begin(), names.end(),
                             [&](const std::string& n) { return EqualsIgnoringCase(n, h->name); });
    auto index = same - names.begin();
    if (h->value.empty()) {
      if (same != names.end()) {
        names.erase(same);
        out.erase(out.begin() + index);
      }
    } else if (same != names.end()) {
      out[index] = std::string(line);
    } else {
      names.emplace_back(h->name);
      out.emplace_back(line);
    }
  }
  return out;
}

std::optional<std::vector<std::string>> InetHeaderLines(const Text& block) {
  std::vector<std::string> out;
  for (auto line : SplitLines(block)) {
    auto h = ParseLine(line);
    if (!h) return std::nullopt;
    // "Name;" is how the client sends a header with an empty value.
    out.push_back(h->value.empty() ? std::string(h->name) + ";" : std::string(line));
  }
  return out;
}

Text StatusText(const Text& headerBlock) {
  std::string_view first = headerBlock;
  first = first.substr(0, first.find("\r\n"));
  auto space = first.find(' ');
  return space == std::string_view::npos ? Text{} : Text(first.substr(space + 1));
}

Text NormaliseCookieNames(const Text& headerBlock) {
  Text out = headerBlock;
  constexpr std::string_view kName = "Set-Cookie";
  for (std::size_t start = 0; start < out.size();) {
    if (EqualsIgnoringCase(std::string_view(out).substr(start, kName.size()), kName) &&
        IsSetCookie(std::string_view(out).substr(start, out.find("\r\n", start) - start))) {
      out.replace(start, kName.size(), kName);
    }
    auto end = out.find("\r\n", start);
    if (end == Text::npos) break;
    start = end + 2;
  }
  return out;
}

Text CookiesOf(const Text& headerBlock) {
  Text cookies;
  for (auto line : ResponseLines(headerBlock)) {
    if (!IsSetCookie(line)) continue;
    std::string_view value = line.substr(line.find(':') + 1);
    Text cookie(Trim(value.substr(0, value.find(';'))));
    if (cookie.empty()) continue;
    if (!cookies.empty()) cookies += "; ";
    cookies += cookie;
  }
  return cookies;
}

std::optional<Text> LocationOf(const Text& headerBlock) {
  std::optional<Text> target;
  for (auto line : ResponseLines(headerBlock)) {
    if (line.size() >= 10 && EqualsIgnoringCase(line.substr(0, 10), "Location: "))
      target = Text(line.substr(10));
  }
  return target;
}

void AppendCookies(Text& held, const Text& cookies) {
  if (cookies.empty()) return;
  std::string_view h = held;
  if (h.empty() || h.ends_with("; ")) held += cookies;
  else if (h.ends_with(";")) held += " " + cookies;
  else held += "; " + cookies;
}

}  // namespace yz::net
