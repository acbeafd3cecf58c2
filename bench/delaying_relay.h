// A TCP relay on 127.0.0.1 in front of a local server: each new connection
// waits a set time before its bytes are passed on, as the handshake over a
// long path would make it wait, then carries bytes both ways unchanged. It
// lets a loopback benchmark show what opening a connection costs.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace yz::bench {

class DelayingRelay {
 public:
  DelayingRelay(int upstreamPort, int connectDelayMs);
  ~DelayingRelay();  // closes every connection and joins its threads
  DelayingRelay(const DelayingRelay&) = delete;
  DelayingRelay& operator=(const DelayingRelay&) = delete;

  int Port() const { return port_; }  // -1 when it could not listen
  int Connections() const { return accepted_; }

 private:
  void AcceptLoop();
  void Relay(int client);

  const int upstreamPort_;
  const int delayMs_;
  int listener_ = -1;
  int port_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::thread> relays_;
};

}  // namespace yz::bench
