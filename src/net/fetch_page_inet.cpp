// FetchPageInet: the lean request for pictures and plain resources. It hands
// back the raw body and reports no errors; every call stands alone (no cookie
// store, no cache).
#include "net/curl_exchange.h"
#include "net/fetch.h"
#include "net/header_block.h"
#include "net/request_address.h"

namespace yz {
namespace {

// Neither time-out is the caller's to choose; a silent server still lets go.
constexpr long kTimeoutMs = 30000;
// However slowly a server trickles, the exchange ends after this.
constexpr long kTotalTimeoutMs = 4 * kTimeoutMs;

net::Method MethodOf(int method) {
  switch (method) {
    case 1: return net::Method::Post;
    case 2: return net::Method::Head;
    default: return net::Method::Get;
  }
}

}  // namespace

Bytes FetchPageInet(const Text& address) {
  FetchPageInetOptions options;
  return FetchPageInet(address, options);
}

Bytes FetchPageInet(const Text& address, FetchPageInetOptions& o) {
  net::InetAddress target = net::SplitInetAddress(address);
  if (target.url.empty()) return {};
  Text agent = net::InetUserAgent(o.extraHeaders);
  o.extraHeaders = net::InetHeaderBlock(o.extraHeaders, address, o.sendCookies);
  auto lines = net::InetHeaderLines(o.extraHeaders);
  if (!lines) return {};

  net::ExchangeRequest r;
  r.url = target.url;
  r.method = MethodOf(o.method);
  if (r.method != net::Method::Get && o.postBytes.empty()) o.postBytes = o.postData;
  // HEAD asks for no body in return and sends none either.
  if (r.method == net::Method::Post) r.body = o.postBytes;
  r.headerLines = std::move(*lines);
  r.userAgent = agent;
  r.proxy = o.proxy;
  r.followRedirects = !o.noRedirect;
  r.connectTimeoutMs = kTimeoutMs;
  r.idleTimeoutMs = kTimeoutMs;
  r.totalTimeoutMs = kTotalTimeoutMs;
  r.cancel = o.cancel;
  r.session = o.session;

  net::ExchangeResult x = net::RunExchange(r);
  bool answered = x.reached == net::Reached::Complete || x.reached == net::Reached::PartialBody;
  o.returnedHeaders = answered ? net::NormaliseCookieNames(x.headerBlock) : Text{};
  o.returnedCookies = net::CookiesOf(o.returnedHeaders);
  return std::move(x.body);
}

}  // namespace yz
