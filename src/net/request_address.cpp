#include "net/request_address.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <string_view>

namespace yz::net {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

// True when curl's own parser takes the address (host, port, characters).
bool ClientAccepts(const std::string& url) {
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> u(curl_url(), &curl_url_cleanup);
  if (!u || curl_url_set(u.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return false;
  char* host = nullptr;
  if (curl_url_get(u.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK) return false;
  bool hasHost = host && *host;
  curl_free(host);
  return hasHost;
}

// Port digits after a host; 0 when they are missing or out of range.
int ParsePort(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? port : 0;
}

// True when the address starts with a scheme other than http and https
// ("file:", "javascript:", "data:"): those are never requested. A name
// followed by port digits ("example.com:8080/a") is a host, not a scheme.
bool NamesOtherScheme(std::string_view lower) {
  std::size_t colon = lower.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  if (lower[0] < 'a' || lower[0] > 'z') return false;
  for (std::size_t i = 0; i < colon; ++i) {
    char c = lower[i];
    bool schemeChar = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
    if (!schemeChar) return false;
  }
  std::string_view scheme = lower.substr(0, colon);
  if (scheme == "http" || scheme == "https") return false;
  std::size_t end = lower.find_first_of("/?#", colon + 1);
  std::string_view after = lower.substr(colon + 1, end == std::string_view::npos ? end : end - colon - 1);
  bool portDigits = !after.empty() && std::all_of(after.begin(), after.end(), [](char c) {
    return c >= '0' && c <= '9';
  });
  return !portDigits;
}

}  // namespace

std::string EncodeHost(const Text& host) {
  bool ascii = std::all_of(host.begin(), host.end(),
                           [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return ascii ? host : TextToUtf8(host);
}

std::string EncodeForRequest(const Text& address) {
  std::string wire = EncodeHost(address);
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(wire.size());
  for (char ch : wire) {
    auto b = static_cast<unsigned char>(ch);
    if (b <= 0x20 || b >= 0x7F) {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    } else {
      out += ch;
    }
  }
  return out;
}

std::optional<std::string> PageRequestUrl(const Text& address) {
  auto sep = address.find("://");
  if (sep == Text::npos) return std::nullopt;
  std::string scheme = Lower(std::string_view(address).substr(0, sep));
  if (scheme != "http" && scheme != "https") return std::nullopt;
  std::string_view rest = std::string_view(address).substr(sep + 3);
  auto authorityEnd = rest.find_first_of("/?#");
  std::string_view authority = rest.substr(0, authorityEnd);
  if (authority.empty()) return std::nullopt;
  std::string_view object = "/";
  if (authorityEnd != std::string_view::npos && rest[authorityEnd] == '/') {
    object = rest.substr(authorityEnd);
  }
  std::string url = scheme + "://" + EncodeHost(Text(authority)) + EncodeForRequest(Text(object));
  if (!ClientAccepts(url)) return std::nullopt;
  return url;
}

InetAddress SplitInetAddress(const Text& address) {
  InetAddress a;
  std::string lower = Lower(address);
  a.https = StartsWith(lower, "https://");
  // Where the host starts, in the caller's address (same length in lower case).
  std::size_t hostStart = 0;
  if (a.https) hostStart = 8;
  else if (StartsWith(lower, "http://")) hostStart = 7;

  // The host part runs to the path, or to a query or fragment right after it.
  std::size_t hostEnd = lower.find_first_of("/?#", hostStart);
  if (hostEnd == std::string::npos) hostEnd = lower.size();
  std::string hostPart = lower.substr(hostStart, hostEnd - hostStart);

  std::string portDigits;
  if (StartsWith(hostPart, "[")) {  // a bracketed IPv6 literal keeps its colons
    auto close = hostPart.find(']');
    a.host = hostPart.substr(0, close == std::string::npos ? hostPart.size() : close + 1);
    if (close != std::string::npos && hostPart.compare(close + 1, 1, ":") == 0)
      portDigits = hostPart.substr(close + 2);
  } else {
    auto colon = hostPart.find(':');
    a.host = hostPart.substr(0, colon);
    if (colon != std::string::npos) portDigits = hostPart.substr(hostPart.rfind(':') + 1);
  }
  a.port = ParsePort(portDigits);
  if (a.port == 0) a.port = StartsWith(lower, "https") ? 443 : 80;

  a.object = hostEnd < address.size() && address[hostEnd] == '/' ? address.substr(hostEnd) : "/";
  if (a.host.empty() || NamesOtherScheme(lower)) return a;
  std::string url = (a.https ? "https://" : "http://") + EncodeHost(a.host) + ":" + std::to_string(a.port) +
                    EncodeForRequest(a.object);
  if (ClientAccepts(url)) a.url = std::move(url);
  return a;
}

}  // namespace yz::net
