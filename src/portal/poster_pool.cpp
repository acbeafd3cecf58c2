#include "portal/poster_pool.h"

#include <utility>

#include "net/fetch.h"

namespace yz {

std::shared_ptr<PosterPool> PosterPool::Create(Context ctx, ListLoad load,
                                               std::function<void()> onDone, int maxRunners) {
  return std::shared_ptr<PosterPool>(
      new PosterPool(std::move(ctx), std::move(load), std::move(onDone), maxRunners));
}

PosterPool::PosterPool(Context ctx, ListLoad load, std::function<void()> onDone, int maxRunners)
    : ctx_(std::move(ctx)),
      load_(std::move(load)),
      maxRunners_(maxRunners < 1 ? 1 : maxRunners),
      onDone_(std::move(onDone)) {}

void PosterPool::Add(int row, const Text& address) {
  bool startRunner = false;
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(Job{row, address});
    if (runners_ < maxRunners_) {
      ++runners_;
      startRunner = true;
    }
  }
  if (startRunner) {
    auto self = shared_from_this();
    ctx_.workers->Start([self] { self->Run(); });
  }
}

void PosterPool::Close() {
  std::function<void()> done;
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    done = TakeDoneIfFinished();
  }
  if (done) done();
}

std::function<void()> PosterPool::TakeDoneIfFinished() {
  if (!closed_ || runners_ > 0 || !queue_.empty()) return {};
  return std::exchange(onDone_, nullptr);
}

Bytes PosterPool::Fetch(const Text& address, net::Session* session) const {
  if (address.empty()) return {};
  FetchPageInetOptions options;
  if (ctx_.workers) options.cancel = &ctx_.workers->StopFlag();
  options.session = session;
  return FetchPageInet(address, options);
}

void PosterPool::Run() {
  ControlModel& ui = *ctx_.ui;
  // This runner's connection, kept from one poster to the next.
  std::unique_ptr<net::Session> session = net::Session::Create();
  for (;;) {
    // A superseded load (or the program ending) drops what is still queued.
    bool dropRest = !ui.IsCurrent(load_) || ShuttingDown(ctx_);
    Job job;
    std::function<void()> done;
    bool finished = false;
    {
      std::lock_guard lock(mutex_);
      if (dropRest) queue_.clear();
      if (queue_.empty()) {
        --runners_;
        done = TakeDoneIfFinished();
        finished = true;
      } else {
        job = std::move(queue_.front());
        queue_.pop_front();
      }
    }
    if (finished) {
      if (done) done();
      return;
    }
    ui.SetRowPicture(load_, job.row, Fetch(job.address, session.get()));
  }
}

}  // namespace yz
