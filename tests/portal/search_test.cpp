// Title search: rows of both workers, posters, the closing messages, the
// search address, and a new search superseding one whose posters still load.
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "portal/readers.h"
#include "portal_fixture.h"

namespace yz::testing {
namespace {
using namespace yz::literals;
using Row = std::vector<Text>;

const char* const kResults = "超级列表框1";
const char* const kLoading = "图片框_载入";
const std::string kSearchPages = std::string(PORTAL_FIXTURES) + "/search";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// A loopback server whose routes the test writes.
class TestServer {
 public:
  ~TestServer() {
    server.stop();
    if (thread_.joinable()) thread_.join();
  }
  std::string Start() {
    int port = server.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server.listen_after_bind(); });
    for (int i = 0; i < 5000 && !server.is_running(); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return "http://127.0.0.1:" + std::to_string(port);
  }
  httplib::Server server;

 private:
  std::thread thread_;
};

// One movie result as the search page marks it up.
std::string MovieResult(const std::string& base, const std::string& name) {
  return "<a href=\"" + base + "/d/" + name + ".html\" class=\"g-playicon js-playicon\" title=\"" +
         name + "\" data-logger='ctype=detail'  data-longrecord=\"so_1_1\">\n<img src=\"" + base +
         "/poster/" + name + "\">\n<span class=\"playtype\">[movie]</span>\n";
}

class SearchTest : public PortalFixture {
 protected:
  void Search(const char* typedUtf8) {
    ui().SetText("编辑框1", Utf8ToText(typedUtf8));
    StartTitleSearch(ctx_);
    Settle();
  }
  std::string Base() const { return portal_->Base(); }
  Row ShowRow(const char* title, const char* episodes, const char* type, const std::string& poster,
              const std::string& detail, const char* category) {
    return {"",
            Utf8ToText(std::string(title) + "\r\n\r\n集数： " + episodes + "\r\n\r\n类型： " + type),
            poster, detail, category, Utf8ToText(title)};
  }
  Row MovieRow(const char* title, const char* type, const std::string& poster,
               const std::string& detail) {
    return {"", Utf8ToText(std::string(title) + "\r\n\r\n类型： " + type), poster, detail, "1",
            Utf8ToText(title)};
  }
};

TEST_F(SearchTest, EmptyTextIsRefusedAndNothingStarts) {
  ui().AppendRow(kResults);
  Search("");
  auto messages = effects_->Messages();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "请输入有效的视频名称或视频地址！"_gbk);
  EXPECT_EQ(messages[0].flags, kMbIconInformation);
  EXPECT_EQ(messages[0].title, "信息："_gbk);
  EXPECT_EQ(ui().RowCount(kResults), 1);
}

// Series, variety, the second series kind and results without a category
// first, then movies, each in page order; every row holds its own poster
// bytes, also when they are no picture.
TEST_F(SearchTest, ShowsThenMoviesWithTheirOwnPosters) {
  StartPortal(kSearchPages);
  for (const char* list : {"超级列表框2", "超级列表框3", "超级列表框4"}) ui().AppendRow(list);
  Search("混合");

  const std::string b = Base();
  std::vector<Row> expected = {
      ShowRow("甲剧", "全10集", "电视剧", b + "/img/a.png", b + "/d/a.html", "2"),
      ShowRow("丙剧", "全6集", "剧集", b + "/img/broken.jpg", b + "/d/c.html", "4"),
      ShowRow("丁综", "更新至20期", "综艺", b + "/img/missing.jpg", b + "/d/d.html", "3"),
      ShowRow("戊", "全2集", "花絮", b + "/img/a.png", b + "/d/e.html", ""),
      MovieRow("乙片", "电影", b + "/img/b.gif", b + "/d/b.html"),
      MovieRow("己片", "电影", "", b + "/d/f.html"),
  };
  EXPECT_EQ(ui().Rows(kResults), expected);

  const std::string png = ReadFile(kSearchPages + "/img/a.png");
  EXPECT_EQ(ui().RowPicture(kResults, 0), png);
  EXPECT_EQ(ui().RowPicture(kResults, 1), ReadFile(kSearchPages + "/img/broken.jpg"));
  Bytes notFound = ui().RowPicture(kResults, 2);
  EXPECT_NE(notFound, png);
  EXPECT_NE(notFound, ui().RowPicture(kResults, 1));
  EXPECT_EQ(ui().RowPicture(kResults, 3), png);
  EXPECT_EQ(ui().RowPicture(kResults, 4), ReadFile(kSearchPages + "/img/b.gif"));
  EXPECT_EQ(ui().RowPicture(kResults, 5), "");

  for (const char* list : {"超级列表框2", "超级列表框3", "超级列表框4"})
    EXPECT_EQ(ui().RowCount(list), 0) << list;
  EXPECT_FALSE(ui().IsVisible(kLoading));
  EXPECT_TRUE(effects_->Messages().empty());
}

TEST_F(SearchTest, MoviesOnlyPageGivesTwoLineCaptions) {
  StartPortal(kSearchPages);
  Search("只有电影");
  const std::string b = Base();
  EXPECT_EQ(ui().Rows(kResults),
            (std::vector<Row>{MovieRow("庚片", "电影", b + "/img/b.gif", b + "/d/g.html"),
                              MovieRow("辛片", "动画电影", b + "/img/a.png", b + "/d/h.html")}));
  EXPECT_TRUE(effects_->Messages().empty());
}

struct MessageCase {
  const char* typed;
  bool noServer;
  const char* message;
  int rows;
};

// The no-result message names the text as typed and looks only at row 0's
// poster address; a request that fails altogether says so instead.
TEST_F(SearchTest, ClosingMessages) {
  StartPortal(kSearchPages);
  const MessageCase cases[] = {
      {"没有这个", false, "抱歉，没有找到《没有这个》换个名字试试吧！", 0},
      {" ", false, "抱歉，没有找到《 》换个名字试试吧！", 0},
      {"无海报", false, "抱歉，没有找到《无海报》换个名字试试吧！", 1},
      {"白夜追凶", true, "网络连接失败，请检查网络后重试！", 0},
  };
  for (const MessageCase& c : cases) {
    SCOPED_TRACE(c.typed);
    ctx_.addresses.searchHost = c.noServer ? "http://127.0.0.1:1" : Base();
    size_t before = effects_->Messages().size();
    Search(c.typed);
    auto messages = effects_->Messages();
    ASSERT_EQ(messages.size(), before + 1);
    EXPECT_EQ(messages.back().text, Utf8ToText(c.message));
    EXPECT_EQ(messages.back().flags, kMbIconInformation);
    EXPECT_EQ(messages.back().title, "提示："_gbk);
    EXPECT_EQ(ui().RowCount(kResults), c.rows);
    EXPECT_FALSE(ui().IsVisible(kLoading));
  }
}

// The title reaches the portal as typed, percent-encoded as UTF-8, and cannot
// add parameters of its own.
TEST_F(SearchTest, SearchTextIsPercentEncoded) {
  TestServer server;
  std::mutex mutex;
  std::vector<std::string> targets;
  std::multimap<std::string, std::string> params;
  server.server.Get("/index.php", [&](const httplib::Request& req, httplib::Response& res) {
    std::lock_guard lock(mutex);
    targets.push_back(req.target);
    params = req.params;
    res.set_content("", "text/html");
  });
  ctx_.addresses.searchHost = server.Start();
  Search("a b&c#d+中");

  std::lock_guard lock(mutex);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0], "/index.php?kw=a%20b%26c%23d%2B%E4%B8%AD&from=");
  EXPECT_EQ(params, (std::multimap<std::string, std::string>{{"kw", "a b&c#d+中"}, {"from", ""}}));
  ASSERT_EQ(effects_->Messages().size(), 1u);
  EXPECT_EQ(effects_->Messages()[0].text, "抱歉，没有找到《a b&c#d+中》换个名字试试吧！"_gbk);
}

// Rows come with their texts before any poster; posters load a few at a time;
// a new search drops the old one's remaining posters and keeps its own rows.
TEST_F(SearchTest, NewSearchSupersedesOneWhosePostersStillLoad) {
  constexpr int kCount = 8;
  TestServer server;
  std::mutex mutex;
  std::map<std::string, int> inFlight, maxInFlight, requests;
  std::string base;
  server.server.Get("/index.php", [&](const httplib::Request& req, httplib::Response& res) {
    std::string page, kw = req.get_param_value("kw");
    for (int i = 0; i < kCount; ++i) page += MovieResult(base, kw + std::to_string(i));
    res.set_content(page, "text/html");
  });
  server.server.Get(R"(/poster/(\w)(\d))", [&](const httplib::Request& req, httplib::Response& res) {
    std::string search = req.matches[1];
    {
      std::lock_guard lock(mutex);
      ++requests[search];
      maxInFlight[search] = std::max(maxInFlight[search], ++inFlight[search]);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    {
      std::lock_guard lock(mutex);
      --inFlight[search];
    }
    res.set_content("poster " + search + std::string(req.matches[2]), "image/png");
  });
  base = server.Start();
  ctx_.addresses.searchHost = base;

  ui().SetText("编辑框1", "A");
  StartTitleSearch(ctx_);
  for (int i = 0; i < 3000 && ui().Cell(kResults, kCount - 1, 5).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ASSERT_EQ(ui().Cell(kResults, kCount - 1, 5), "A7");
  EXPECT_EQ(ui().RowPicture(kResults, 0), "") << "texts come before posters";
  EXPECT_TRUE(ui().IsVisible(kLoading));

  ui().SetText("编辑框1", "B");
  StartTitleSearch(ctx_);
  Settle();

  std::vector<Row> rows = ui().Rows(kResults);
  ASSERT_EQ(rows.size(), static_cast<size_t>(kCount));
  for (int i = 0; i < kCount; ++i) {
    std::string name = "B" + std::to_string(i);
    EXPECT_EQ(rows[i][5], name);
    EXPECT_EQ(ui().RowPicture(kResults, i), "poster " + name);
  }
  EXPECT_FALSE(ui().IsVisible(kLoading));
  EXPECT_TRUE(effects_->Messages().empty());

  std::lock_guard lock(mutex);
  EXPECT_LT(requests["A"], kCount) << "the old search's queued posters are dropped";
  EXPECT_EQ(requests["B"], kCount);
  EXPECT_LE(maxInFlight["B"], 6);
  EXPECT_GE(maxInFlight["B"], 2) << "posters load concurrently";
}

// The edit box's start text finds results of every kind on the demo portal.
TEST_F(SearchTest, SamplePortalAnswersTheStartText) {
  StartPortal(SAMPLE_PAGES);
  Search("白夜追凶");
  std::vector<Text> categories;
  for (const Row& row : ui().Rows(kResults)) categories.push_back(row[4]);
  EXPECT_EQ(categories, (std::vector<Text>{"2", "4", "3", "2", "", "1", "1"}));
  EXPECT_EQ(ui().RowPicture(kResults, 0), ReadFile(std::string(SAMPLE_PAGES) + "/img/p01.jpg"));
  EXPECT_TRUE(effects_->Messages().empty());
}

}  // namespace
}  // namespace yz::testing
