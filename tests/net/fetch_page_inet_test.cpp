#include <gtest/gtest.h>

#include <string>

#include "net/fetch.h"
#include "net/request_address.h"
#include "raw_http_server.h"
#include "test_portal.h"

namespace yz {
namespace {

using namespace literals;
using testing::RawHttpServer;
using testing::RawRequest;
using testing::TestPortal;

const std::string kAgentLine = "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)\r\n";

TEST(FetchPageInet, SendsExactlyTheHeaderBlock) {
  RawHttpServer server;
  const Text address = server.Base() + "/poster.jpg";
  const Text defaults = "Accept: */*\r\nReferer: " + address +
                        "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";
  struct Case {
    const char* name;
    Text extraHeaders;
    std::optional<Text> sendCookies;
    Text blockSent;          // extraHeaders on return
    std::string agentLine;   // the user-agent line on the wire, before the block
  };
  const Case cases[] = {
      {"defaults", "", std::nullopt, defaults, kAgentLine},
      {"cookie", "", "a=1", defaults + "\r\nCookie: a=1", kAgentLine},
      {"cookie line", "", "Cookie: a=1", defaults + "\r\nCookie: a=1", kAgentLine},
      {"caller's agent and accept", "User-Agent: Mine/2.0\r\nAccept: image/*", std::nullopt,
       "User-Agent: Mine/2.0\r\nAccept: image/*\r\nReferer: " + address +
           "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded",
       ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FetchPageInetOptions o;
    o.extraHeaders = c.extraHeaders;
    o.sendCookies = c.sendCookies;
    EXPECT_EQ(FetchPageInet(address, o), "ok");
    EXPECT_EQ(o.extraHeaders, c.blockSent);
    EXPECT_EQ(server.LastRequest().head, "GET /poster.jpg HTTP/1.1\r\nHost: 127.0.0.1:" +
                                             std::to_string(server.Port()) + "\r\n" +
                                             c.agentLine + c.blockSent + "\r\n");
  }
}

TEST(FetchPageInet, RequestedHostAndObject) {
  RawHttpServer server;
  const std::string port = std::to_string(server.Port());
  struct Case {
    Text address;
    std::string requestLine;
    std::string host;
  };
  const Case cases[] = {
      {"http://LOCALHOST:" + port + "/Path/Mixed.JPG?Q=A", "GET /Path/Mixed.JPG?Q=A HTTP/1.1",
       "localhost:" + port},
      {"127.0.0.1:" + port + "/No/Scheme", "GET /No/Scheme HTTP/1.1", "127.0.0.1:" + port},
      {"HTTP://127.0.0.1:" + port + "?q=1", "GET / HTTP/1.1", "127.0.0.1:" + port},
      {"http://127.0.0.1:" + port + "/a b/" + "影"_gbk, "GET /a%20b/%E5%BD%B1 HTTP/1.1",
       "127.0.0.1:" + port},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(FetchPageInet(c.address), "ok");
    RawRequest seen = server.LastRequest();
    EXPECT_EQ(seen.RequestLine(), c.requestLine);
    EXPECT_NE(seen.head.find("\r\nHost: " + c.host + "\r\n"), std::string::npos) << seen.head;
  }
}

TEST(FetchPageInet, AddressSplitting) {
  struct Case {
    Text address;
    std::string host;
    int port;
    std::string object;
    bool https;
  };
  const Case cases[] = {
      {"http://Www.Example.COM/Img/A.jpg", "www.example.com", 80, "/Img/A.jpg", false},
      {"www.example.com", "www.example.com", 80, "/", false},
      {"https://Secure.example.com/x", "secure.example.com", 443, "/x", true},
      {"https://secure.example.com:8443", "secure.example.com", 8443, "/", true},
      {"example.com:8080/p?q=/r", "example.com", 8080, "/p?q=/r", false},
      {"http://example.com?next=/a/b", "example.com", 80, "/", false},
      // A scheme inside the query does not name the host.
      {"example.com/go?to=http://other.org/", "example.com", 80, "/go?to=http://other.org/", false},
      {"http://[::1]:81/v6", "[::1]", 81, "/v6", false},
      {"http://example.com:notaport/x", "example.com", 80, "/x", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    net::InetAddress a = net::SplitInetAddress(c.address);
    EXPECT_EQ(a.host, c.host);
    EXPECT_EQ(a.port, c.port);
    EXPECT_EQ(a.object, c.object);
    EXPECT_EQ(a.https, c.https);
  }
}

TEST(FetchPageInet, PostBodyComesFromPostData) {
  RawHttpServer server;
  struct Case {
    int method;
    std::string requestLine;
    std::string body;
  };
  const Case cases[] = {
      {1, "POST / HTTP/1.1", "k=v"},
      {9, "GET / HTTP/1.1", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requestLine);
    FetchPageInetOptions o;
    o.method = c.method;
    o.postData = "k=v";
    FetchPageInet(server.Base(), o);
    EXPECT_EQ(server.LastRequest().RequestLine(), c.requestLine);
    EXPECT_EQ(server.LastRequest().body, c.body);
    EXPECT_EQ(o.postBytes, c.body);
  }
}

TEST(FetchPageInet, RawBodiesCookiesAndRedirects) {
  TestPortal portal;
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/nul")), std::string("before\0after", 12));
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/status/404")), "<html><body>status 404</body></html>");

  FetchPageInetOptions cookies;
  FetchPageInet(portal.Url("/_test/cookies"), cookies);
  EXPECT_EQ(cookies.returnedCookies, "a=1; b=2");
  EXPECT_NE(cookies.returnedHeaders.find("\r\nSet-Cookie: a=1; path=/\r\n"), Text::npos);

  FetchPageInetOptions followed;
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/chain/3"), followed), "end of chain");
  FetchPageInetOptions kept;
  kept.noRedirect = true;
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/chain/3"), kept), "moved to /_test/chain/2");
  EXPECT_NE(kept.returnedHeaders.find("\r\nLocation: /_test/chain/2\r\n"), Text::npos);
}

// A header block past the old 5000-byte limit still arrives whole, and its
// cookie is found.
TEST(FetchPageInet, LongHeaderBlockArrivesWhole) {
  TestPortal portal;
  FetchPageInetOptions o;
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/big-headers?bytes=12000"), o), "big headers");
  EXPECT_GT(o.returnedHeaders.size(), 12000u);
  EXPECT_EQ(o.returnedHeaders.substr(0, 17), "HTTP/1.1 200 OK\r\n");
  EXPECT_EQ(o.returnedHeaders.substr(o.returnedHeaders.size() - 4), "\r\n\r\n");
  EXPECT_EQ(o.returnedCookies, "big=1");
}

TEST(FetchPageInet, FailuresGiveEmptyBytes) {
  int closedPort;
  {
    RawHttpServer gone;
    closedPort = gone.Port();
  }
  FetchPageInetOptions o;
  EXPECT_EQ(FetchPageInet("http://127.0.0.1:" + std::to_string(closedPort) + "/x", o), "");
  EXPECT_EQ(o.returnedHeaders, "");
  EXPECT_EQ(o.returnedCookies, "");
  EXPECT_EQ(FetchPageInet(""), "");
}

TEST(FetchPageInet, BodyIsCapped) {
  TestPortal portal;
  EXPECT_EQ(FetchPageInet(portal.Url("/_test/huge")).size(), kMaxBodyBytes);
}

}  // namespace
}  // namespace yz
