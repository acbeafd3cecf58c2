#include "controls/workers.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>

namespace yz {
namespace {

TEST(Workers, RunsNestedWorkAndWaitsForIt) {
  Workers workers;
  std::atomic<int> done{0};
  workers.Start([&] {
    workers.Start([&] { ++done; });
    ++done;
  });
  workers.Start([] { throw std::runtime_error("contained"); });
  workers.WaitIdle();
  EXPECT_EQ(done, 2);
  EXPECT_EQ(workers.Running(), 0);
}

TEST(Workers, ShutdownRaisesStopAndJoins) {
  Workers workers;
  std::atomic<bool> sawStop{false};
  workers.Start([&] {
    while (!workers.StopFlag()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    sawStop = true;
  });
  workers.Shutdown();
  EXPECT_TRUE(sawStop);
  std::atomic<int> late{0};
  workers.Start([&] { ++late; });  // refused after shutdown
  workers.WaitIdle();
  EXPECT_EQ(late, 0);
}

}  // namespace
}  // namespace yz
