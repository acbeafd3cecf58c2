#include "test_routes.h"

#include <httplib.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace yz {
namespace {

using httplib::Request;
using httplib::Response;

long long Number(const std::string& digits, long long fallback) {
  try {
    return std::stoll(digits);
  } catch (...) {
    return fallback;
  }
}

long long NumberParam(const Request& req, const char* name, long long fallback) {
  return req.has_param(name) ? Number(req.get_param_value(name), fallback) : fallback;
}

int StatusParam(long long code) { return code >= 100 && code <= 599 ? static_cast<int>(code) : 500; }

void Echo(const Request& req, Response& res) {
  std::string text = req.method + " " + req.target + "\r\n";
  for (const auto& [name, value] : req.headers) {
    // The server adds these itself; they were not sent.
    if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR" ||
        name == "LOCAL_PORT")
      continue;
    text += name + ": " + value + "\r\n";
  }
  text += "\r\n" + req.body;
  res.set_content(text, "text/plain");
}

void Redirect(Response& res, int code, const std::string& to) {
  res.status = code;
  res.set_header("Location", to);
  res.set_content("moved to " + to, "text/plain");
}

// GBK bytes: 影舟 中文, and 镕, a character GB2312 lacks.
constexpr char kGbkTitle[] = "\xD3\xB0\xD6\xDB";
constexpr char kGbkBody[] = "\xD6\xD0\xCE\xC4\xE9\x46";

std::string CharsetPage(const std::string& name) {
  auto page = [](const std::string& charset, const std::string& title, const std::string& body,
                 const std::string& before = "") {
    return "<html><head>" + before + "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
           charset + "\"><title>" + title + "</title></head><body>" + body + "</body></html>";
  };
  if (name == "utf-8") return page("utf-8", "影舟", "中文镕");
  if (name == "GBK") return page("GBK", kGbkTitle, kGbkBody);
  if (name == "gb2312") return page("gb2312", kGbkTitle, kGbkBody);
  if (name == "late") return page("utf-8", "影舟", "中文镕", "<!--" + std::string(1100, '-') + "-->");
  if (name == "unknown") return page("x-no-such-charset", kGbkTitle, kGbkBody);
  return {};
}

void BigHeaders(const Request& req, Response& res) {
  long long wanted = NumberParam(req, "bytes", 8000);
  std::string filler(100, 'f');
  long long size = 0;
  // Names sort before "Set-Cookie", so the cookie comes after the filler.
  for (int i = 0; size < wanted; ++i) {
    std::string name = "A-Filler-" + std::to_string(1000 + i);
    res.set_header(name.c_str(), filler);
    size += static_cast<long long>(name.size() + filler.size() + 4);
  }
  res.set_header("Set-Cookie", "big=1");
  res.set_content("big headers", "text/plain");
}

void Huge(const Request& req, Response& res) {
  auto total = static_cast<std::size_t>(std::max(0LL, NumberParam(req, "bytes", 65LL << 20)));
  res.set_content_provider(total, "application/octet-stream",
                           [](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                             static const std::string kChunk(64 * 1024, 'x');
                             std::size_t n = std::min(length, kChunk.size());
                             (void)offset;
                             return sink.write(kChunk.data(), n);
                           });
}

// Waits until `until` or until the stalls are released.
void Wait(std::chrono::steady_clock::time_point until, const std::atomic<bool>& released) {
  while (!released.load() && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void Stall(const Request& req, Response& res, std::shared_ptr<std::atomic<bool>> released) {
  auto until = std::chrono::steady_clock::now() +
               std::chrono::milliseconds(NumberParam(req, "ms", 10000));
  if (NumberParam(req, "headers", 1) == 0) {
    Wait(until, *released);
    res.set_content("late", "text/plain");
    return;
  }
  auto after = static_cast<std::size_t>(std::max(0LL, NumberParam(req, "after", 0)));
  // One byte more than is ever sent, so the body never completes.
  res.set_content_provider(
      after + 1, "text/plain",
      [until, after, released](std::size_t offset, std::size_t, httplib::DataSink& sink) {
        if (offset < after) {
          std::string part(after - offset, 's');
          return sink.write(part.data(), part.size());
        }
        Wait(until, *released);
        return false;  // drop the connection
      });
}

}  // namespace

TestRoutes::TestRoutes(httplib::Server& server)
    : released_(std::make_shared<std::atomic<bool>>(false)) {
  server.Get("/_test/echo", Echo);
  server.Post("/_test/echo", Echo);
  server.Put("/_test/echo", Echo);
  server.Get("/_test/redirect", [](const Request& req, Response& res) {
    Redirect(res, StatusParam(NumberParam(req, "code", 302)), req.get_param_value("to"));
  });
  server.Get(R"(/_test/chain/(\d+))", [](const Request& req, Response& res) {
    long long n = std::min(Number(req.matches[1].str(), 0), 100LL);
    if (n > 0) Redirect(res, 302, "/_test/chain/" + std::to_string(n - 1));
    else res.set_content("end of chain", "text/plain");
  });
  server.Get("/_test/loop", [](const Request&, Response& res) { Redirect(res, 302, "/_test/loop"); });
  auto released = released_;
  server.Get("/_test/stall", [released](const Request& req, Response& res) {
    Stall(req, res, released);
  });
  server.Get(R"(/_test/charset/([-\w]+))", [](const Request& req, Response& res) {
    std::string page = CharsetPage(req.matches[1].str());
    if (page.empty()) res.status = 404;
    res.set_content(page, "text/html");
  });
  server.Get("/_test/nul", [](const Request&, Response& res) {
    res.set_content(std::string("before\0after", 12), "text/html");
  });
  server.Get("/_test/cookies", [](const Request&, Response& res) {
    res.set_header("Set-Cookie", "a=1; path=/");
    res.set_header("Set-Cookie", "b=2");
    res.set_content("cookies", "text/plain");
  });
  server.Get(R"(/_test/status/(\d+))", [](const Request& req, Response& res) {
    res.status = StatusParam(Number(req.matches[1].str(), 500));
    res.set_content("<html><body>status " + req.matches[1].str() + "</body></html>", "text/html");
  });
  server.Get("/_test/big-headers", BigHeaders);
  server.Get("/_test/huge", Huge);
}

TestRoutes::~TestRoutes() { ReleaseStalls(); }

void TestRoutes::ReleaseStalls() { released_->store(true); }

}  // namespace yz
