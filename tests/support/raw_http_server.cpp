#include "raw_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>

namespace yz::testing {
namespace {

constexpr int kPollMs = 20;
constexpr auto kReadLimit = std::chrono::seconds(5);

// Content-Length of a request head, 0 when absent.
std::size_t ContentLength(const std::string& head) {
  std::string lower;
  for (char c : head) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  auto pos = lower.find("\r\ncontent-length:");
  if (pos == std::string::npos) return 0;
  return std::strtoul(lower.c_str() + pos + 17, nullptr, 10);
}

bool WaitReadable(int fd, int ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, ms) > 0;
}

}  // namespace

std::string RawHttpServer::Response(const std::string& status,
                                    const std::vector<std::string>& headers,
                                    const std::string& body) {
  std::string r = "HTTP/1.1 " + status + "\r\n";
  for (const auto& h : headers) r += h + "\r\n";
  r += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  return r + body;
}

RawHttpServer::RawHttpServer(Responder responder) : responder_(std::move(responder)) {
  if (!responder_) {
    responder_ = [](const RawRequest&) { return Response("200 OK", {}, "ok"); };
  }
  listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (listener_ < 0) return;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(listener_);
    listener_ = -1;
    return;
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { Serve(); });
}

RawHttpServer::~RawHttpServer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  if (listener_ >= 0) ::close(listener_);
}

std::vector<RawRequest> RawHttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

RawRequest RawHttpServer::LastRequest() const {
  std::lock_guard lock(mutex_);
  return requests_.empty() ? RawRequest{} : requests_.back();
}

void RawHttpServer::Serve() {
  while (!stop_) {
    if (!WaitReadable(listener_, kPollMs)) continue;
    int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) continue;
    Handle(connection);
    ::close(connection);
  }
}

void RawHttpServer::Handle(int connection) {
  std::string data;
  std::size_t headEnd = std::string::npos;
  std::size_t wanted = 0;
  auto deadline = std::chrono::steady_clock::now() + kReadLimit;
  char buffer[16384];
  while (!stop_ && std::chrono::steady_clock::now() < deadline) {
    if (headEnd != std::string::npos && data.size() >= headEnd + 4 + wanted) break;
    if (!WaitReadable(connection, kPollMs)) continue;
    ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    data.append(buffer, static_cast<std::size_t>(n));
    if (headEnd == std::string::npos && (headEnd = data.find("\r\n\r\n")) != std::string::npos)
      wanted = ContentLength(data.substr(0, headEnd + 2));
  }
  if (headEnd == std::string::npos) return;
  RawRequest request{data.substr(0, headEnd + 2), data.substr(headEnd + 4, wanted)};
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  std::string response = responder_(request);
  for (std::size_t sent = 0; sent < response.size();) {
    ssize_t n = ::send(connection, response.data() + sent, response.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  ::shutdown(connection, SHUT_WR);
}

}  // namespace yz::testing
