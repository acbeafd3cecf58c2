#include "delaying_relay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace yz::bench {

namespace {

constexpr int kPollMs = 20;  // how often a waiting thread looks at the stop flag

sockaddr_in Loopback(int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(static_cast<uint16_t>(port));
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return a;
}

void NoDelay(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

// Moves what `from` has to `to`; false once either side is done.
bool Pass(int from, int to) {
  char buffer[16384];
  ssize_t n = recv(from, buffer, sizeof buffer, 0);
  if (n <= 0) return false;
  for (ssize_t sent = 0; sent < n;) {
    ssize_t k = send(to, buffer + sent, static_cast<std::size_t>(n - sent), MSG_NOSIGNAL);
    if (k <= 0) return false;
    sent += k;
  }
  return true;
}

}  // namespace

DelayingRelay::DelayingRelay(int upstreamPort, int connectDelayMs)
    : upstreamPort_(upstreamPort), delayMs_(connectDelayMs) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a = Loopback(0);
  socklen_t length = sizeof a;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      listen(listener_, 64) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &length) != 0)
    return;
  port_ = ntohs(a.sin_port);
  acceptor_ = std::thread([this] { AcceptLoop(); });
}

DelayingRelay::~DelayingRelay() {
  stop_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  std::lock_guard lock(mutex_);
  for (std::thread& t : relays_) t.join();
  if (listener_ >= 0) close(listener_);
}

void DelayingRelay::AcceptLoop() {
  while (!stop_) {
    pollfd p{listener_, POLLIN, 0};
    if (poll(&p, 1, kPollMs) <= 0) continue;
    int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++accepted_;
    std::lock_guard lock(mutex_);
    relays_.emplace_back([this, client] { Relay(client); });
  }
}

void DelayingRelay::Relay(int client) {
  NoDelay(client);
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(delayMs_);
  while (!stop_ && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a = Loopback(upstreamPort_);
  if (server >= 0 && connect(server, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) {
    NoDelay(server);
    pollfd p[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    bool open = true;
    while (open && !stop_) {
      if (poll(p, 2, kPollMs) <= 0) continue;
      if (p[0].revents) open = Pass(client, server);
      if (open && p[1].revents) open = Pass(server, client);
    }
  }
  if (server >= 0) close(server);
  close(client);
}

}  // namespace yz::bench
