// The two page requests over libcurl. Both block the calling thread; any
// number may run at once. Neither throws.
#pragma once

#include <atomic>
#include <optional>

#include "text/text.h"

namespace yz {

namespace net {
class Session;  // net/session.h
}

// Optional arguments of FetchPage, named as the behaviour names them. Fields
// marked out are written by the call; returnedCookies is appended to.
struct FetchPageOptions {
  int method = 0;  // 0 GET, 1 POST, 2 HEAD, 3 PUT; other values GET
  Text postData;
  std::optional<Text> sendCookies;
  Text returnedCookies;  // in/out
  Text extraHeaders;
  Text returnedHeaders;  // out
  bool noRedirect = false;
  Text serverUser, serverPassword;
  Text proxy, proxyUser, proxyPassword;
  int timeoutSeconds = 0;  // below 1: 30 s; the whole exchange ends after 4 times that
  Text redirectTarget;     // out
  Text statusText;         // out
  Bytes bodyBytes;         // out
  // Not part of the behaviour: set to abandon the exchange early (shutdown).
  const std::atomic<bool>* cancel = nullptr;
};

struct FetchPageInetOptions {
  int method = 0;  // 0 GET, 1 POST, 2 HEAD; other values GET
  Text postData;
  std::optional<Text> sendCookies;
  Text returnedCookies;  // out
  Text extraHeaders;     // in/out: the block actually sent
  Text returnedHeaders;  // out
  bool noRedirect = false;
  Bytes postBytes;  // in/out
  Text proxy;
  const std::atomic<bool>* cancel = nullptr;
  // Not part of the behaviour: requests run one after another through the
  // same session reuse its open connection (a poster runner's requests).
  net::Session* session = nullptr;
};

// The body as program text (charset of a meta tag honoured); empty on failure.
// statusText then holds "200 OK" (the status line after the protocol) or a
// failure message "701 ..." to "712 ..." with empty text; "713 ..." means the
// body ended early (stall, deadline, broken connection, kMaxBodyBytes) and what came is
// still returned.
Text FetchPage(const Text& address);
Text FetchPage(const Text& address, FetchPageOptions& options);

// The raw body bytes; empty on failure.
Bytes FetchPageInet(const Text& address);
Bytes FetchPageInet(const Text& address, FetchPageInetOptions& options);

// Largest body either request keeps; past it the read stops.
inline constexpr std::size_t kMaxBodyBytes = 64u << 20;

}  // namespace yz
