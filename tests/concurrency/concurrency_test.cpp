// Workers that overlap, loads that supersede each other and a shutdown with
// requests in flight, against servers on 127.0.0.1.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <thread>

#include "hostile_server.h"
#include "net/fetch.h"
#include "portal/readers.h"
#include "portal/selected_rows.h"
#include "sample_portal.h"

namespace yz::testing {
namespace {

using namespace yz::literals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class Concurrency : public ::testing::Test {
 protected:
  void StartPortal(int delayMs) {
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{SAMPLE_PAGES, delayMs});
    ASSERT_GT(portal_->Start(0), 0);
    ctx_ = FreshContext(portal_->Base());
  }

  static Context FreshContext(const std::string& base) {
    Context ctx;
    ctx.ui = std::make_shared<ControlModel>();
    ctx.effects = std::make_shared<RecordingEffects>();
    ctx.workers = std::make_shared<Workers>();
    ctx.addresses.portalBase = base;
    ctx.addresses.searchHost = base;
    return ctx;
  }

  void TearDown() override {
    if (ctx_.workers) ctx_.workers->Shutdown();
    portal_.reset();
  }

  // The rows one load of each catalogue list gives on its own.
  std::map<std::string, std::vector<std::vector<Text>>> CleanCatalogues() {
    Context clean = FreshContext(portal_->Base());
    LoadHotSeriesList(clean);
    LoadNewMoviesList(clean);
    LoadHotVarietyList(clean);
    std::map<std::string, std::vector<std::vector<Text>>> rows;
    for (const std::string& list : {names::kHotSeries, names::kNewMovies, names::kHotVariety})
      rows[list] = clean.ui->Rows(list);
    return rows;
  }

  Context ctx_;
  std::unique_ptr<SamplePortal> portal_;
};

TEST_F(Concurrency, RapidTabSwitchesEndWithThirtyRowsEach) {
  StartPortal(2);
  const auto expected = CleanCatalogues();
  ASSERT_EQ(expected.at(names::kHotSeries).size(), 30u);
  ASSERT_FALSE(expected.at(names::kHotSeries)[0][0].empty());  // real rows, not only padding

  for (int i = 0; i < 100; ++i) {
    OnCatalogueTabChanged(ctx_, i % 3);
    if (i % 7 == 0) std::this_thread::sleep_for(1ms);
  }
  ctx_.workers->WaitIdle();
  for (const auto& [list, rows] : expected) {
    SCOPED_TRACE(list);
    EXPECT_EQ(ctx_.ui->RowCount(list), 30);
    EXPECT_EQ(ctx_.ui->Rows(list), rows);  // one load's rows, never two interleaved
  }
}

TEST_F(Concurrency, NewSearchWhilePostersLoadKeepsRowsAndPicturesTogether) {
  StartPortal(15);
  // What each poster address serves, to check every row's picture.
  std::map<Text, Bytes> served;
  auto pictureOf = [&](const Text& address) -> const Bytes& {
    auto it = served.find(address);
    if (it == served.end()) it = served.emplace(address, FetchPageInet(address)).first;
    return it->second;
  };

  std::vector<std::vector<Text>> alone;
  {
    Context clean = FreshContext(portal_->Base());
    clean.ui->SetText("编辑框1", "星际归途"_gbk);
    SearchShowsWorker(clean);
    clean.workers->WaitIdle();
    alone = clean.ui->Rows(names::kResults);
    clean.workers->Shutdown();
  }
  ASSERT_EQ(alone.size(), 3u);

  for (int pause : {0, 5, 20, 40, 80}) {
    SCOPED_TRACE(pause);
    ctx_.ui->SetText("编辑框1", "白夜追凶"_gbk);
    StartTitleSearch(ctx_);
    std::this_thread::sleep_for(std::chrono::milliseconds(pause));
    ctx_.ui->SetText("编辑框1", "星际归途"_gbk);
    StartTitleSearch(ctx_);
    ctx_.workers->WaitIdle();

    EXPECT_EQ(ctx_.ui->Rows(names::kResults), alone);
    for (int row = 0; row < ctx_.ui->RowCount(names::kResults); ++row) {
      EXPECT_EQ(ctx_.ui->RowPicture(names::kResults, row),
                pictureOf(ctx_.ui->Cell(names::kResults, row, 2)))
          << "row " << row;
    }
    EXPECT_FALSE(ctx_.ui->IsVisible("图片框_载入"));
  }
}

TEST_F(Concurrency, ShutdownWithRequestsInFlightIsPrompt) {
  // A server that answers every request one byte at a time, for minutes.
  HostileServer trickling([](HostileConnection& c) {
    c.Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n") &&
        c.Trickle(std::string(100000, '<'), 200ms);
  });
  ctx_ = FreshContext(trickling.Base());
  ControlModel& ui = *ctx_.ui;
  ui.SetText("编辑框1", "x");
  int row = ui.AppendRow(names::kHotSeries);
  ui.SetCell(names::kHotSeries, row, 1, trickling.Base() + "/poster.jpg");
  ui.SetCell(names::kHotSeries, row, 2, "/detail.html");
  ui.SetSelectedRow(names::kHotSeries, row);

  for (int i = 0; i < 6; ++i) {
    OnCatalogueTabChanged(ctx_, i % 3);
    StartTitleSearch(ctx_);
    OnCataloguePressed(ctx_, names::kHotSeries);
    OnNewMovieDoubleClicked(ctx_);
    OnHotVarietyDoubleClicked(ctx_);
  }
  // Wait until the requests are really under way.
  auto until = Clock::now() + 5s;
  while (trickling.ConnectionCount() < 10 && Clock::now() < until) std::this_thread::sleep_for(10ms);
  EXPECT_GE(trickling.ConnectionCount(), 10);
  EXPECT_GT(ctx_.workers->Running(), 0);

  auto start = Clock::now();
  ctx_.workers->Shutdown();
  double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  EXPECT_EQ(ctx_.workers->Running(), 0);
  EXPECT_LT(seconds, 2.0);
  // Nothing the user would see is raised once the program is ending.
  EXPECT_TRUE(std::static_pointer_cast<RecordingEffects>(ctx_.effects)->Messages().empty());
  // Nothing new starts after shutdown.
  OnCatalogueTabChanged(ctx_, 0);
  EXPECT_EQ(ctx_.workers->Running(), 0);
}

}  // namespace
}  // namespace yz::testing
