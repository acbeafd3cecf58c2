// A small portal of sample pages on 127.0.0.1, for tests, the demo and the
// benchmarks.
//
// A request for PATH is answered with the file PAGES/PATH (PAGES/PATH/index.html
// for a folder). A request with a query Q first tries PAGES/PATH/Q, with Q
// percent-decoded and every '/' in it written as "%2F"; then PAGES/PATH.
// Otherwise 404 with a small page. In text files (html, htm, txt, js, json and
// files without an extension) the token {{BASE}} becomes "http://" + the
// request's Host header, so absolute addresses point back at this server.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace yz {

class SamplePortal {
 public:
  struct Options {
    std::string pagesDir;
    int delayMs = 0;  // added before every response
  };

  explicit SamplePortal(Options options);
  ~SamplePortal();  // Stop()
  SamplePortal(const SamplePortal&) = delete;
  SamplePortal& operator=(const SamplePortal&) = delete;

  // Listens on 127.0.0.1:port (0 = a free port) on a background thread;
  // returns the bound port, or -1.
  int Start(int port = 0);
  void Stop();
  int Port() const { return port_; }
  std::string Base() const;  // "http://127.0.0.1:PORT"

  // The underlying server, to add routes before Start() (tests).
  httplib::Server& Server() { return *server_; }

 private:
  Options options_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = -1;
};

}  // namespace yz
