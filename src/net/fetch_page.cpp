// FetchPage: a browser-like GET (or POST, HEAD, PUT) whose body comes back as
// program text. Failures are told only through statusText.
#include "net/curl_exchange.h"
#include "net/fetch.h"
#include "net/header_block.h"
#include "net/page_text.h"
#include "net/request_address.h"

namespace yz {
namespace {

using namespace literals;

Text FailureMessage(int code) {
  switch (code) {
    case 701: return "701 解析URL地址失败!"_gbk;
    case 702: return "702 创建WinHttp会话失败!"_gbk;
    case 703: return "703 创建WinHttp连接失败!"_gbk;
    case 704: return "704 创建WinHttp请求失败!"_gbk;
    case 705: return "705 设置超时时间失败!"_gbk;
    case 707: return "707 设置代理凭证失败!"_gbk;
    case 708: return "708 禁止自动设置Cookies失败!"_gbk;
    case 709: return "709 重定向设置失败!"_gbk;
    case 710: return "710 设置协议头失败!"_gbk;
    case 711: return "711 发送请求失败!"_gbk;
    case 712: return "712 服务器未响应!"_gbk;
    case 713: return "713 读取数据失败!"_gbk;
    default: return "700 当前系统不支持WinHttp服务!"_gbk;
  }
}

int SetupFailureCode(net::SetupStep step) {
  switch (step) {
    case net::SetupStep::Session: return 702;
    case net::SetupStep::Connection: return 703;
    case net::SetupStep::Request: return 704;
    case net::SetupStep::Timeouts: return 705;
    case net::SetupStep::Credentials: return 707;
    case net::SetupStep::Redirects: return 709;
    case net::SetupStep::Headers: return 710;
    case net::SetupStep::None: break;
  }
  return 700;
}

net::Method MethodOf(int method) {
  switch (method) {
    case 1: return net::Method::Post;
    case 2: return net::Method::Head;
    case 3: return net::Method::Put;
    default: return net::Method::Get;
  }
}

// Login details count only when both halves are given.
std::optional<net::Credentials> Login(const Text& user, const Text& password) {
  if (user.empty() || password.empty()) return std::nullopt;
  return net::Credentials{user, password};
}

}  // namespace

Text FetchPage(const Text& address) {
  FetchPageOptions options;
  return FetchPage(address, options);
}

Text FetchPage(const Text& address, FetchPageOptions& o) {
  auto url = net::PageRequestUrl(address);
  if (!url) {
    o.statusText = FailureMessage(701);
    return {};
  }
  auto lines = net::PageHeaderLines(net::PageHeaderBlock(o.extraHeaders, o.sendCookies));
  if (!lines) {
    o.statusText = FailureMessage(710);
    return {};
  }

  net::ExchangeRequest r;
  r.url = *url;
  r.method = MethodOf(o.method);
  // The body goes out with every method but HEAD; GET carries one only when given.
  if (r.method == net::Method::Post || r.method == net::Method::Put || !o.postData.empty())
    r.body = o.postData;
  r.headerLines = std::move(*lines);
  r.proxy = o.proxy;
  r.serverLogin = Login(o.serverUser, o.serverPassword);
  r.proxyLogin = Login(o.proxyUser, o.proxyPassword);
  r.followRedirects = !o.noRedirect;
  long timeoutMs = o.timeoutSeconds >= 1 ? o.timeoutSeconds * 1000L : 30000L;
  r.connectTimeoutMs = timeoutMs;
  r.idleTimeoutMs = timeoutMs;
  // Resolve, connect, send and receive each have the time-out: their sum
  // bounds the exchange, however slowly the server trickles.
  r.totalTimeoutMs = 4 * timeoutMs;
  r.cancel = o.cancel;

  net::ExchangeResult x = net::RunExchange(r);
  switch (x.reached) {
    case net::Reached::Nothing:
      o.statusText = FailureMessage(SetupFailureCode(x.failedStep));
      return {};
    case net::Reached::NotConnected:
      o.statusText = FailureMessage(711);
      return {};
    case net::Reached::NoResponse:
      o.statusText = FailureMessage(712);
      return {};
    case net::Reached::PartialBody:
    case net::Reached::Complete:
      break;
  }

  o.returnedHeaders = net::NormaliseCookieNames(x.headerBlock);
  // A body cut short stays reported as such, whatever the status line said.
  o.statusText = x.reached == net::Reached::Complete ? net::StatusText(o.returnedHeaders)
                                                     : FailureMessage(713);
  net::AppendCookies(o.returnedCookies, net::CookiesOf(o.returnedHeaders));
  o.redirectTarget = net::LocationOf(o.returnedHeaders).value_or(Text{});
  o.bodyBytes = std::move(x.body);
  return net::PageText(o.bodyBytes);
}

}  // namespace yz
