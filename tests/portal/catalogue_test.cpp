// The three catalogue lists: 30 rows per load whatever the page holds, the
// cells from the item markup, and overlapping loads of one list.
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
namespace fs = std::filesystem;
using namespace yz::literals;
using Row = std::vector<Text>;

const char* const kSeries = "超级列表框_电视剧";
const char* const kMovies = "超级列表框_电影";
const char* const kVariety = "超级列表框_综艺";
const char* const kMoviesPage = "dianying/list/cat=all&year=all&area=all&act=all&rank=createtime";

std::string Hint(int i) { return i == 1 ? "" : "更新至" + std::to_string(i) + "集"; }
std::string Title(int i) { return "片名" + std::to_string(i); }
std::string Link(int i) { return "/detail/" + std::to_string(i) + ".html"; }
std::string Poster(int i) { return "http://img.example/" + std::to_string(i) + ".jpg"; }

std::string SeriesItem(int i) {
  return "<li class=\"item\">\n  <a class=\"js-tongjic\" href=\"" + Link(i) +
         "\">\n    <div class=\"cover g-playicon\">\n      <img src=\"" + Poster(i) +
         "\">\n      <span class=\"hint\">" + Hint(i) +
         "</span>\n    </div>\n    <div class=\"detail\">\n      <p class=\"title g-clear\">\n"
         "        <span class=\"s1\">" + Title(i) + "</span>\n      </p>\n    </div>\n  </a>\n</li>\n";
}

std::string MovieItem(int i) {
  return "<li class=\"item\">\n  <a class=\"js-tongjic\" href=\"" + Link(i) +
         "\">\n    <div class=\"cover g-playicon\"><img src=\"" + Poster(i) +
         "\"><span class=\"hint\">2024</span></div>\n    <p class=\"title g-clear\"><span class=\"s1\">" +
         Title(i) + "</span><span class=\"s2\">8.0</span></p>\n  </a>\n</li>\n";
}

std::string Page(const std::string& items, bool rightMarkerAbove = false) {
  std::string right = "<div class=\"b-ifradjx\"></div>\n";
  return "<html><head><meta charset=\"utf-8\"></head><body>\n" + (rightMarkerAbove ? right : "") +
         "<div class=\"s-tab-main\">\n<ul>\n" + items + "</ul>\n</div>\n" +
         (rightMarkerAbove ? "" : right) + "</body></html>\n";
}

std::string Items(std::string (*item)(int), int count) {
  std::string out;
  for (int i = 0; i < count; ++i) out += item(i);
  return out;
}

// The row a list holds for item i of the page, or for a missing item.
Row Expected(const std::string& list, int i, bool present) {
  // The variety list has no title column.
  if (!present) return list == kVariety ? Row{"", "", ""} : Row{list == kSeries ? "  " : "", "", "", ""};
  Text title = Utf8ToText(Title(i));
  if (list == kSeries) return {Utf8ToText(Hint(i)) + "  " + title, Poster(i), Link(i), title};
  if (list == kMovies) return {title, Poster(i), Link(i), title};
  return {title, Poster(i), Link(i)};
}

std::vector<Row> ExpectedRows(const std::string& list, int items) {
  std::vector<Row> rows;
  for (int i = 0; i < 30; ++i) rows.push_back(Expected(list, i, i < items));
  return rows;
}

class CatalogueTest : public PortalFixture {
 protected:
  void TearDown() override {
    PortalFixture::TearDown();
    if (!pages_.empty()) fs::remove_all(pages_);
  }

  // Serves the given files from a fresh folder; `delayMs` before each reply.
  void Serve(const std::vector<std::pair<std::string, std::string>>& files, int delayMs = 0) {
    pages_ = fs::temp_directory_path() /
             ("yz-catalogue-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(pages_);
    for (const auto& [path, body] : files) {
      fs::create_directories((pages_ / path).parent_path());
      std::ofstream(pages_ / path, std::ios::binary) << body;
    }
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{pages_.string(), delayMs});
    ASSERT_GT(portal_->Start(0), 0);
    ctx_.addresses.portalBase = portal_->Base();
  }

  fs::path pages_;
};

struct ListCase {
  int tab;
  const char* list;
  int items;
};

TEST_F(CatalogueTest, EveryLoadLeavesThirtyRowsInPageOrder) {
  Serve({{"dianshi/list", Page(Items(SeriesItem, 40))},
         {kMoviesPage, Page(Items(MovieItem, 12))},
         {"zongyi/list", Page(Items(MovieItem, 31))}});
  for (const ListCase& c : {ListCase{0, kSeries, 40}, ListCase{1, kMovies, 12},
                            ListCase{2, kVariety, 31}}) {
    SCOPED_TRACE(c.list);
    OnCatalogueTabChanged(ctx_, c.tab);
    Settle();
    EXPECT_EQ(ui().Rows(c.list), ExpectedRows(c.list, c.items));
  }
  // An empty hint leaves the two spaces in front of the title.
  EXPECT_EQ(ui().Cell(kSeries, 1, 0), "  " + Utf8ToText(Title(1)));
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(CatalogueTest, WithoutNetworkEachListHoldsThirtyEmptyRowsAndNoMessage) {
  ctx_.addresses.portalBase = "http://127.0.0.1:1";
  for (const ListCase& c : {ListCase{0, kSeries, 0}, ListCase{1, kMovies, 0},
                            ListCase{2, kVariety, 0}}) {
    SCOPED_TRACE(c.list);
    OnCatalogueTabChanged(ctx_, c.tab);
    Settle();
    EXPECT_EQ(ui().Rows(c.list), ExpectedRows(c.list, 0));
  }
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(CatalogueTest, RightMarkerOnlyAboveTheBlockGivesEmptyRows) {
  Serve({{"dianshi/list", Page(Items(SeriesItem, 5), /*rightMarkerAbove=*/true)}});
  LoadHotSeriesList(ctx_);
  EXPECT_EQ(ui().Rows(kSeries), ExpectedRows(kSeries, 0));
}

TEST_F(CatalogueTest, OtherTabIndicesStartNothing) {
  for (int index : {-1, 3, 7}) OnCatalogueTabChanged(ctx_, index);
  Settle();
  for (const char* list : {kSeries, kMovies, kVariety}) EXPECT_EQ(ui().RowCount(list), 0);
}

// Many overlapping loads of one list: the newest supersedes the others, so the
// list ends with one load's 30 rows, never a mix or more rows.
TEST_F(CatalogueTest, RapidTabSwitchesEndWithExactlyOneLoad) {
  Serve({{kMoviesPage, Page(Items(MovieItem, 40))}}, /*delayMs=*/3);
  // A short gap between switches keeps the test server's accept queue from
  // overflowing; the loads still overlap.
  for (int i = 0; i < 100; ++i) {
    OnCatalogueTabChanged(ctx_, 1);
    std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  Settle();
  EXPECT_EQ(ui().Rows(kMovies), ExpectedRows(kMovies, 40));
}

TEST_F(CatalogueTest, ReloadEmptiesTheListAtOnce) {
  Serve({{kMoviesPage, Page(Items(MovieItem, 3))}}, /*delayMs=*/300);
  ui().AppendRow(kMovies);
  OnCatalogueTabChanged(ctx_, 1);
  for (int i = 0; i < 200 && ui().RowCount(kMovies) != 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_EQ(ui().RowCount(kMovies), 0) << "cleared before the page arrives";
  Settle();
  EXPECT_EQ(ui().RowCount(kMovies), 30);
}

// The bundled demo pages fill every row of every list.
TEST_F(CatalogueTest, SamplePortalFillsAllThreeLists) {
  StartPortal(SAMPLE_PAGES);
  for (int tab = 0; tab < 3; ++tab) OnCatalogueTabChanged(ctx_, tab);
  Settle();
  for (const char* list : {kSeries, kMovies, kVariety}) {
    SCOPED_TRACE(list);
    auto rows = ui().Rows(list);
    ASSERT_EQ(rows.size(), 30u);
    for (const Row& row : rows) {
      EXPECT_NE(row[0], list == std::string(kSeries) ? "  " : "");
      EXPECT_EQ(row[1].rfind("http://127.0.0.1:", 0), 0u) << row[1];
      EXPECT_EQ(row[2].rfind("/", 0), 0u) << row[2];
    }
  }
  // The series page is GBK without a charset declaration.
  EXPECT_EQ(ui().Cell(kSeries, 0, 3), "青山"_gbk);
}

}  // namespace
}  // namespace yz::testing
