// A session keeps the connections of the requests run through it open for
// the next request, so a run of requests to one server (a search's posters)
// connects once instead of once per request. Requests through one session
// run one at a time (a poster runner's thread); its connections close when
// the session goes.
#pragma once

#include <memory>

namespace yz::net {

class Session {
 public:
  // nullptr when the HTTP library cannot make one.
  static std::unique_ptr<Session> Create();
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The library's multi handle, which holds the open connections.
  void* Handle() const { return multi_; }

 private:
  explicit Session(void* multi) : multi_(multi) {}
  void* multi_;
};

}  // namespace yz::net
