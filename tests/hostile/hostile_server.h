// A server on 127.0.0.1 that answers the way no well-behaved server would:
// each connection runs a script of its own on its own thread (trickle bytes,
// break off, reset, send garbage). Stopping the server ends every script at
// its next step and joins its thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace yz::testing {

class HostileServer;

class HostileConnection {
 public:
  HostileConnection(HostileServer& server, int socket, std::string requestHead);

  // The request line and header lines as they came.
  const std::string& RequestHead() const { return head_; }
  // The path of the request line ("/a?b").
  std::string Path() const;

  // False once the peer has gone or the server stops.
  bool Send(std::string_view bytes);
  // One byte per `gap`.
  bool Trickle(std::string_view bytes, std::chrono::milliseconds gap);
  // Sleeps up to `d`; false when the server stops meanwhile.
  bool Pause(std::chrono::milliseconds d);
  // Ends the connection with a reset instead of an orderly close.
  void Reset() { reset_ = true; }
  bool ResetRequested() const { return reset_; }

 private:
  HostileServer& server_;
  int socket_;
  std::string head_;
  bool reset_ = false;
};

class HostileServer {
 public:
  using Script = std::function<void(HostileConnection&)>;

  // "HTTP/1.1 200 OK" with Content-Length and Connection: close.
  static std::string Response(std::string_view body, std::string_view contentType = "text/html");

  explicit HostileServer(Script script);
  ~HostileServer();
  HostileServer(const HostileServer&) = delete;
  HostileServer& operator=(const HostileServer&) = delete;

  std::string Base() const { return "http://127.0.0.1:" + std::to_string(port_); }
  int Port() const { return port_; }
  int ConnectionCount() const { return connections_.load(); }

  // Sleeps up to `d`; false when the server stops meanwhile.
  bool Pause(std::chrono::milliseconds d);
  bool Stopping() const { return stop_.load(); }

 private:
  void Accept();
  void Serve(int socket);

  Script script_;
  int listener_ = -1;
  int port_ = -1;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

}  // namespace yz::testing
