// Overlapping loads of the 剧集 page's lists: a newer load supersedes an
// older one, so rows of two loads never mix, a superseded load shows no
// message, and the loading picture never stays on over an idle list.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "portal/loading_picture.h"
#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;
using namespace std::chrono_literals;

const std::string kResults = "超级列表框1";
const std::string kSites = "超级列表框2";
const std::string kEpisodes = "超级列表框3";
const std::string kSources = "超级列表框4";
const std::string kLoading = "图片框_剧集";

void PutSelectedRow(ControlModel& ui, const std::string& list, const std::map<int, Text>& cells) {
  int row = ui.AppendRow(list);
  for (const auto& [column, text] : cells) ui.SetCell(list, row, column, text);
  ui.SetSelectedRow(list, row);
}

class OverlapTest : public PortalFixture {
 protected:
  // Serves `dir`; any request whose address holds "slow" is answered late,
  // so the load started first ends last.
  void StartSlowPortal(const std::string& dir) {
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{dir, 0});
    portal_->Server().set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
      if (req.target.find("slow") != std::string::npos) {
        ++slowRequests_;
        std::this_thread::sleep_for(400ms);
      }
      return httplib::Server::HandlerResponse::Unhandled;
    });
    ASSERT_GT(portal_->Start(0), 0);
    ctx_.addresses.portalBase = portal_->Base();
  }
  // Returns once the slow request is in flight, so the older load has
  // really started when the newer one begins.
  void AwaitSlowRequest() {
    for (int i = 0; i < 5000 && slowRequests_ == 0; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_GT(slowRequests_.load(), 0);
  }
  void OpenResult(const std::string& path, const char* category) {
    PutSelectedRow(ui(), kResults,
                   {{3, portal_->Base() + path}, {4, category}, {5, "标题"_gbk}});
    OpenSearchResult(ctx_);
  }
  void ChooseSite(const std::string& detailPath, const char* site, const char* title) {
    PutSelectedRow(ui(), kResults,
                   {{3, portal_->Base() + detailPath}, {4, "2"}, {5, Utf8ToText(title)}});
    PutSelectedRow(ui(), kSites, {{1, Utf8ToText(site)}});
    OnSiteChosen(ctx_);
  }

  std::atomic<int> slowRequests_{0};
};

TEST_F(OverlapTest, NewerSeriesOwnsTheSiteList) {
  StartSlowPortal(PORTAL_FIXTURES);
  OpenResult("/sites/slow.html", "2");  // no sites, answered last
  AwaitSlowRequest();
  OpenResult("/sites/three.html", "2");
  Settle();
  EXPECT_EQ(ui().RowCount(kSites), 3);
  EXPECT_EQ(ui().Cell(kSites, 0, 1), "腾讯"_gbk);
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(OverlapTest, NewerOpeningOwnsTheSourceList) {
  StartSlowPortal(PORTAL_FIXTURES);
  OpenResult("/movies/slow.html", "1");  // no sources, answered last
  AwaitSlowRequest();
  OpenResult("/variety/v1.html", "3");
  Settle();
  EXPECT_EQ(ui().RowCount(kSources), 2);
  EXPECT_EQ(ui().Cell(kSources, 0, 1), "2024-01-05第一期"_gbk);
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(OverlapTest, NewerSiteOwnsTheEpisodeList) {
  StartSlowPortal(std::string(PORTAL_FIXTURES) + "/episodes");
  ChooseSite("/tv/slow.html", "搜狐", "慢");
  AwaitSlowRequest();
  ChooseSite("/tv/AbCd123.html", "芒果", "快");
  Settle();
  ASSERT_EQ(ui().RowCount(kEpisodes), 3);
  for (int row = 0; row < 3; ++row)
    EXPECT_EQ(ui().Cell(kEpisodes, row, 1).rfind("快"_gbk, 0), 0u) << row;
  EXPECT_FALSE(ui().IsVisible(kLoading));
}

TEST_F(OverlapTest, EpisodeLoadCutShortByASearchStillHidesItsPicture) {
  StartSlowPortal(std::string(PORTAL_FIXTURES) + "/episodes");
  ChooseSite("/tv/slow.html", "搜狐", "慢");
  AwaitSlowRequest();
  EXPECT_TRUE(ui().IsVisible(kLoading));
  ui().DeleteAllRows(kEpisodes);  // what a new search does
  Settle();
  EXPECT_EQ(ui().RowCount(kEpisodes), 0);
  EXPECT_FALSE(ui().IsVisible(kLoading));
}

TEST(LoadingPictureTest, OnlyTheLastShowerHidesIt) {
  ControlModel ui;
  LoadingPicture picture(kLoading);
  ListLoad older = ui.BeginLoad(kEpisodes);
  picture.Show(ui, older);
  ListLoad newer = ui.BeginLoad(kEpisodes);
  picture.Show(ui, newer);
  picture.Hide(ui, older);
  EXPECT_TRUE(ui.IsVisible(kLoading));
  picture.Hide(ui, newer);
  EXPECT_FALSE(ui.IsVisible(kLoading));

  // Superseded by a plain clearing, the load still hides what it showed.
  ListLoad cut = ui.BeginLoad(kEpisodes);
  picture.Show(ui, cut);
  ui.DeleteAllRows(kEpisodes);
  picture.Hide(ui, cut);
  EXPECT_FALSE(ui.IsVisible(kLoading));
}

}  // namespace
}  // namespace yz::testing
