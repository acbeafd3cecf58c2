// sample-portal [--port N] [--pages DIR] [--delay-ms N]
// Serves the sample pages on 127.0.0.1 and prints the port on the first line.
// The routes under /_test/ (test_routes.h) are served as well.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "sample_portal.h"
#include "test_routes.h"

namespace {
volatile std::sig_atomic_t stopRequested = 0;
void OnSignal(int) { stopRequested = 1; }

int Usage() {
  std::fprintf(stderr,
               "usage: sample-portal [--port N] [--pages DIR] [--delay-ms N]\n"
               "  --port N      port on 127.0.0.1; 0 picks a free one (default 0)\n"
               "  --pages DIR   folder of sample pages (default: the bundled pages)\n"
               "  --delay-ms N  wait N ms before every response\n");
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  int delay = 0;
  std::string pages = SAMPLE_PAGES_DIR;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      Usage();
      return 0;
    }
    if (i + 1 >= argc) return Usage();
    if (a == "--port") port = std::atoi(argv[++i]);
    else if (a == "--pages") pages = argv[++i];
    else if (a == "--delay-ms") delay = std::atoi(argv[++i]);
    else return Usage();
  }
  yz::SamplePortal portal({pages, delay});
  yz::TestRoutes testRoutes(portal.Server());
  int bound = portal.Start(port);
  if (bound < 0) {
    std::fprintf(stderr, "sample-portal: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("%d\n", bound);
  std::fflush(stdout);
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
  while (!stopRequested) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  testRoutes.ReleaseStalls();
  portal.Stop();
  return 0;
}
