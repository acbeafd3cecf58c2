// A bare HTTP server on 127.0.0.1 for tests that must see a request byte for
// byte or answer with bytes no ordinary server would send. Each connection
// gets one response and is closed; connections are served one at a time.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace yz::testing {

struct RawRequest {
  std::string head;  // request line and header lines, each ending CR LF, without the empty line
  std::string body;  // as many bytes as Content-Length announced

  std::string RequestLine() const { return head.substr(0, head.find("\r\n")); }
  // The header lines without the request line.
  std::string Headers() const {
    auto end = head.find("\r\n");
    return end == std::string::npos ? std::string() : head.substr(end + 2);
  }
};

class RawHttpServer {
 public:
  // Makes the raw response to a request.
  using Responder = std::function<std::string(const RawRequest&)>;

  // "HTTP/1.1 <status>" with the given header lines, Content-Length and
  // Connection: close, then the body.
  static std::string Response(const std::string& status, const std::vector<std::string>& headers,
                              const std::string& body);

  // Answers every request with `responder` (default: 200 and "ok").
  explicit RawHttpServer(Responder responder = nullptr);
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int Port() const { return port_; }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  std::vector<RawRequest> Requests() const;
  RawRequest LastRequest() const;  // empty when none came

 private:
  void Serve();
  void Handle(int connection);

  Responder responder_;
  int listener_ = -1;
  int port_ = -1;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<RawRequest> requests_;
  std::thread thread_;
};

}  // namespace yz::testing
