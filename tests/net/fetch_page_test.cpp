#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "net/fetch.h"
#include "raw_http_server.h"
#include "test_portal.h"

namespace yz {
namespace {

using namespace literals;
using testing::RawHttpServer;
using testing::RawRequest;
using testing::TestPortal;
using Clock = std::chrono::steady_clock;

const std::string kDefaultBlock =
    "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
    "Accept: text/html, application/xhtml+xml, */*\r\n"
    "Accept-Encoding: gbk, GB2312\r\n"
    "Accept-Language: zh-cn\r\n"
    "Content-Type: application/x-www-form-urlencoded\r\n"
    "Cache-Control: no-cache\r\n";

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

TEST(FetchPage, SendsExactlyTheHeaderBlock) {
  struct Case {
    const char* name;
    Text extraHeaders;
    std::optional<Text> sendCookies;
    std::string headersAfterHost;
  };
  const Case cases[] = {
      {"defaults", "", std::nullopt, kDefaultBlock},
      {"cookie", "", "a=1", kDefaultBlock + "Cookie: a=1\r\n"},
      {"empty cookie", "", "", kDefaultBlock},
      {"caller lines first", "X-Trace: 7\r\naccept: text/plain", std::nullopt,
       "X-Trace: 7\r\naccept: text/plain\r\n"
       "User-Agent: Mozilla/5.0 (compatible; MSIE 9.0; Windows NT 6.1; WOW64; Trident/5.0)\r\n"
       "Accept-Encoding: gbk, GB2312\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded\r\nCache-Control: no-cache\r\n"},
      // The user-agent test ignores case, the content-type test does not: the
      // default Content-Type is added and replaces the caller's line.
      {"lower-case names", "user-agent: mine\r\ncontent-type: text/plain", std::nullopt,
       "user-agent: mine\r\nContent-Type: application/x-www-form-urlencoded\r\n"
       "Accept: text/html, application/xhtml+xml, */*\r\nAccept-Encoding: gbk, GB2312\r\n"
       "Accept-Language: zh-cn\r\nCache-Control: no-cache\r\n"},
  };
  RawHttpServer server;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FetchPageOptions o;
    o.extraHeaders = c.extraHeaders;
    o.sendCookies = c.sendCookies;
    EXPECT_EQ(FetchPage(server.Base() + "/Some/Path?q=1", o), "ok");
    EXPECT_EQ(o.statusText, "200 OK");
    EXPECT_EQ(server.LastRequest().head,
              "GET /Some/Path?q=1 HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.Port()) +
                  "\r\n" + c.headersAfterHost);
  }
}

TEST(FetchPage, MethodsAndBodies) {
  struct Case {
    int method;
    Text postData;
    std::string requestLine;
    std::string body;
  };
  const Case cases[] = {
      {0, "", "GET /m HTTP/1.1", ""},         {1, "k=v&x=1", "POST /m HTTP/1.1", "k=v&x=1"},
      {2, "", "HEAD /m HTTP/1.1", ""},        {3, "put body", "PUT /m HTTP/1.1", "put body"},
      {7, "", "GET /m HTTP/1.1", ""},         {0, "sent anyway", "GET /m HTTP/1.1", "sent anyway"},
  };
  RawHttpServer server([](const RawRequest& r) {
    if (r.RequestLine().starts_with("HEAD"))
      return std::string("HTTP/1.1 200 OK\r\nContent-Length: 9\r\nConnection: close\r\n\r\n");
    return RawHttpServer::Response("200 OK", {}, "body");
  });
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requestLine + " " + c.body);
    FetchPageOptions o;
    o.method = c.method;
    o.postData = c.postData;
    EXPECT_EQ(FetchPage(server.Base() + "/m", o), c.method == 2 ? "" : "body");
    EXPECT_EQ(o.statusText, "200 OK");
    RawRequest seen = server.LastRequest();
    EXPECT_EQ(seen.RequestLine(), c.requestLine);
    EXPECT_EQ(seen.body, c.body);
  }
}

TEST(FetchPage, ReadsStatusHeadersCookiesAndLocation) {
  const std::string block =
      "HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nLink: </set-cookie-help>\r\n"
      "SET-COOKIE: b=2\r\nLocation: /elsewhere\r\nContent-Length: 4\r\nConnection: close\r\n\r\n";
  RawHttpServer server([&](const RawRequest&) { return block + "page"; });
  FetchPageOptions o;
  o.returnedCookies = "x=0";
  EXPECT_EQ(FetchPage(server.Base() + "/", o), "page");
  EXPECT_EQ(o.statusText, "200 OK");
  // Header names are normalised; header values are left alone.
  EXPECT_EQ(o.returnedHeaders,
            "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nLink: </set-cookie-help>\r\n"
            "Set-Cookie: b=2\r\nLocation: /elsewhere\r\nContent-Length: 4\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(o.returnedCookies, "x=0; a=1; b=2");
  EXPECT_EQ(o.redirectTarget, "/elsewhere");
  EXPECT_EQ(o.bodyBytes, "page");
}

TEST(FetchPage, CookiesFromThePortal) {
  TestPortal portal;
  FetchPageOptions o;
  FetchPage(portal.Url("/_test/cookies"), o);
  EXPECT_EQ(o.returnedCookies, "a=1; b=2");
  FetchPageOptions none;
  FetchPage(portal.Url("/_test/nul"), none);
  EXPECT_EQ(none.returnedCookies, "");
}

TEST(FetchPage, Redirects) {
  struct Case {
    std::string path;
    bool noRedirect;
    std::string textStart;
    Text status;
    Text redirectTarget;
  };
  const Case cases[] = {
      {"/_test/redirect?to=/_test/echo", false, "GET /_test/echo\r\n", "200 OK", ""},
      {"/_test/redirect?to=/_test/echo", true, "moved to /_test/echo", "302 Found", "/_test/echo"},
      {"/_test/redirect?code=301&to=/_test/chain/0", false, "end of chain", "200 OK", ""},
      {"/_test/chain/4", false, "end of chain", "200 OK", ""},
      {"/_test/loop", false, "", "712 服务器未响应!"_gbk, ""},
      // A redirect that goes nowhere is not followed: it is the page.
      {"/_test/redirect?to=", false, "moved to ", "302 Found", ""},
      // Only http and https are ever requested, also through a redirect.
      {"/_test/redirect?to=file:///etc/passwd", false, "", "712 服务器未响应!"_gbk, ""},
  };
  TestPortal portal;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    FetchPageOptions o;
    o.noRedirect = c.noRedirect;
    Text text = FetchPage(portal.Url(c.path), o);
    EXPECT_EQ(text.substr(0, c.textStart.size()), c.textStart);
    if (c.textStart.empty()) {
      EXPECT_EQ(text, "");
    }
    EXPECT_EQ(o.statusText, c.status);
    EXPECT_EQ(o.redirectTarget, c.redirectTarget);
  }
}

TEST(FetchPage, StalledServerEndsWithinTheTimeout) {
  TestPortal portal;
  struct Case {
    std::string path;
    Text text;
    Text status;
  };
  const Case cases[] = {
      {"/_test/stall?headers=0", "", "712 服务器未响应!"_gbk},
      // Silence after the headers or part way through the body keeps what came.
      {"/_test/stall", "", "713 读取数据失败!"_gbk},
      {"/_test/stall?after=5", "sssss", "713 读取数据失败!"_gbk},
  };
  // Side by side, so the test takes one time-out, not three.
  struct Outcome {
    Text text;
    Text status;
    double seconds = 0;
  };
  std::vector<Outcome> outcomes(std::size(cases));
  std::vector<std::thread> threads;
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    threads.emplace_back([&, i] {
      FetchPageOptions o;
      o.timeoutSeconds = 1;
      auto start = Clock::now();
      outcomes[i].text = FetchPage(portal.Url(cases[i].path), o);
      outcomes[i].seconds = SecondsSince(start);
      outcomes[i].status = o.statusText;
    });
  }
  for (auto& t : threads) t.join();
  for (std::size_t i = 0; i < outcomes.size(); ++i) {
    SCOPED_TRACE(cases[i].path);
    EXPECT_EQ(outcomes[i].text, cases[i].text);
    EXPECT_EQ(outcomes[i].status, cases[i].status);
    EXPECT_GE(outcomes[i].seconds, 0.9);
    EXPECT_LT(outcomes[i].seconds, 1.6);
  }
}

TEST(FetchPage, CancelEndsTheExchangePromptly) {
  TestPortal portal;
  std::atomic<bool> cancel{false};
  FetchPageOptions o;
  o.cancel = &cancel;
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    cancel = true;
  });
  auto start = Clock::now();
  Text text = FetchPage(portal.Url("/_test/stall"), o);
  double seconds = SecondsSince(start);
  canceller.join();
  EXPECT_EQ(text, "");
  EXPECT_LT(seconds, 0.6);
}

TEST(FetchPage, CharsetOfTheMetaTag) {
  TestPortal portal;
  const std::string utf8Title = "影舟";
  struct Case {
    std::string name;
    bool convertedFromUtf8;  // otherwise the body is used byte for byte
    Text mustContain;
  };
  const Case cases[] = {
      {"utf-8", true, "<title>影舟</title></head><body>中文镕"_gbk},
      {"GBK", false, "<title>影舟</title></head><body>中文镕"_gbk},
      // A GB2312 converter would lose 镕; the page is used as it came.
      {"gb2312", false, "<title>影舟</title></head><body>中文镕"_gbk},
      // Declared past the first 1024 bytes: not seen, so the UTF-8 stays raw.
      {"late", false, "<title>" + utf8Title + "</title>"},
      {"unknown", false, "<title>影舟</title>"_gbk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FetchPageOptions o;
    Text text = FetchPage(portal.Url("/_test/charset/" + c.name), o);
    EXPECT_EQ(o.statusText, "200 OK");
    ASSERT_FALSE(o.bodyBytes.empty());
    EXPECT_EQ(text, c.convertedFromUtf8 ? Utf8ToText(o.bodyBytes) : o.bodyBytes);
    EXPECT_NE(text.find(c.mustContain), Text::npos) << text;
  }
}

TEST(FetchPage, BodyWithNulAndErrorPages) {
  TestPortal portal;
  FetchPageOptions nul;
  EXPECT_EQ(FetchPage(portal.Url("/_test/nul"), nul), "before");
  EXPECT_EQ(nul.bodyBytes, std::string("before\0after", 12));

  FetchPageOptions missing;
  EXPECT_EQ(FetchPage(portal.Url("/_test/status/404"), missing),
            "<html><body>status 404</body></html>");
  EXPECT_EQ(missing.statusText, "404 Not Found");
}

TEST(FetchPage, FailuresGiveEmptyTextAndTheirMessage) {
  int closedPort;
  {
    RawHttpServer gone;
    closedPort = gone.Port();
  }
  RawHttpServer server;
  struct Case {
    std::string address;
    Text extraHeaders;
    Text status;
  };
  const Case cases[] = {
      {"www.example.com/page", "", "701 解析URL地址失败!"_gbk},
      {"ftp://127.0.0.1/file", "", "701 解析URL地址失败!"_gbk},
      {"http:///path", "", "701 解析URL地址失败!"_gbk},
      {"http://127.0.0.1:99999/", "", "701 解析URL地址失败!"_gbk},
      {server.Base() + "/", "no colon here", "710 设置协议头失败!"_gbk},
      {"http://127.0.0.1:" + std::to_string(closedPort) + "/", "", "711 发送请求失败!"_gbk},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    FetchPageOptions o;
    o.extraHeaders = c.extraHeaders;
    EXPECT_EQ(FetchPage(c.address, o), "");
    EXPECT_EQ(o.statusText, c.status);
    EXPECT_EQ(o.returnedHeaders, "");
  }
  EXPECT_TRUE(server.Requests().empty());
}

TEST(FetchPage, RequestedObject) {
  RawHttpServer server;
  struct Case {
    Text address;  // after the server's base
    std::string requestLine;
  };
  const Case cases[] = {
      {"?q=1", "GET / HTTP/1.1"},  // no path: "/" and the query is dropped
      {"", "GET / HTTP/1.1"},
      {"/A/b?X=Y#frag", "GET /A/b?X=Y HTTP/1.1"},
      {"/a b/" + "影"_gbk + "?k=%41", "GET /a%20b/%E5%BD%B1?k=%41 HTTP/1.1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requestLine);
    FetchPageOptions o;
    EXPECT_EQ(FetchPage(server.Base() + c.address, o), "ok");
    EXPECT_EQ(server.LastRequest().RequestLine(), c.requestLine);
  }
}

TEST(FetchPage, CredentialsAndProxy) {
  RawHttpServer proxy;
  FetchPageOptions o;
  o.proxy = "127.0.0.1:" + std::to_string(proxy.Port());
  o.serverUser = "u";
  o.serverPassword = "p";
  o.proxyUser = "pu";
  o.proxyPassword = "pp";
  // The proxy answers; the named host is never looked up.
  EXPECT_EQ(FetchPage("http://portal.invalid/x", o), "ok");
  RawRequest seen = proxy.LastRequest();
  EXPECT_EQ(seen.RequestLine(), "GET http://portal.invalid/x HTTP/1.1");
  EXPECT_NE(seen.head.find("\r\nAuthorization: Basic dTpw\r\n"), std::string::npos) << seen.head;
  EXPECT_NE(seen.head.find("\r\nProxy-Authorization: Basic cHU6cHA=\r\n"), std::string::npos);

  // Half a login is no login.
  RawHttpServer server;
  FetchPageOptions half;
  half.serverUser = "u";
  FetchPage(server.Base() + "/", half);
  EXPECT_EQ(server.LastRequest().head.find("Authorization"), std::string::npos);
}

TEST(FetchPage, BodyIsCappedAndReportedAsCut) {
  TestPortal portal;
  FetchPageOptions o;
  Text text = FetchPage(portal.Url("/_test/huge"), o);
  EXPECT_EQ(o.bodyBytes.size(), kMaxBodyBytes);
  EXPECT_EQ(text.size(), kMaxBodyBytes);
  EXPECT_EQ(o.statusText, "713 读取数据失败!"_gbk);
  EXPECT_NE(o.returnedHeaders.find("200 OK"), Text::npos);
}

TEST(FetchPage, ConcurrentCallsStayApart) {
  TestPortal portal;
  std::vector<std::thread> threads;
  std::vector<Text> texts(8);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    threads.emplace_back([&, i] {
      FetchPageOptions o;
      o.extraHeaders = "X-Call: " + std::to_string(i);
      texts[i] = FetchPage(portal.Url("/_test/echo"), o);
    });
  }
  for (auto& t : threads) t.join();
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_NE(texts[i].find("X-Call: " + std::to_string(i) + "\r\n"), Text::npos) << texts[i];
  }
}

}  // namespace
}  // namespace yz
