#include "hostile_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace yz::testing {
namespace {

constexpr int kPollMs = 20;
constexpr std::size_t kMaxHead = 64 * 1024;

}  // namespace

HostileConnection::HostileConnection(HostileServer& server, int socket, std::string requestHead)
    : server_(server), socket_(socket), head_(std::move(requestHead)) {}

std::string HostileConnection::Path() const {
  auto first = head_.find(' ');
  if (first == std::string::npos) return {};
  auto second = head_.find(' ', first + 1);
  return head_.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

bool HostileConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    if (server_.Stopping()) return false;
    pollfd p{socket_, POLLOUT, 0};
    int ready = poll(&p, 1, kPollMs);
    if (ready < 0) return false;
    if (ready == 0) continue;
    if (p.revents & (POLLERR | POLLHUP)) return false;
    ssize_t n = send(socket_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool HostileConnection::Trickle(std::string_view bytes, std::chrono::milliseconds gap) {
  for (char c : bytes) {
    if (!Send(std::string_view(&c, 1)) || !server_.Pause(gap)) return false;
  }
  return true;
}

bool HostileConnection::Pause(std::chrono::milliseconds d) { return server_.Pause(d); }

std::string HostileServer::Response(std::string_view body, std::string_view contentType) {
  std::string r = "HTTP/1.1 200 OK\r\nContent-Type: ";
  r += contentType;
  r += "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  r += body;
  return r;
}

HostileServer::HostileServer(Script script) : script_(std::move(script)) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (listener_ < 0) return;
  int one = 1;
  setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
      listen(listener_, 64) != 0) {
    close(listener_);
    listener_ = -1;
    return;
  }
  socklen_t len = sizeof addr;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  acceptor_ = std::thread([this] { Accept(); });
}

HostileServer::~HostileServer() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (acceptor_.joinable()) acceptor_.join();
  // The acceptor is gone: nobody adds threads any more.
  for (auto& t : threads_) t.join();
  if (listener_ >= 0) close(listener_);
}

bool HostileServer::Pause(std::chrono::milliseconds d) {
  std::unique_lock<std::mutex> lock(mutex_);
  return !wake_.wait_for(lock, d, [this] { return stop_.load(); });
}

void HostileServer::Accept() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, kPollMs) <= 0) continue;
    int s = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (s < 0) continue;
    ++connections_;
    std::lock_guard<std::mutex> lock(mutex_);
    threads_.emplace_back([this, s] { Serve(s); });
  }
}

void HostileServer::Serve(int s) {
  std::string head;
  char buffer[4096];
  while (!stop_ && head.find("\r\n\r\n") == std::string::npos && head.size() < kMaxHead) {
    pollfd p{s, POLLIN, 0};
    int ready = poll(&p, 1, kPollMs);
    if (ready < 0) break;
    if (ready == 0) continue;
    ssize_t n = recv(s, buffer, sizeof buffer, 0);
    if (n <= 0) {
      if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
      break;
    }
    head.append(buffer, static_cast<std::size_t>(n));
  }
  head = head.substr(0, head.find("\r\n\r\n"));
  HostileConnection connection(*this, s, head);
  if (!stop_ && !head.empty()) script_(connection);
  if (connection.ResetRequested()) {
    linger hard{1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, &hard, sizeof hard);
  } else {
    shutdown(s, SHUT_WR);
  }
  close(s);
}

}  // namespace yz::testing
