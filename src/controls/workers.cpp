#include "controls/workers.h"

#include <cstdio>
#include <exception>

namespace yz {

Workers::~Workers() { Shutdown(); }

void Workers::Start(std::function<void()> work) {
  std::lock_guard lock(mutex_);
  if (stop_) return;
  ReapFinished();
  std::uint64_t id = nextId_++;
  ++running_;
  threads_.emplace(id, std::thread([this, id, work = std::move(work)] {
    try {
      work();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "yingzhou: worker failed: %s\n", e.what());
    } catch (...) {
      std::fprintf(stderr, "yingzhou: worker failed\n");
    }
    std::lock_guard lock(mutex_);
    finished_.push_back(id);
    --running_;
    idle_.notify_all();
  }));
}

void Workers::ReapFinished() {
  for (std::uint64_t id : finished_) {
    auto it = threads_.find(id);
    if (it != threads_.end()) {
      it->second.join();
      threads_.erase(it);
    }
  }
  finished_.clear();
}

void Workers::WaitIdle() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return running_ == 0; });
  ReapFinished();
}

void Workers::Shutdown() {
  stop_ = true;
  std::map<std::uint64_t, std::thread> all;
  {
    std::unique_lock lock(mutex_);
    idle_.wait(lock, [this] { return running_ == 0; });
    all.swap(threads_);
    finished_.clear();
  }
  for (auto& [id, t] : all) {
    if (t.joinable()) t.join();
  }
}

int Workers::Running() const {
  std::lock_guard lock(mutex_);
  return running_;
}

}  // namespace yz
