// The poster pool's runners keep their connections open for each other.
#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "portal/poster_pool.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {

class PosterPoolTest : public PortalFixture {};

TEST_F(PosterPoolTest, RunnersShareTheirConnections) {
  constexpr int kPosters = 20;
  httplib::Server server;
  server.set_tcp_nodelay(true);
  std::mutex mutex;
  std::set<int> connections;  // client ports
  server.Get(R"(/poster/(\d+))", [&](const httplib::Request& req, httplib::Response& res) {
    {
      std::lock_guard lock(mutex);
      connections.insert(req.remote_port);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    res.set_content("poster " + std::string(req.matches[1]), "image/png");
  });
  int port = server.bind_to_any_port("127.0.0.1");
  std::thread serving([&] { server.listen_after_bind(); });
  while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));

  ListLoad load = ui().BeginLoad("超级列表框1");
  std::mutex doneMutex;
  std::condition_variable doneCv;
  bool done = false;
  auto pool = PosterPool::Create(ctx_, load, [&] {
    std::lock_guard lock(doneMutex);
    done = true;
    doneCv.notify_all();
  });
  for (int i = 0; i < kPosters; ++i) {
    int row = ui().AppendRow(load);
    pool->Add(row, "http://127.0.0.1:" + std::to_string(port) + "/poster/" + std::to_string(i));
  }
  pool->Close();
  {
    std::unique_lock lock(doneMutex);
    EXPECT_TRUE(doneCv.wait_for(lock, std::chrono::seconds(10), [&] { return done; }));
  }
  for (int i = 0; i < kPosters; ++i) EXPECT_EQ(ui().RowPicture("超级列表框1", i), "poster " + std::to_string(i));
  {
    std::lock_guard lock(mutex);
    EXPECT_LE(connections.size(), static_cast<std::size_t>(PosterPool::kDefaultRunners));
  }
  server.stop();
  serving.join();
}

}  // namespace
}  // namespace yz::testing
