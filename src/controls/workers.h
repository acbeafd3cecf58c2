// Worker threads started by events. Every worker is tracked so that the
// program can ask running requests to stop and join them all before it ends;
// nothing a worker uses is destroyed under it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace yz {

class Workers {
 public:
  Workers() = default;
  ~Workers();  // Shutdown()
  Workers(const Workers&) = delete;
  Workers& operator=(const Workers&) = delete;

  // Runs `work` on a new thread. Exceptions are caught and logged. After
  // Shutdown() nothing new is started.
  void Start(std::function<void()> work);
  // Blocks until no worker runs (workers started meanwhile included).
  void WaitIdle();
  // Raises the stop flag (requests in flight end early) and joins every worker.
  void Shutdown();
  // Requests pass this to abandon their exchange once the program is ending.
  const std::atomic<bool>& StopFlag() const { return stop_; }
  int Running() const;

 private:
  void ReapFinished();

  mutable std::mutex mutex_;
  std::condition_variable idle_;
  std::map<std::uint64_t, std::thread> threads_;
  std::vector<std::uint64_t> finished_;
  std::uint64_t nextId_ = 1;
  int running_ = 0;
  std::atomic<bool> stop_{false};
};

}  // namespace yz
