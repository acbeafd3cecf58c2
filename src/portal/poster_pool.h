// Loads the posters of a list load's rows concurrently: a bounded number of
// runners (threads of ctx.workers, so shutdown joins them) take the rows in
// the order they were added, and each poster lands in its row as it arrives.
// Each runner keeps its connection open from one poster to the next, so the
// pool opens about as many connections as it has runners, not one per poster. Once the
// load is superseded the remaining posters are dropped unrequested.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "net/session.h"
#include "portal/context.h"

namespace yz {

class PosterPool : public std::enable_shared_from_this<PosterPool> {
 public:
  static constexpr int kDefaultRunners = 6;

  // `onDone` runs once, on whichever thread finishes last, after Close() and
  // after every added poster has landed or been dropped.
  static std::shared_ptr<PosterPool> Create(Context ctx, ListLoad load,
                                            std::function<void()> onDone,
                                            int maxRunners = kDefaultRunners);

  // Requests `address` and puts its bytes, whatever they are, into `row`
  // (an empty address gives empty bytes without a request).
  void Add(int row, const Text& address);
  // No more rows will be added.
  void Close();

 private:
  struct Job {
    int row;
    Text address;
  };

  PosterPool(Context ctx, ListLoad load, std::function<void()> onDone, int maxRunners);
  void Run();
  // The poster's bytes, whatever they are; empty bytes for an empty address.
  Bytes Fetch(const Text& address, net::Session* session) const;
  // Takes the done callback when everything has finished; call under mutex_.
  std::function<void()> TakeDoneIfFinished();

  const Context ctx_;
  const ListLoad load_;
  const int maxRunners_;
  std::mutex mutex_;
  std::deque<Job> queue_;
  int runners_ = 0;
  bool closed_ = false;
  std::function<void()> onDone_;
};

}  // namespace yz
