// Start-up: the window program started offscreen against the sample portal,
// from process start to its main window shown and painted, to its window
// thread falling quiet, and its memory at idle with no player open; beside an
// empty Qt window with and without the web engine linked, in the same run.
//
// "Shown" and "painted" come from the probe plugin (startup_probe/), which Qt
// loads into each program (QT_QPA_GENERIC_PLUGINS) and which writes a line to
// standard error when the first top-level widget is exposed and painted.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "median_reporter.h"
#include "sample_portal.h"

extern char** environ;

namespace yz::bench {
namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// How long the window thread must stay without CPU time to count as quiet.
constexpr auto kQuietFor = std::chrono::milliseconds(200);
constexpr auto kGiveUpAfter = std::chrono::seconds(15);

struct Child {
  pid_t pid = -1;
  int stderrFd = -1;
};

Child Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> args, vars;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (const auto& v : env) vars.push_back(const_cast<char*>(v.c_str()));
  vars.push_back(nullptr);
  Child child;
  if (posix_spawn(&child.pid, args[0], &actions, nullptr, args.data(), vars.data()) != 0) child.pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  child.stderrFd = fds[0];
  return child;
}

void Stop(Child& child) {
  if (child.pid > 0) {
    kill(child.pid, SIGKILL);
    waitpid(child.pid, nullptr, 0);
  }
  if (child.stderrFd >= 0) close(child.stderrFd);
  child = {};
}

// The child's standard error, read up to the lines the benchmark waits for.
class ErrorLines {
 public:
  explicit ErrorLines(int fd) : fd_(fd) {}

  // Consumes the text up to and including the first line holding `marker`;
  // false at the end of the stream or at the deadline.
  bool WaitFor(const std::string& marker, Clock::time_point deadline) {
    for (;;) {
      std::size_t at = pending_.find(marker);
      if (at != std::string::npos) {
        std::size_t end = pending_.find('\n', at);
        pending_.erase(0, end == std::string::npos ? pending_.size() : end + 1);
        return true;
      }
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      pollfd p{fd_, POLLIN, 0};
      if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
      char buffer[4096];
      ssize_t n = read(fd_, buffer, sizeof buffer);
      if (n <= 0) return false;
      pending_.append(buffer, static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
  std::string pending_;
};

// CPU time of the main (window) thread so far, in ns.
long long MainThreadCpuNs(pid_t pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/schedstat");
  long long ns = -1;
  in >> ns;
  return ns;
}

// The last moment the window thread ran before it stayed quiet for kQuietFor.
Clock::time_point WaitForQuiet(pid_t pid, Clock::time_point deadline) {
  long long last = MainThreadCpuNs(pid);
  Clock::time_point lastChange = Clock::now();
  while (Clock::now() < deadline && Clock::now() - lastChange < kQuietFor) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    long long now = MainThreadCpuNs(pid);
    if (now != last) {
      last = now;
      lastChange = Clock::now();
    }
  }
  return lastChange;
}

// A field of /proc/PID/status or smaps_rollup, in MB.
double MemoryMb(pid_t pid, const std::string& file, const std::string& field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind(field + ":", 0) == 0) {
      std::istringstream s(line.substr(field.size() + 1));
      double kb = 0;
      s >> kb;
      return kb / 1024;
    }
  }
  return -1;
}

std::vector<std::string> ChildEnvironment(const std::string& runtimeDir) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string v = *e;
    if (v.rfind("QT_QPA_PLATFORM=", 0) == 0 || v.rfind("QT_PLUGIN_PATH=", 0) == 0 ||
        v.rfind("QT_QPA_GENERIC_PLUGINS=", 0) == 0)
      continue;
    env.push_back(v);
  }
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.push_back("QT_PLUGIN_PATH=" PROBE_PLUGINS);
  env.push_back("QT_QPA_GENERIC_PLUGINS=yzstartupprobe");
  env.push_back("XDG_RUNTIME_DIR=" + runtimeDir);
  if (geteuid() == 0) env.push_back("QTWEBENGINE_DISABLE_SANDBOX=1");
  return env;
}

struct Setup {
  SamplePortal portal{{SAMPLE_PAGES, 0}};
  std::string runtimeDir;
  Setup() {
    if (portal.Start(0) < 0) {
      std::fprintf(stderr, "cannot start the sample portal\n");
      std::exit(1);
    }
    char dir[] = "/tmp/yz-bench-startup-XXXXXX";
    runtimeDir = mkdtemp(dir) ? dir : "/tmp";
  }
};

Setup& TheSetup() {
  static Setup setup;
  return setup;
}

struct Subject {
  const char* name;
  const char* path;
  bool isProgram;  // takes the sample portal's addresses
};

void RunStartup(benchmark::State& state, const Subject& subject) {
  Setup& s = TheSetup();
  std::vector<std::string> argv = {subject.path};
  if (subject.isProgram) {
    const std::string base = s.portal.Base();
    argv.insert(argv.end(), {"--portal", base, "--search-host", base, "--notice", base + "/notice.html"});
  }
  for (auto _ : state) {
    Clock::time_point start = Clock::now();
    Child child = Spawn(argv, ChildEnvironment(s.runtimeDir));
    if (child.pid < 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    ErrorLines lines(child.stderrFd);
    bool shown = lines.WaitFor("yz-startup-probe: shown", start + kGiveUpAfter);
    Clock::time_point shownAt = Clock::now();
    bool painted = shown && lines.WaitFor("yz-startup-probe: painted", start + kGiveUpAfter);
    Clock::time_point paintedAt = Clock::now();
    Clock::time_point quietAt = WaitForQuiet(child.pid, start + kGiveUpAfter);
    if (!painted) {
      Stop(child);
      state.SkipWithError("no window was shown and painted");
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    state.SetIterationTime(std::chrono::duration<double>(shownAt - start).count());
    state.counters["shown_ms"] = Ms(shownAt - start);
    state.counters["painted_ms"] = Ms(paintedAt - start);
    state.counters["quiet_ms"] = Ms(quietAt - start);
    state.counters["rss_mb"] = MemoryMb(child.pid, "status", "VmRSS");
    state.counters["pss_mb"] = MemoryMb(child.pid, "smaps_rollup", "Pss");
    Stop(child);
  }
}

const std::vector<Subject>& Subjects() {
  static const std::vector<Subject> subjects = {
      {"startup/yingzhou", YINGZHOU, true},
      {"startup/empty_qt_window", REFERENCE_WINDOW, false},
      {"startup/empty_qt_window_with_web_engine", REFERENCE_WINDOW_WEB, false},
  };
  return subjects;
}

void PrintSummary(const MedianReporter& r) {
  std::printf("\nmedians:\n%-42s %10s %10s %10s %8s %8s\n", "start-up", "shown", "painted", "quiet",
              "RSS", "PSS");
  for (const Subject& s : Subjects()) {
    auto m = [&](const char* counter) { return r.Median(s.name, counter).value_or(0); };
    if (m("shown_ms") == 0) continue;
    std::printf("%-42s %7.1f ms %7.1f ms %7.1f ms %5.1f MB %5.1f MB\n", s.name, m("shown_ms"),
                m("painted_ms"), m("quiet_ms"), m("rss_mb"), m("pss_mb"));
  }
}

}  // namespace
}  // namespace yz::bench

int main(int argc, char** argv) {
  std::vector<char*> args(argv, argv + argc);
  bool repetitionsGiven = false;
  for (char* a : args) repetitionsGiven |= std::string(a).rfind("--benchmark_repetitions", 0) == 0;
  char repetitions[] = "--benchmark_repetitions=7";
  char interleave[] = "--benchmark_enable_random_interleaving=true";
  if (!repetitionsGiven) {
    args.push_back(repetitions);
    args.push_back(interleave);
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  for (const auto& s : yz::bench::Subjects()) {
    benchmark::RegisterBenchmark(s.name, yz::bench::RunStartup, s)
        ->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
  }
  yz::bench::MedianReporter reporter;
  bool ok = yz::bench::RunBenchmarks(count, args.data(), reporter);
  yz::bench::PrintSummary(reporter);
  return ok ? 0 : 1;
}
