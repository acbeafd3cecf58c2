// Episode lists: the site-to-code and series-id rules, and the three episode
// sources over fixture episode pages on loopback.
#include <map>
#include <string>
#include <vector>

#include "portal/episodes.h"
#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;
using Rows = std::vector<std::vector<Text>>;

const std::string kResults = "超级列表框1";
const std::string kSites = "超级列表框2";
const std::string kEpisodes = "超级列表框3";
const std::string kHotSeries = "超级列表框_电视剧";
const std::string kLoading = "图片框_剧集";

void PutSelectedRow(ControlModel& ui, const std::string& list, const std::map<int, Text>& cells) {
  int row = ui.AppendRow(list);
  for (const auto& [column, text] : cells) ui.SetCell(list, row, column, text);
  ui.SetSelectedRow(list, row);
}

Rows EpisodeRows(const std::vector<std::pair<const char*, const char*>>& rows) {
  Rows out;
  for (const auto& [label, address] : rows) out.push_back({"", Utf8ToText(label), address});
  return out;
}

TEST(SeriesIdTest, FileNameBeforeLowerCaseHtml) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"http://p.example/tv/AbCd123.html", "AbCd123"},
      {"http://p.example/tv/AbCd123.HTML", ""},
      {"http://p.example/tv/a.html?x=1", "a"},
      {"AbCd.html", "AbCd"},
      {"http://p.example/tv/noext", ""},
      {"http://p.example/tv/", ""},
  };
  for (const auto& [address, id] : cases) EXPECT_EQ(SeriesId(address), id) << address;
}

TEST(SiteCodeForTest, NamesAndSources) {
  using S = EpisodeSource;
  const std::vector<std::pair<const char*, const char*>> codes = {
      {"腾讯", "qq"},   {"优酷", "youku"}, {"芒果", "imgo"}, {"爱奇艺", "qiyi"},
      {"搜狐", "sohu"}, {"乐视", "leshi"},
  };
  for (S source : {S::SearchCategory2, S::SearchCategory4, S::HotSeries}) {
    for (const auto& [name, code] : codes) EXPECT_EQ(SiteCodeFor(Utf8ToText(name), source), Text(code)) << name;
    EXPECT_EQ(SiteCodeFor("PPTV", source), std::nullopt);
    EXPECT_EQ(SiteCodeFor("", source), std::nullopt);
    EXPECT_EQ(SiteCodeFor("qq", source), std::nullopt);  // a code is not a name
  }
  EXPECT_EQ(SiteCodeFor("levp", S::SearchCategory2), Text("levp"));
  EXPECT_EQ(SiteCodeFor("levp", S::HotSeries), Text("levp"));
  EXPECT_EQ(SiteCodeFor("levp", S::SearchCategory4), std::nullopt);
}

TEST(EpisodePageAddressTest, SwitchsiteForm) {
  EXPECT_EQ(EpisodePageAddress("http://p.example", "imgo", "AbCd123", EpisodeSource::SearchCategory2),
            "http://p.example/cover/switchsite?site=imgo&id=AbCd123&category=2");
  EXPECT_EQ(EpisodePageAddress("http://p.example", "qq", "", EpisodeSource::SearchCategory4),
            "http://p.example/cover/switchsite?site=qq&id=&category=4");
  EXPECT_EQ(EpisodePageAddress("http://p.example", "leshi", "x", EpisodeSource::HotSeries),
            "http://p.example/cover/switchsite?site=leshi&id=x&category=2");
}

class EpisodesTest : public PortalFixture {
 protected:
  void SetUp() override {
    PortalFixture::SetUp();
    StartPortal(std::string(PORTAL_FIXTURES) + "/episodes");
  }
  void Fresh() {
    ctx_.ui = std::make_shared<ControlModel>();
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.effects = effects_;
  }
  void PutResult(const char* detailPath, const char* category, const char* title) {
    PutSelectedRow(ui(), kResults,
                   {{3, portal_->Base() + detailPath}, {4, category}, {5, Utf8ToText(title)}});
  }
  void PutHotSeries(const char* detailPath, const char* title) {
    ui().SetText("编辑框2", "推荐电视剧"_gbk);
    PutSelectedRow(ui(), kHotSeries, {{2, detailPath}, {3, Utf8ToText(title)}});
  }
  void ChooseSite(const char* name) {
    PutSelectedRow(ui(), kSites, {{1, Utf8ToText(name)}});
    OnSiteChosen(ctx_);
    Settle();
  }
};

TEST_F(EpisodesTest, EachSourceLabelsAndTrimsItsEpisodes) {
  // The link after "error" lies outside the block; an href without "?" gives
  // an empty address where the address is cut at "?".
  const Rows trimmed = EpisodeRows({{"青山第1集", "http://v.example/abc1.html"},
                                    {"青山第2集", "http://v.example/abc2.html"},
                                    {"青山第3集", ""}});
  const Rows whole = EpisodeRows({{"青山第1集", "http://v.example/abc1.html?x=1"},
                                  {"青山第2集", "http://v.example/abc2.html?x=2&y=3"},
                                  {"青山第3集", "http://v.example/abc3.html"}});
  for (int source = 0; source < 3; ++source) {
    Fresh();
    ui().AppendRow(kEpisodes);
    if (source == 0) PutResult("/tv/AbCd123.html", "2", "青山");
    if (source == 1) PutResult("/tv/AbCd123.html", "4", "青山");
    if (source == 2) PutHotSeries("/tv/AbCd123.html", "青山");
    ChooseSite("芒果");

    EXPECT_EQ(ui().Rows(kEpisodes), source == 1 ? whole : trimmed) << "source " << source;
    EXPECT_FALSE(ui().IsVisible(kLoading));
    EXPECT_TRUE(effects_->Messages().empty());
  }
}

TEST_F(EpisodesTest, EscapedReplyIsDecodedAndNumbersAreVerbatim) {
  PutResult("/tv/Esc1.html", "2", "青山");
  ChooseSite("腾讯");
  EXPECT_EQ(ui().Rows(kEpisodes), EpisodeRows({{"青山第上集", "http://v.example/e1.html"},
                                               {"青山第下集", "http://v.example/e2.html"}}));
}

TEST_F(EpisodesTest, AddressWithoutHtmlAsksWithAnEmptyId) {
  PutResult("/tv/noext", "2", "青山");
  ChooseSite("腾讯");
  EXPECT_EQ(ui().Rows(kEpisodes), EpisodeRows({{"青山第9集", "http://v.example/noid.html"}}));
}

TEST_F(EpisodesTest, UnsupportedOrMissingSiteLeavesTheEpisodesAlone) {
  for (const char* site : {"PPTV", ""}) {
    SCOPED_TRACE(site);
    Fresh();
    PutResult("/tv/AbCd123.html", "2", "青山");
    int kept = ui().AppendRow(kEpisodes);
    ui().SetCell(kEpisodes, kept, 1, "kept");
    if (*site) {
      ChooseSite(site);
    } else {
      ui().AppendRow(kSites);  // a row, but none selected
      OnSiteChosen(ctx_);
      Settle();
    }
    EXPECT_EQ(ui().Rows(kEpisodes), (Rows{{"", "kept", ""}}));
    if (*site) {
      ASSERT_EQ(effects_->Messages().size(), 1u);
      EXPECT_EQ(effects_->Messages()[0].text, "暂不支持该视频源！"_gbk);
      EXPECT_EQ(effects_->Messages()[0].flags, 64);
    } else {
      EXPECT_TRUE(effects_->Messages().empty());
    }
  }
}

TEST_F(EpisodesTest, LevpForTheSecondKindClearsWithoutRequestOrStuckPicture) {
  ui().AppendRow(kEpisodes);
  PutResult("/tv/AbCd123.html", "4", "青山");
  ChooseSite("levp");
  EXPECT_EQ(ui().RowCount(kEpisodes), 0);
  EXPECT_FALSE(ui().IsVisible(kLoading));
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(EpisodesTest, HotMarkerAndSearchResultBothStartAndTheLaterWins) {
  // After a hot series was opened, a category "2" result starts two loads;
  // the rows are those of one series only, never a mix.
  PutHotSeries("/tv/AbCd123.html", "热播");
  PutResult("/tv/AbCd123.html", "2", "搜索");
  ChooseSite("芒果");
  EXPECT_EQ(ui().Rows(kEpisodes), EpisodeRows({{"热播第1集", "http://v.example/abc1.html"},
                                               {"热播第2集", "http://v.example/abc2.html"},
                                               {"热播第3集", ""}}));
}

TEST_F(EpisodesTest, LoadEpisodesReadsTheSelectedRowsItself) {
  PutResult("/tv/AbCd123.html", "4", "青山");
  PutSelectedRow(ui(), kSites, {{1, "芒果"_gbk}});
  LoadEpisodes(ctx_, EpisodeSource::SearchCategory4);
  EXPECT_EQ(ui().RowCount(kEpisodes), 3);
  EXPECT_EQ(ui().Cell(kEpisodes, 0, 2), "http://v.example/abc1.html?x=1");
  EXPECT_FALSE(ui().IsVisible(kLoading));
}

}  // namespace
}  // namespace yz::testing
