// Both update checks against a notice page on 127.0.0.1.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/update_check.h"
#include "sample_portal.h"

namespace yz {
namespace {

using namespace literals;

// A notice page as the program expects it, in GBK.
Bytes NoticePage(const std::string& version, const std::string& address, const std::string& notes) {
  return Utf8ToText("<html><body><p>最新版本为" + version + "（软件成品）</p><p>下载地址为：" +
                    address + "（软件成品）</p><p>更新：" + notes + "（完）</p></body></html>");
}

const Text kOfferTitle = "发现新版本："_gbk;
Text OfferText(const std::string& notes) {
  return "有更新，是否下载！\r\n更新内容："_gbk + Utf8ToText(notes);
}

// Counts the notice requests and whether they ran inside RunBlocking.
class CountingEffects : public RecordingEffects {
 public:
  explicit CountingEffects(const std::atomic<int>& hits) : hits_(hits) {}
  void RunBlocking(const std::function<void()>& work) override {
    int before = hits_;
    work();
    hitsInsideWaits += hits_ - before;
  }
  int hitsInsideWaits = 0;

 private:
  const std::atomic<int>& hits_;
};

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    effects_ = std::make_shared<CountingEffects>(hits_);
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    portal_ = std::make_unique<SamplePortal>(SamplePortal::Options{"/nonexistent", 0});
    portal_->Server().Get("/notice.html", [this](const httplib::Request&, httplib::Response& res) {
      ++hits_;
      std::lock_guard lock(bodyMutex_);
      res.set_content(body_, "text/html");
    });
    ASSERT_GT(portal_->Start(0), 0);
    ctx_.addresses.notice = portal_->Base() + "/notice.html";
  }
  void TearDown() override {
    portal_.reset();
    if (closedSocket_ >= 0) ::close(closedSocket_);
  }

  void Serve(const Bytes& body) {
    std::lock_guard lock(bodyMutex_);
    body_ = body;
  }

  // Points the check at a port that is bound but not listening: refused at once.
  void MakeUnreachable() {
    closedSocket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_GE(closedSocket_, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(closedSocket_, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    socklen_t len = sizeof addr;
    ASSERT_EQ(::getsockname(closedSocket_, reinterpret_cast<sockaddr*>(&addr), &len), 0);
    ctx_.addresses.notice = "http://127.0.0.1:" + std::to_string(ntohs(addr.sin_port)) + "/notice.html";
  }

  Context ctx_;
  std::shared_ptr<CountingEffects> effects_;
  std::unique_ptr<SamplePortal> portal_;
  std::atomic<int> hits_{0};
  std::mutex bodyMutex_;
  Bytes body_;
  int closedSocket_ = -1;
};

TEST_F(UpdateCheckTest, NoticeFieldsAreCutIndependentlyFromUnconvertedBytes) {
  // Fields in another order than the program names them; GBK notes with CR
  // LF pairs come back unchanged, whatever charset the page declares.
  Serve(Utf8ToText("<meta charset=\"utf-8\">更新：修复 播放\r\n新增 线路（完）下载地址为：http://dl.example/"
                   "yz.zip（软件成品）最新版本为1.5.0（软件成品）"));
  UpdateNotice notice = ReadUpdateNotice(ctx_);
  EXPECT_TRUE(notice.fetched);
  EXPECT_EQ(notice.latestVersion, "1.5.0");
  EXPECT_EQ(notice.downloadAddress, "http://dl.example/yz.zip");
  EXPECT_EQ(notice.updateNotes, "修复 播放\r\n新增 线路"_gbk);
}

TEST_F(UpdateCheckTest, UnreadableNoticesAreNotFetched) {
  Serve("");
  EXPECT_FALSE(ReadUpdateNotice(ctx_).fetched);
  MakeUnreachable();
  UpdateNotice notice = ReadUpdateNotice(ctx_);
  EXPECT_FALSE(notice.fetched);
  EXPECT_TRUE(notice.latestVersion.empty());
}

enum class Outcome { Nothing, Offer, UpToDate, Failed };

struct CheckCase {
  const char* name;
  std::optional<Bytes> page;  // none: unreachable
  Outcome startup;
  Outcome menu;
};

class BothChecks : public UpdateCheckTest, public ::testing::WithParamInterface<CheckCase> {
 protected:
  void Prepare() {
    if (GetParam().page) {
      Serve(*GetParam().page);
    } else {
      MakeUnreachable();
    }
  }

  void ExpectOutcome(Outcome outcome, bool startup) {
    auto messages = effects_->Messages();
    switch (outcome) {
      case Outcome::Nothing:
        EXPECT_TRUE(messages.empty());
        break;
      case Outcome::Offer:
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text, OfferText("更快"));
        EXPECT_EQ(messages[0].flags, 68);
        EXPECT_EQ(messages[0].title, kOfferTitle);
        break;
      case Outcome::UpToDate:
      case Outcome::Failed:
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].text,
                  outcome == Outcome::UpToDate ? "已是最新版！"_gbk : "检查更新失败，请稍后再试！"_gbk);
        EXPECT_EQ(messages[0].flags, 64);
        EXPECT_EQ(messages[0].title, "信息："_gbk);
        break;
    }
    // The answer was No: nothing opened; only the start-up offer ends the program.
    EXPECT_TRUE(effects_->OpenedAddresses().empty());
    EXPECT_EQ(effects_->Ended(), startup && outcome == Outcome::Offer);
    EXPECT_EQ(effects_->ExitCode(), 0);
    EXPECT_EQ(effects_->hitsInsideWaits, GetParam().page ? 1 : 0);
  }
};

TEST_P(BothChecks, AtStartUp) {
  Prepare();
  StartupUpdateCheck(ctx_);
  ExpectOutcome(GetParam().startup, true);
}

TEST_P(BothChecks, FromTheMenu) {
  Prepare();
  MenuUpdateCheck(ctx_);
  ExpectOutcome(GetParam().menu, false);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, BothChecks,
    ::testing::Values(
        CheckCase{"same", NoticePage("1.4.9", "http://dl.example/a", "更快"), Outcome::Nothing,
                  Outcome::UpToDate},
        CheckCase{"higher", NoticePage("1.5.0", "http://dl.example/a", "更快"), Outcome::Offer,
                  Outcome::Offer},
        CheckCase{"lower", NoticePage("1.3.2", "http://dl.example/a", "更快"), Outcome::Offer,
                  Outcome::Offer},
        CheckCase{"trailing_space", NoticePage("1.4.9 ", "http://dl.example/a", "更快"),
                  Outcome::Offer, Outcome::Offer},
        CheckCase{"any_other_text", NoticePage("v1.4.9", "", "更快"), Outcome::Offer,
                  Outcome::Offer},
        CheckCase{"unreachable", std::nullopt, Outcome::Nothing, Outcome::Failed},
        CheckCase{"empty_body", Bytes(), Outcome::Nothing, Outcome::Failed},
        CheckCase{"no_markers", Bytes("<html><body>1.5.0</body></html>"), Outcome::Nothing,
                  Outcome::Failed},
        CheckCase{"no_closing_marker", Utf8ToText("最新版本为1.5.0 更新：更快（完）"),
                  Outcome::Nothing, Outcome::Failed},
        CheckCase{"empty_version", NoticePage("", "http://dl.example/a", "更快"), Outcome::Nothing,
                  Outcome::Failed}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(UpdateCheckTest, YesOpensTheDownloadAddress) {
  Serve(NoticePage("2.0", "http://dl.example/yz-2.0.zip", "新版"));
  effects_->QueueAnswer(kAnswerYes);
  MenuUpdateCheck(ctx_);
  EXPECT_EQ(effects_->OpenedAddresses(), std::vector<Text>{"http://dl.example/yz-2.0.zip"});
  EXPECT_FALSE(effects_->Ended());

  effects_->QueueAnswer(kAnswerYes);
  StartupUpdateCheck(ctx_);
  EXPECT_EQ(effects_->OpenedAddresses().size(), 2u);
  EXPECT_TRUE(effects_->Ended());
  EXPECT_EQ(effects_->ExitCode(), 0);
}

TEST_F(UpdateCheckTest, ComparesWithTheVersionLabel) {
  Serve(NoticePage("1.5.0", "http://dl.example/a", "更快"));
  ctx_.ui->SetText("标签1", "1.5.0");
  StartupUpdateCheck(ctx_);
  EXPECT_TRUE(effects_->Messages().empty());
  EXPECT_FALSE(effects_->Ended());
}

}  // namespace
}  // namespace yz
