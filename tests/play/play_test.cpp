// Play requests through the control layer: which line plays what, the one
// player, the history list, and the typed address with its title request.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "play/play.h"
#include "sample_portal.h"

namespace yz {
namespace {

using namespace literals;

constexpr const char* kEpisodes = "超级列表框3";
constexpr const char* kSources = "超级列表框4";
constexpr const char* kHistory = "超级列表框5";
constexpr const char* kLines[] = {"默认", "线路1", "线路2", "线路3"};

Addresses LineAddresses() {
  Addresses a;
  a.lineDefault = "http://line0.test";
  a.line1 = "http://line1.test";
  a.line2 = "http://line2.test";
  a.line3 = "http://line3.test";
  a.line3Nested = "https://nested.test";
  return a;
}

// Records, besides the effects, what the player showed when the handler
// started waiting on the network.
class WaitingEffects : public RecordingEffects {
 public:
  void RunBlocking(const std::function<void()>& work) override {
    addressWhenWaiting = PlayerAddress();
    ++waits;
    work();
  }
  Text addressWhenWaiting;
  int waits = 0;
};

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    effects_ = std::make_shared<WaitingEffects>();
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    ctx_.addresses = LineAddresses();
  }
  void TearDown() override { ctx_.workers->Shutdown(); }

  ControlModel& ui() { return *ctx_.ui; }

  void TickOnly(const char* line) {
    for (const char* l : kLines) ui().SetTicked(l, line && std::string(l) == line);
  }

  // Appends a row (label in column 1, page address in column 2) and selects it.
  int AddRow(const char* list, const Text& label, const Text& address) {
    int row = ui().AppendRow(list);
    ui().SetCell(list, row, 1, label);
    ui().SetCell(list, row, 2, address);
    ui().SetSelectedRow(list, row);
    return row;
  }

  std::vector<std::vector<Text>> History() {
    ctx_.workers->WaitIdle();
    return ui().Rows(kHistory);
  }

  Context ctx_;
  std::shared_ptr<WaitingEffects> effects_;
};

TEST(LinePrefix, FixedPathsAndKeysAfterEachLineAddress) {
  const Addresses a = LineAddresses();
  const std::pair<const char*, Text> cases[] = {
      {"默认", "http://line0.test/jx/ty.php?url="},
      {"线路1", "http://line1.test/?url="},
      {"线路2", "http://line2.test/sudu/?url="},
      {"线路3", "http://line3.test/jx.html?jx=https://nested.test/?url="},
      {"线路4", ""},
      {"", ""},
  };
  for (const auto& [line, prefix] : cases) EXPECT_EQ(LinePrefix(a, line), prefix) << line;
}

TEST_F(PlayTest, EachTickedLinePlaysPrefixPlusPageAddressUnchanged) {
  // Unescaped, spaces, ampersands and GBK included.
  const Text page = "https://v.example/play 1.html?a=1&b=第一集"_gbk;
  for (const char* list : {kEpisodes, kSources}) {
    for (const char* line : kLines) {
      TickOnly(line);
      AddRow(list, "第一集"_gbk, page);
      list == std::string(kEpisodes) ? PlayEpisode(ctx_) : PlaySource(ctx_);
      EXPECT_EQ(effects_->PlayerAddress(), LinePrefix(ctx_.addresses, line) + page) << line;
      EXPECT_EQ(effects_->PlayerCaption(), "正在播放：第一集"_gbk);
    }
  }
  EXPECT_EQ(effects_->PlayerWindowsCreated(), 1);
  EXPECT_EQ(effects_->PlayerLoads(), 8);
}

TEST_F(PlayTest, NestedLineThreeAddress) {
  TickOnly("线路3");
  AddRow(kEpisodes, "第2集"_gbk, "https://site.example/ep2.html");
  PlayEpisode(ctx_);
  EXPECT_EQ(effects_->PlayerAddress(),
            "http://line3.test/jx.html?jx=https://nested.test/?url=https://site.example/ep2.html");
}

TEST_F(PlayTest, TheFirstTickedLineWins) {
  ui().SetTicked("线路2", true);
  ui().SetTicked("线路3", true);
  AddRow(kSources, "a", "http://v.example/a");
  PlaySource(ctx_);
  EXPECT_EQ(effects_->PlayerAddress(), "http://line2.test/sudu/?url=http://v.example/a");
}

// Each case adds a history row and plays nothing.
TEST_F(PlayTest, NothingPlaysWithoutLineAddressOrSelection) {
  struct Case {
    const char* name;
    const char* line;  // the only ticked line, or none
    Text address;
    bool select;
  };
  const Case cases[] = {
      {"no line ticked", nullptr, "http://v.example/1", true},
      {"empty address", "默认", "", true},
      {"empty address, line 3", "线路3", "", true},
      {"no row selected", "默认", "http://v.example/1", false},
  };
  int expectedRows = 0;
  for (const char* list : {kEpisodes, kSources}) {
    for (const Case& c : cases) {
      TickOnly(c.line);
      AddRow(list, c.name, c.address);
      if (!c.select) ui().SetSelectedRow(list, -1);
      list == std::string(kEpisodes) ? PlayEpisode(ctx_) : PlaySource(ctx_);
      ++expectedRows;
      auto rows = History();
      ASSERT_EQ(static_cast<int>(rows.size()), expectedRows) << c.name;
      EXPECT_EQ(rows.back()[1], c.select ? Text(c.name) : Text()) << c.name;
      EXPECT_EQ(effects_->PlayerLoads(), 0) << c.name;
    }
  }
  EXPECT_EQ(effects_->PlayerWindowsCreated(), 0);
}

TEST_F(PlayTest, TwoPlaysKeepOnePlayerWithTheSecondCaption) {
  TickOnly("默认");
  AddRow(kEpisodes, "第1集"_gbk, "http://v.example/1");
  PlayEpisode(ctx_);
  AddRow(kSources, "腾讯"_gbk, "http://v.example/2");
  PlaySource(ctx_);
  EXPECT_EQ(effects_->PlayerWindowsCreated(), 1);
  EXPECT_EQ(effects_->PlayerLoads(), 2);
  EXPECT_EQ(effects_->PlayerAddress(), "http://line0.test/jx/ty.php?url=http://v.example/2");
  EXPECT_EQ(effects_->PlayerCaption(), "正在播放：腾讯"_gbk);
}

TEST_F(PlayTest, HistoryKeepsEveryChoiceInOrderWithPageAddresses) {
  TickOnly("线路1");
  std::vector<std::vector<Text>> expected;
  for (int i = 0; i < 40; ++i) {
    const char* list = i % 3 == 0 ? kSources : kEpisodes;
    Text label = "第"_gbk + std::to_string(i) + "集"_gbk;
    Text address = i % 5 == 4 ? Text() : "http://v.example/" + std::to_string(i);
    AddRow(list, label, address);
    ui().SetCell(list, ui().SelectedRow(list), 0, "c0-" + std::to_string(i));
    list == std::string(kEpisodes) ? PlayEpisode(ctx_) : PlaySource(ctx_);
    expected.push_back({"c0-" + std::to_string(i), label, address});
  }
  EXPECT_EQ(History(), expected);
}

TEST_F(PlayTest, HistoryRowWorkerBodyCopiesTheSelectedRow) {
  AddRow(kSources, "优酷"_gbk, "http://v.example/y");
  AddHistoryRow(ctx_, kSources);
  ui().SetSelectedRow(kSources, -1);
  AddHistoryRow(ctx_, kSources);
  EXPECT_EQ(History(), (std::vector<std::vector<Text>>{{"", "优酷"_gbk, "http://v.example/y"},
                                                       {"", "", ""}}));
}

// ---- the typed address ---------------------------------------------------------

class TypedAddressTest : public PlayTest {
 protected:
  void SetUp() override {
    PlayTest::SetUp();
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{"/nonexistent", 0});
    portal_->Server().Get("/video", [this](const httplib::Request&, httplib::Response& res) {
      ++hits_;
      res.set_content("<html><head><meta charset=\"utf-8\"><title>白夜追凶 第1集</title></head></html>",
                      "text/html; charset=utf-8");
    });
    portal_->Server().Get("/untitled", [this](const httplib::Request&, httplib::Response& res) {
      ++hits_;
      res.set_content("<html><body>no title</body></html>", "text/html");
    });
    ASSERT_GT(portal_->Start(0), 0);
    TickOnly("默认");
  }
  void TearDown() override {
    portal_.reset();
    PlayTest::TearDown();
  }

  void PlayTyped(const Text& typed) {
    ui().SetText("编辑框1", typed);
    PlayTypedAddress(ctx_);
  }

  std::unique_ptr<SamplePortal> portal_;
  std::atomic<int> hits_{0};
};

TEST_F(TypedAddressTest, PlaysAtOnceThenTakesThePageTitleForTheCaption) {
  const Text typed = portal_->Base() + "/video";
  PlayTyped(typed);
  EXPECT_EQ(effects_->PlayerAddress(), "http://line0.test/jx/ty.php?url=" + typed);
  // The address was set before the handler waited on the title request,
  // and the request ran inside the wait.
  EXPECT_EQ(effects_->waits, 1);
  EXPECT_EQ(effects_->addressWhenWaiting, effects_->PlayerAddress());
  EXPECT_EQ(hits_, 1);
  EXPECT_EQ(effects_->PlayerCaption(), "正在播放：白夜追凶 第1集"_gbk);
}

TEST_F(TypedAddressTest, NoTitleOrNoPageLeavesTheBareCaption) {
  // A port bound but not listening refuses at once.
  const int closed = ::socket(AF_INET, SOCK_STREAM, 0);
  ASSERT_GE(closed, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  ASSERT_EQ(::bind(closed, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ASSERT_EQ(::getsockname(closed, reinterpret_cast<sockaddr*>(&addr), &len), 0);
  const Text refused = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/video";

  for (const Text& typed : {portal_->Base() + "/untitled", refused}) {
    PlayTyped(typed);
    EXPECT_EQ(effects_->PlayerAddress(), "http://line0.test/jx/ty.php?url=" + typed);
    EXPECT_EQ(effects_->PlayerCaption(), "正在播放："_gbk) << typed;
  }
  ::close(closed);
}

TEST_F(TypedAddressTest, HttpTestIsCaseSensitiveAndFindsHttpAnywhere) {
  const std::string hostPort = portal_->Base().substr(7);  // 127.0.0.1:PORT
  struct Case {
    Text typed;
    bool plays;
  };
  const Case cases[] = {
      {"HTTP://" + hostPort + "/video", false},
      {"Http://" + hostPort + "/video", false},
      {hostPort + "/video", false},
      {"", false},
      {hostPort + "/http", true},  // "http" inside, not at the start
      {hostPort + "/\xB0\xA1http", true},  // after a whole GBK character
      {hostPort + "/\x81http", false},      // 0x81 0x68 is one GBK character
  };
  for (const Case& c : cases) {
    const int loadsBefore = effects_->PlayerLoads();
    PlayTyped(c.typed);
    EXPECT_EQ(effects_->PlayerLoads(), loadsBefore + (c.plays ? 1 : 0)) << c.typed;
    if (c.plays) {
      EXPECT_EQ(effects_->PlayerAddress(), "http://line0.test/jx/ty.php?url=" + c.typed);
    }
  }
  EXPECT_EQ(hits_, 0);
  EXPECT_TRUE(ui().Rows(kHistory).empty());
}

TEST_F(TypedAddressTest, ChoosesTheTickedLineAndPlaysNothingWithoutOne) {
  const Text typed = portal_->Base() + "/video";
  TickOnly("线路2");
  PlayTyped(typed);
  EXPECT_EQ(effects_->PlayerAddress(), "http://line2.test/sudu/?url=" + typed);
  TickOnly(nullptr);
  PlayTyped(typed);
  EXPECT_EQ(effects_->PlayerLoads(), 1);
  EXPECT_EQ(hits_, 1);
}

}  // namespace
}  // namespace yz
