// Search latency against the sample portal on 127.0.0.1 with a delay before
// every response (--delay-ms, default 50) and, optionally, before the first
// byte of every new connection (--connect-delay-ms, default 0): from starting
// a search to its first row and to its last poster in the control layer, in
// the same run, for
//   as_built                 the program's search: rows at once, posters
//                            through its pool (6 runners, each keeping its
//                            connection);
//   pooled_new_connections   rows at once, 6 posters at a time, a new
//                            connection for each;
//   one_after_another        each poster requested before its row is added,
//                            one after another on the worker thread.
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "delaying_relay.h"
#include "median_reporter.h"
#include "portal/context.h"
#include "portal/page_parsing.h"
#include "portal/readers.h"
#include "sample_portal.h"

namespace yz::bench {
namespace {

using Clock = std::chrono::steady_clock;
using namespace yz::literals;

const char* const kResults = "超级列表框1";
constexpr int kResultCount = 20;  // results of the fixture page, each with its poster
int delayMs = 50;
int connectDelayMs = 0;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Timestamps of one search as the control layer and the server see them.
class SearchWatch {
 public:
  explicit SearchWatch(ControlModel& ui) : ui_(ui) {
    id_ = ui_.Subscribe([this](const Change& c) { OnChange(c); });
  }
  ~SearchWatch() { ui_.Unsubscribe(id_); }

  void Start() {
    std::lock_guard lock(mutex_);
    start_ = Clock::now();
    firstRow_.reset();
    lastPoster_.reset();
    pageServed_.reset();
    pictures_ = 0;
  }
  void PageServed() {
    std::lock_guard lock(mutex_);
    if (!pageServed_) pageServed_ = Clock::now();
  }
  // Waits for every poster; false after 20 s.
  bool WaitForPosters() {
    std::unique_lock lock(mutex_);
    return allIn_.wait_for(lock, std::chrono::seconds(20), [&] { return pictures_ >= kResultCount; });
  }
  void Report(benchmark::State& state) {
    std::lock_guard lock(mutex_);
    double last = Ms(*lastPoster_ - start_);
    state.SetIterationTime(last / 1000);
    state.counters["first_row_ms"] = Ms(*firstRow_ - start_);
    state.counters["page_to_first_row_ms"] = pageServed_ ? Ms(*firstRow_ - *pageServed_) : -1;
    state.counters["last_poster_ms"] = last;
    state.counters["round_trips"] = delayMs > 0 ? last / delayMs : 0;
  }

 private:
  void OnChange(const Change& c) {
    if (c.control != kResults) return;
    std::lock_guard lock(mutex_);
    if (c.kind == ChangeKind::RowAppended && !firstRow_) firstRow_ = Clock::now();
    if (c.kind == ChangeKind::RowPicture && ++pictures_ == kResultCount) {
      lastPoster_ = Clock::now();
      allIn_.notify_all();
    }
  }

  ControlModel& ui_;
  int id_ = 0;
  std::mutex mutex_;
  std::condition_variable allIn_;
  Clock::time_point start_;
  std::optional<Clock::time_point> firstRow_, lastPoster_, pageServed_;
  int pictures_ = 0;
};

// The portal (behind the relay when connections cost time), a context
// pointing at it, and the watch.
struct Bench {
  SamplePortal portal{{FIXTURES "/search", delayMs}};
  std::unique_ptr<DelayingRelay> relay;
  Context ctx;
  std::unique_ptr<SearchWatch> watch;

  Bench() {
    // The logger runs once the response is written: the page has left the server.
    portal.Server().set_logger([this](const httplib::Request& req, const httplib::Response&) {
      if (req.path == "/index.php") watch->PageServed();
    });
    if (portal.Start(0) < 0) {
      std::fprintf(stderr, "cannot start the sample portal\n");
      std::exit(1);
    }
    ctx.ui = std::make_shared<ControlModel>();
    ctx.effects = std::make_shared<RecordingEffects>();
    ctx.workers = std::make_shared<Workers>();
    std::string base = portal.Base();
    if (connectDelayMs > 0) {
      relay = std::make_unique<DelayingRelay>(portal.Port(), connectDelayMs);
      base = "http://127.0.0.1:" + std::to_string(relay->Port());
    }
    ctx.addresses.portalBase = base;
    ctx.addresses.searchHost = base;
    watch = std::make_unique<SearchWatch>(*ctx.ui);
    ctx.ui->SetText("编辑框1", "长夜"_gbk);
  }
  ~Bench() {
    ctx.workers->Shutdown();
    relay.reset();
  }
};

Bench& TheBench() {
  static Bench bench;
  return bench;
}

Text SearchAddress(const Context& ctx) {
  // Every byte of the title percent-encoded, as the program sends it.
  std::string kw;
  for (unsigned char c : TextToUtf8(ctx.ui->GetText("编辑框1"))) {
    char hex[4];
    std::snprintf(hex, sizeof hex, "%%%02X", c);
    kw += hex;
  }
  return ctx.addresses.searchHost + "/index.php?kw=" + kw + "&from=";
}

// Each poster is requested before its row is added, one after another on the
// worker thread.
void SearchPostersOneAfterAnother(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  ListLoad load = ui.BeginLoad(kResults);
  Text page = FetchPageFor(ctx, SearchAddress(ctx));
  for (ResultKind kind : {ResultKind::Shows, ResultKind::Movies}) {
    for (const std::vector<Text>& cells : ParseSearchPage(kind, page)) {
      Bytes poster = FetchPageInetFor(ctx, cells[kResultPosterColumn]);
      int row = ui.AppendRow(load);
      ui.SetRowPicture(load, row, poster);
      WriteRowCells(ui, load, row, cells, 1);
    }
  }
}

// Rows at once, then the posters six at a time, each over a new connection.
void SearchPostersPooledNewConnections(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  ListLoad load = ui.BeginLoad(kResults);
  Text page = FetchPageFor(ctx, SearchAddress(ctx));
  std::deque<std::pair<int, Text>> jobs;
  for (ResultKind kind : {ResultKind::Shows, ResultKind::Movies}) {
    for (const std::vector<Text>& cells : ParseSearchPage(kind, page)) {
      int row = ui.AppendRow(load);
      WriteRowCells(ui, load, row, cells, 1);
      jobs.emplace_back(row, cells[kResultPosterColumn]);
    }
  }
  std::mutex mutex;
  std::vector<std::thread> runners;
  for (int i = 0; i < 6; ++i) {
    runners.emplace_back([&] {
      for (;;) {
        std::pair<int, Text> job;
        {
          std::lock_guard lock(mutex);
          if (jobs.empty()) return;
          job = std::move(jobs.front());
          jobs.pop_front();
        }
        ui.SetRowPicture(load, job.first, FetchPageInetFor(ctx, job.second));
      }
    });
  }
  for (std::thread& t : runners) t.join();
}

enum class Schedule { AsBuilt, PooledNewConnections, OneAfterAnother };

void RunSearch(benchmark::State& state, Schedule schedule) {
  Bench& b = TheBench();
  for (auto _ : state) {
    b.watch->Start();
    switch (schedule) {
      case Schedule::AsBuilt:
        StartTitleSearch(b.ctx);
        break;
      case Schedule::PooledNewConnections:
        b.ctx.workers->Start([ctx = b.ctx] { SearchPostersPooledNewConnections(ctx); });
        break;
      case Schedule::OneAfterAnother:
        b.ctx.workers->Start([ctx = b.ctx] { SearchPostersOneAfterAnother(ctx); });
        break;
    }
    bool done = b.watch->WaitForPosters();
    b.ctx.workers->WaitIdle();
    if (!done) {
      state.SkipWithError("not every poster arrived");
      break;
    }
    b.watch->Report(state);
  }
}

void PrintSummary(const MedianReporter& r) {
  auto median = [&](const std::string& name, const char* counter) {
    return r.Median(name, counter).value_or(0);
  };
  std::printf("\n%d results, %d ms per request, %d ms per new connection; medians:\n",
              kResultCount, delayMs, connectDelayMs);
  std::printf("%-24s %12s %20s %15s %12s\n", "schedule", "first row", "page -> first row",
              "last poster", "round trips");
  for (const char* name : {"as_built", "pooled_new_connections", "one_after_another"}) {
    std::string full = std::string("search/") + name;
    if (median(full, "last_poster_ms") == 0) continue;
    std::printf("%-24s %9.1f ms %17.1f ms %12.1f ms %12.2f\n", name, median(full, "first_row_ms"),
                median(full, "page_to_first_row_ms"), median(full, "last_poster_ms"),
                median(full, "round_trips"));
  }
  double built = median("search/as_built", "last_poster_ms");
  for (const char* other : {"pooled_new_connections", "one_after_another"}) {
    double value = median(std::string("search/") + other, "last_poster_ms");
    if (built > 0 && value > 0) std::printf("last poster as built: %.2fx sooner than %s\n", value / built, other);
  }
}

}  // namespace
}  // namespace yz::bench

int main(int argc, char** argv) {
  // Our own option first: --delay-ms=N (default 50).
  std::vector<char*> args;
  bool repetitionsGiven = false;
  for (int i = 0; i < argc; ++i) {
    if (std::strncmp(argv[i], "--delay-ms=", 11) == 0) {
      yz::bench::delayMs = std::atoi(argv[i] + 11);
      continue;
    }
    if (std::strncmp(argv[i], "--connect-delay-ms=", 19) == 0) {
      yz::bench::connectDelayMs = std::atoi(argv[i] + 19);
      continue;
    }
    if (std::strncmp(argv[i], "--benchmark_repetitions", 23) == 0) repetitionsGiven = true;
    args.push_back(argv[i]);
  }
  // Repeated and interleaved by default, so both schedules meet the same load.
  char repetitions[] = "--benchmark_repetitions=7";
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  if (!repetitionsGiven) {
    args.push_back(repetitions);
    args.push_back(interleave);
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);

  using yz::bench::Schedule;
  for (auto [name, schedule] : {std::pair{"search/as_built", Schedule::AsBuilt},
                                {"search/pooled_new_connections", Schedule::PooledNewConnections},
                                {"search/one_after_another", Schedule::OneAfterAnother}}) {
    benchmark::RegisterBenchmark(name, yz::bench::RunSearch, schedule)
        ->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
  }
  yz::bench::MedianReporter reporter;
  bool ok = yz::bench::RunBenchmarks(count, args.data(), reporter);
  yz::bench::PrintSummary(reporter);
  return ok ? 0 : 1;
}
