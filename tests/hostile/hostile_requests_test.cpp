// Both page requests against servers that trickle, break off, reset, send
// garbage or point elsewhere than http(s).
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <thread>

#include "hostile_server.h"
#include "net/fetch.h"
#include "test_portal.h"

namespace yz::testing {
namespace {

using namespace yz::literals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// A literal with the NULs inside it.
template <std::size_t N>
std::string Literal(const char (&s)[N]) {
  return std::string(s, N - 1);
}

const Text k713 = "713 读取数据失败!"_gbk;
const Text k712 = "712 服务器未响应!"_gbk;

TEST(HostileRequests, TricklingServerIsLeftAtTheDeadline) {
  // Each byte comes well within the idle time-out, so only the deadline for
  // the whole exchange (four time-outs) ends it.
  HostileServer server([](HostileConnection& c) {
    if (c.Path() == "/headers") {
      // A header block that never ends, one line at a time.
      c.Send("HTTP/1.1 200 OK\r\n");
      while (c.Pause(300ms) && c.Send("X-More: 1\r\n")) {
      }
    } else {
      c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\nabc") &&
          c.Trickle(std::string(100000, 'x'), 300ms);
    }
  });
  struct Outcome {
    Text text, status;
    double seconds = 0;
  };
  Outcome body, headers;
  auto fetch = [&](const std::string& path, Outcome& out) {
    FetchPageOptions o;
    o.timeoutSeconds = 1;
    auto start = Clock::now();
    out.text = FetchPage(server.Base() + path, o);
    out.seconds = SecondsSince(start);
    out.status = o.statusText;
  };
  std::thread a(fetch, "/body", std::ref(body));
  std::thread b(fetch, "/headers", std::ref(headers));
  a.join();
  b.join();

  EXPECT_EQ(body.status, k713);  // what came is kept
  EXPECT_EQ(body.text.substr(0, 4), "abcx");
  EXPECT_EQ(headers.status, k712);
  EXPECT_EQ(headers.text, "");
  for (double s : {body.seconds, headers.seconds}) {
    EXPECT_GE(s, 3.9);
    EXPECT_LT(s, 5.5);
  }
}

TEST(HostileRequests, ResetPartWayKeepsWhatCame) {
  HostileServer server([](HostileConnection& c) {
    c.Send("HTTP/1.1 200 OK\r\nContent-Length: 10000\r\n\r\n" + std::string(3000, 'r'));
    c.Pause(50ms);
    c.Reset();
  });
  FetchPageOptions o;
  EXPECT_EQ(FetchPage(server.Base() + "/", o), std::string(3000, 'r'));
  EXPECT_EQ(o.statusText, k713);
  EXPECT_EQ(FetchPageInet(server.Base() + "/"), std::string(3000, 'r'));
}

TEST(HostileRequests, RedirectLoopEndsAfterTenHops) {
  // Every answer sends the client one step further, never to the same address.
  HostileServer server([](HostileConnection& c) {
    c.Send("HTTP/1.1 302 Found\r\nLocation: " + c.Path() +
           "x\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
  });
  FetchPageOptions o;
  EXPECT_EQ(FetchPage(server.Base() + "/", o), "");
  EXPECT_EQ(o.statusText, k712);
  EXPECT_EQ(server.ConnectionCount(), 11);
  EXPECT_EQ(FetchPageInet(server.Base() + "/"), "");
  EXPECT_EQ(server.ConnectionCount(), 22);
}

TEST(HostileRequests, GarbageAnswers) {
  struct Case {
    const char* name;
    std::string answer;
    std::optional<Text> text;  // FetchPage's text, when it is fixed
    Text status;
  };
  const std::string invalidGbk = "\x81\xFF\xFE\x80 <b>\x81";
  const Case cases[] = {
      {"not http at all", "\x16\x03\x01 garbage\r\n\r\nmore", "", k712},
      {"reset before a byte", "", "", k712},
      {"header block never ends", "HTTP/1.1 200 OK\r\nX: " + std::string(3 << 20, 'h'), "", k712},
      {"invalid GBK body", HostileServer::Response(invalidGbk), invalidGbk, "200 OK"},
      {"NUL byte in a header line", Literal("HTTP/1.1 200 OK\r\nX-A: a\0b\r\n\r\nab"), "",
       k712},
      {"NUL byte in the body", HostileServer::Response(Literal("ab\0cdef")), "ab", "200 OK"},
      {"body longer than announced", "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nabcdef", "ab",
       "200 OK"},
      {"charset nobody knows", HostileServer::Response("<meta charset=\"x-\x81\x82\">page"),
       "<meta charset=\"x-\x81\x82\">page", "200 OK"},
      {"utf-16 declared over odd bytes", HostileServer::Response("<meta charset=utf-16>abc"),
       std::nullopt, "200 OK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostileServer server([&](HostileConnection& conn) {
      if (c.answer.empty()) conn.Reset();
      conn.Send(c.answer);
    });
    FetchPageOptions o;
    o.timeoutSeconds = 2;
    Text text = FetchPage(server.Base() + "/", o);
    if (c.text) {
      EXPECT_EQ(text, *c.text);
    }
    EXPECT_EQ(o.statusText, c.status);
    FetchPageInet(server.Base() + "/");  // whatever it gives, it returns
  }
}

TEST(HostileRequests, OnlyHttpAndHttpsAreRequested) {
  // A local file that must never be read through either request.
  const std::string file = ::testing::TempDir() + "yz_hostile_secret.txt";
  std::ofstream(file) << "secret";
  HostileServer server([](HostileConnection& c) { c.Send(HostileServer::Response("served")); });
  const Text addresses[] = {
      "file://" + file,
      "FILE://" + file,
      "file:" + file,
      "javascript:alert(1)",
      "JavaScript:fetch('http://127.0.0.1:" + std::to_string(server.Port()) + "/')",
      "data:text/html,<b>x</b>",
      "ftp://127.0.0.1:" + std::to_string(server.Port()) + "/",
      "gopher://127.0.0.1:" + std::to_string(server.Port()) + "/",
      "dict://127.0.0.1:" + std::to_string(server.Port()) + "/",
      "about:blank",
  };
  for (const Text& a : addresses) {
    SCOPED_TRACE(a);
    FetchPageOptions o;
    EXPECT_EQ(FetchPage(a, o), "");
    EXPECT_EQ(o.bodyBytes, "");
    EXPECT_EQ(FetchPageInet(a), "");
  }
  EXPECT_EQ(server.ConnectionCount(), 0);

  // A redirect to another scheme is not followed either.
  HostileServer redirecting([&](HostileConnection& c) {
    c.Send("HTTP/1.1 302 Found\r\nLocation: file://" + file + "\r\nContent-Length: 0\r\n\r\n");
  });
  FetchPageOptions o;
  EXPECT_EQ(FetchPage(redirecting.Base() + "/", o), "");
  EXPECT_EQ(o.statusText, k712);
  EXPECT_EQ(FetchPageInet(redirecting.Base() + "/"), "");
  // Addresses that only look like a scheme still reach their host.
  EXPECT_EQ(FetchPageInet("127.0.0.1:" + std::to_string(server.Port()) + "/x"), "served");
  EXPECT_EQ(FetchPageInet("localhost:" + std::to_string(server.Port()) + "/x"), "served");
}

}  // namespace
}  // namespace yz::testing
