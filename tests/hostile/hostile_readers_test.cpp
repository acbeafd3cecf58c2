// The readers, through their workers and the control layer, over pages no
// portal would send: the lists end as the behaviour says, nothing hangs past
// a bound, posters that are no pictures are kept as bytes for the view.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <mutex>
#include <random>
#include <sstream>

#include "hostile_server.h"
#include "portal/readers.h"
#include "portal/selected_rows.h"

namespace yz::testing {
namespace {

using namespace yz::literals;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Garbage(std::size_t size, bool withNul) {
  std::mt19937 random(7);
  std::string s(size, ' ');
  for (char& c : s) {
    c = static_cast<char>(random() & 0xFF);
    if (!withNul && c == '\0') c = '<';
  }
  return s;
}

// A real catalogue page with a lead byte of a two-byte character before every
// '<' and '"': every marker then starts at a trail byte.
std::string BrokenGbk(const std::string& page) {
  std::string s;
  for (char c : page) {
    if (c == '<' || c == '"') s += '\x81';
    s += c;
  }
  return s + "\x81";
}

// One line of 10 MB: the openings of every pattern, never closed, inside the
// catalogue's item block.
std::string LongLine() {
  const std::string fragments =
      "<li class=\"item\"> <a class=\"js-tongjic\" href=\"x\"> <div class=\"cover g-playicon\"> "
      "<img src=\"p\"> <span class=\"hint\">"
      "<a href=\"d\" class=\"g-playicon js-playicon\" title=\"t\" data-logger='ctype=detail'  "
      "data-longrecord=\"so_2\"><img src=\"q\"<a class=\"name\" href=\"n\">"
      "{\"ensite\":\"qq<a data-num=\"1\" data-daochu=\"to=\" href=\""
      "<a data-daochu=\"a\" class=\"b\" href=\"c.html";
  std::string s = "<div class=\"s-tab-main\">演员：主持：导演：var serverdata"_gbk;
  s += "<div class=\"num-tab-main g-clear js-tab\"";
  s += "<ul class=\"list w-newfigure-list g-clear js-year-page\">";
  while (s.size() < (10u << 20)) s += fragments;
  return s;
}

class HostileReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<HostileServer>([this](HostileConnection& c) { Answer(c); });
    ctx_.ui = std::make_shared<ControlModel>();
    effects_ = std::make_shared<RecordingEffects>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    ctx_.addresses.portalBase = server_->Base();
    ctx_.addresses.searchHost = server_->Base();
  }
  void TearDown() override {
    ctx_.workers->Shutdown();
    server_.reset();
  }

  void Serve(std::string page) {
    std::lock_guard<std::mutex> lock(mutex_);
    page_ = std::move(page);
  }

  void Answer(HostileConnection& c) {
    std::string path = c.Path();
    if (path.rfind("/poster/", 0) == 0) return AnswerPoster(c, path.substr(8));
    std::string page;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      page = page_;
    }
    c.Send(HostileServer::Response(page));
  }

  static void AnswerPoster(HostileConnection& c, const std::string& kind) {
    const std::string png = "\x89PNG\r\n\x1A\n";
    if (kind == "text") {
      c.Send(HostileServer::Response("<html>not a picture</html>", "image/jpeg"));
    } else if (kind == "truncated") {
      c.Send(HostileServer::Response(png + std::string("\0\0\0\x0DIHDR\0\0", 10), "image/png"));
    } else if (kind == "enormous") {
      // A header claiming 60000 x 60000 pixels: about 14 GB once decoded.
      std::string ihdr("\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60\x08\x06\0\0\0\0\0\0\0", 25);
      c.Send(HostileServer::Response(png + ihdr, "image/png"));
    } else if (kind == "reset") {
      c.Send("HTTP/1.1 200 OK\r\nContent-Length: 5000\r\n\r\n" + png);
      c.Reset();
    } else {
      c.Send("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    }
  }

  void PutSelected(const std::string& list, const std::vector<std::pair<int, Text>>& cells) {
    ControlModel& ui = *ctx_.ui;
    ui.DeleteAllRows(list);
    int row = ui.AppendRow(list);
    for (const auto& [column, text] : cells) ui.SetCell(list, row, column, text);
    ui.SetSelectedRow(list, row);
  }

  // Every reader once over the page being served; the time they took.
  double RunEveryReader() {
    ControlModel& ui = *ctx_.ui;
    auto start = Clock::now();
    LoadHotSeriesList(ctx_);
    LoadNewMoviesList(ctx_);
    LoadHotVarietyList(ctx_);
    catalogueRows_.clear();
    for (const std::string& list : {names::kHotSeries, names::kNewMovies, names::kHotVariety})
      catalogueRows_.push_back(ui.RowCount(list));

    ui.SetText("编辑框1", "x");
    SearchShowsWorker(ctx_);
    ctx_.workers->WaitIdle();

    ui.SetText("透明标签_演员", "before");
    ui.SetText("透明标签_简介", "before");
    PutSelected(names::kHotSeries, {{1, ""}, {2, "/tv/a.html"}, {3, "t"}});
    ui.SetCurrentPage("高级选择夹1", 0);
    LoadDetails(ctx_, names::kHotSeries);

    PutSelected(names::kResults, {{3, server_->Base() + "/d.html"}, {4, "2"}, {5, "t"}});
    LoadSeriesSites(ctx_);
    siteRows_ = ui.RowCount(names::kSites);
    PutSelected(names::kSites, {{1, "腾讯"_gbk}});
    LoadEpisodes(ctx_, EpisodeSource::HotSeries);
    PutSelected(names::kNewMovies, {{2, "/m/a.html"}, {3, "m"}});
    LoadMovieSources(ctx_, OpenedFrom::CatalogueList);
    PutSelected(names::kHotVariety, {{2, "/va/a.html"}});
    LoadVarietyIssues(ctx_, OpenedFrom::CatalogueList);
    return std::chrono::duration<double>(Clock::now() - start).count();
  }

  bool MessageShown(const Text& text) const {
    for (const auto& m : effects_->Messages()) {
      if (m.text == text) return true;
    }
    return false;
  }

  Context ctx_;
  std::shared_ptr<RecordingEffects> effects_;
  std::unique_ptr<HostileServer> server_;
  std::mutex mutex_;
  std::string page_;
  std::vector<int> catalogueRows_;
  int siteRows_ = -1;
};

TEST_F(HostileReaders, PagesNoPortalWouldSend) {
  const std::string catalogue = ReadFile(std::string(SEED_PAGES) + "/dianshi_list.gbk");
  ASSERT_GT(catalogue.size(), 1000u);
  struct Case {
    const char* name;
    std::string page;
  };
  const Case cases[] = {
      {"garbage", Garbage(256 << 10, false)},
      {"NUL bytes", Garbage(4096, true) + catalogue},
      {"NUL right after the item block starts",
       catalogue.substr(0, catalogue.find("s-tab-main") + 20) + '\0' + catalogue},
      {"invalid GBK", BrokenGbk(catalogue)},
      {"empty", ""},
      {"10 MB on one line", LongLine()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Serve(c.page);
    double seconds = RunEveryReader();
    ControlModel& ui = *ctx_.ui;
    // Catalogue lists always end with 30 rows.
    EXPECT_EQ(catalogueRows_, std::vector<int>({30, 30, 30}));
    // The search ends: no results, the loading picture gone, the user told.
    EXPECT_EQ(ui.RowCount(names::kResults), 1);  // the row put there for the sites
    EXPECT_FALSE(ui.IsVisible("图片框_载入"));
    EXPECT_TRUE(MessageShown("抱歉，没有找到《x》换个名字试试吧！"_gbk));
    // Nothing matched, so the labels keep what they showed.
    EXPECT_EQ(ui.GetText("透明标签_演员"), "before");
    EXPECT_EQ(siteRows_, 0);
    EXPECT_EQ(ui.RowCount(names::kEpisodes), 0);
    EXPECT_EQ(ui.RowCount(names::kSources), 0);
    EXPECT_TRUE(MessageShown("暂不支持该视频！"_gbk));
    // Every matcher run is bounded; ten of them over 10 MB stay well inside this.
    EXPECT_LT(seconds, 60) << c.name;
    std::printf("[ timing   ] %s: %.2f s\n", c.name, seconds);
  }
}

TEST_F(HostileReaders, PostersThatAreNoPictures) {
  const std::string kinds[] = {"text", "truncated", "enormous", "reset", "missing"};
  std::string page;
  for (std::size_t i = 0; i < std::size(kinds); ++i) {
    page += "<a href=\"" + server_->Base() + "/d" + std::to_string(i) +
            ".html\" class=\"g-playicon js-playicon\" title=\"T" + std::to_string(i) +
            "\" data-logger='ctype=detail'  data-longrecord=\"so_2_2\">\n<img src=\"" +
            server_->Base() + "/poster/" + kinds[i] +
            "\">\n<span class=\"playtype\">[x]</span>\n<b>" + "剧集：</b><span>1</span>\n"_gbk;
  }
  Serve(page);
  ctx_.ui->SetText("编辑框1", "x");
  SearchShowsWorker(ctx_);
  ctx_.workers->WaitIdle();

  ControlModel& ui = *ctx_.ui;
  ASSERT_EQ(ui.RowCount(names::kResults), static_cast<int>(std::size(kinds)));
  for (int row = 0; row < ui.RowCount(names::kResults); ++row) {
    SCOPED_TRACE(kinds[row]);
    // Texts are all there, whatever the poster turned out to be.
    EXPECT_EQ(ui.Cell(names::kResults, row, 5), "T" + std::to_string(row));
    EXPECT_EQ(ui.Cell(names::kResults, row, 2), server_->Base() + "/poster/" + kinds[row]);
  }
  // The bytes as served; telling a picture from the rest is the view's job.
  EXPECT_EQ(ui.RowPicture(names::kResults, 0), "<html>not a picture</html>");
  EXPECT_EQ(ui.RowPicture(names::kResults, 2).size(), 33u);
  EXPECT_EQ(ui.RowPicture(names::kResults, 3), "\x89PNG\r\n\x1A\n");
  EXPECT_EQ(ui.RowPicture(names::kResults, 4), "");
  EXPECT_FALSE(ui.IsVisible("图片框_载入"));
  EXPECT_TRUE(effects_->Messages().empty());
}

}  // namespace
}  // namespace yz::testing
