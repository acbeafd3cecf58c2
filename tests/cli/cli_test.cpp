// yingzhou-cli as a user runs it: a real process against fixture pages on
// loopback, checked by its stdout, stderr and exit status.
#include <gtest/gtest.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "sample_portal.h"

extern char** environ;

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

// Runs the CLI with `args`, reading both pipes until it ends.
Outcome RunCli(const std::vector<std::string>& args) {
  Outcome o;
  int outPipe[2], errPipe[2];
  if (pipe(outPipe) != 0 || pipe(errPipe) != 0) return o;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outPipe[1], 1);
  posix_spawn_file_actions_adddup2(&actions, errPipe[1], 2);
  posix_spawn_file_actions_addclose(&actions, outPipe[0]);
  posix_spawn_file_actions_addclose(&actions, errPipe[0]);

  std::vector<std::string> all = {YINGZHOU_CLI};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int spawned = posix_spawn(&pid, YINGZHOU_CLI, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(outPipe[1]);
  close(errPipe[1]);

  pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
  std::string* sinks[2] = {&o.out, &o.err};
  int open = 2;
  while (spawned == 0 && open > 0 && poll(fds, 2, 20000) > 0) {
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
      char buffer[4096];
      ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        fds[i].fd = -1;
        --open;
      }
    }
  }
  close(outPipe[0]);
  close(errPipe[0]);
  int wstatus = 0;
  if (spawned == 0 && waitpid(pid, &wstatus, 0) == pid && WIFEXITED(wstatus))
    o.status = WEXITSTATUS(wstatus);
  return o;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    portal_ = std::make_unique<yz::SamplePortal>(yz::SamplePortal::Options{CLI_FIXTURES, 0});
    ASSERT_GT(portal_->Start(0), 0);
    base_ = portal_->Base();
  }
  // The command with the three addresses pointed at the fixture portal.
  Outcome Run(std::vector<std::string> command, const std::string& notice = "/notice.html") {
    std::vector<std::string> args = {"--portal", base_, "--search-host", base_, "--notice",
                                      base_ + notice};
    args.insert(args.end(), command.begin(), command.end());
    return RunCli(args);
  }

  std::unique_ptr<yz::SamplePortal> portal_;
  std::string base_;
};

TEST_F(CliTest, CataloguePrintsThirtyRowsWithEveryColumn) {
  struct Case {
    const char* kind;
    std::vector<std::string> filled;
    std::string empty;  // the rows past the page's items
  };
  const std::vector<Case> cases = {
      {"tv",
       {"更新至3集  青山\thttp://img.example/qs.jpg\t/tv/qs.html\t青山",
        "  长河\thttp://img.example/ch.jpg\t/tv/ch.html\t长河"},
       "  \t\t\t"},
      {"movies",
       {"血海\thttp://img.example/xh.jpg\t/m/xh.html\t血海",
        "雨巷\thttp://img.example/yb.jpg\t/m/yb.html\t雨巷"},
       "\t\t\t"},
      {"variety", {"周末有约\thttp://img.example/zy.jpg\t/va/zy.html"}, "\t\t"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    Outcome o = Run({"catalogue", c.kind});
    EXPECT_EQ(o.status, 0);
    EXPECT_EQ(o.err, "");
    std::vector<std::string> lines = Lines(o.out);
    ASSERT_EQ(lines.size(), 30u);
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(lines[i], i < c.filled.size() ? c.filled[i] : c.empty) << "row " << i;
  }
}

TEST_F(CliTest, SearchPrintsSeriesThenMoviesWithEscapedLineBreaks) {
  Outcome o = Run({"search", "qingshan"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(Lines(o.out),
            (std::vector<std::string>{
                "\t青山\\r\\n\\r\\n集数： 全3集\\r\\n\\r\\n类型： 电视剧\t" + base_ +
                    "/img/none.jpg\t" + base_ + "/tv/qs.html\t2\t青山",
                "\t血海\\r\\n\\r\\n类型： 电影\t" + base_ + "/img/none.jpg\t" + base_ +
                    "/m/xh.html\t1\t血海"}));

  o = Run({"search", "nothing"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "message: 抱歉，没有找到《nothing》换个名字试试吧！\n");
}

TEST_F(CliTest, DetailsPrintTheTwoLabels) {
  const std::string cast = "演员：  方甲   李乙\n简介：第一行\\n第二行\n";
  EXPECT_EQ(Run({"details", "tv", "/tv/qs.html"}).out, cast);
  EXPECT_EQ(Run({"details", "search", base_ + "/tv/qs.html", "2"}).out, cast);
  Outcome o = Run({"details", "movies", "/tv/none.html"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "\n\n");
}

TEST_F(CliTest, SeriesSitesAndEpisodes) {
  Outcome o = Run({"sites", "tv", "/tv/qs.html"});
  EXPECT_EQ(o.out, "\t芒果\n\tPPTV\n");
  EXPECT_EQ(Run({"sites", "search", base_ + "/tv/qs.html", "2"}).out, "\t芒果\n\tPPTV\n");

  o = Run({"sites", "tv", "/tv/none.html"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "message: 暂不支持该视频！\n");

  const std::string trimmed =
      "\t青山第1集\thttp://v.example/qs1.html\n\t青山第2集\thttp://v.example/qs2.html\n";
  EXPECT_EQ(Run({"episodes", "tv", "芒果", "/tv/qs.html", "青山"}).out, trimmed);
  EXPECT_EQ(Run({"episodes", "search2", "芒果", base_ + "/tv/qs.html", "青山"}).out, trimmed);

  o = Run({"episodes", "search2", "PPTV", base_ + "/tv/qs.html", "青山"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "message: 暂不支持该视频源！\n");
}

TEST_F(CliTest, SourcesAndIssuesEscapeTabsAndBackslashes) {
  EXPECT_EQ(Run({"sources", "movies", "/m/xh.html", "血海"}).out,
            "\t        血海  腾讯\\t视频\\\\高清\thttp://v.example/m/xh.html\n"
            "\t        血海  优酷\thttp://v.example/m/xh2.html\n");
  EXPECT_EQ(Run({"sources", "search", base_ + "/m/xh.html", "血海"}).out,
            "\t血海  腾讯\\t视频\\\\高清\thttp://v.example/m/xh.html\n"
            "\t血海  优酷\thttp://v.example/m/xh2.html\n");

  Outcome o = Run({"sources", "search", base_ + "/tv/none.html", "血海"});
  EXPECT_EQ(o.out, "");
  EXPECT_EQ(o.err, "message: 暂不支持该视频或该视频还没上映！\n");

  const std::string issue = "\t01-05第1期\thttp://v.example/z/1.html\n";
  EXPECT_EQ(Run({"issues", "variety", "/va/zy.html"}).out, issue);
  EXPECT_EQ(Run({"issues", "search", base_ + "/va/zy.html"}).out, issue);
}

TEST_F(CliTest, PlayJoinsTheLinePrefixAndTheAddress) {
  const std::string page = "http://v.example/a.html?x=1";
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"默认", "/jx/ty.php?url="},
      {"线路1", "/?url="},
      {"线路2", "/sudu/?url="},
      {"线路3", "/?url="},
  };
  for (const auto& [line, tail] : cases) {
    Outcome o = Run({"play", line, page});
    EXPECT_EQ(o.status, 0) << line;
    ASSERT_EQ(Lines(o.out).size(), 1u) << line;
    const std::string address = Lines(o.out)[0];
    EXPECT_EQ(address.rfind("http://", 0), 0u) << address;
    EXPECT_TRUE(address.ends_with(tail + page)) << address;
  }
  EXPECT_NE(Lines(Run({"play", "线路3", page}).out)[0].find("/jx.html?jx=https://"), std::string::npos);
}

TEST_F(CliTest, CheckUpdateComparesTheNoticeWithTheOwnVersion) {
  EXPECT_EQ(Run({"check-update"}).out, "up-to-date\n");
  EXPECT_EQ(Run({"check-update"}, "/notice-new.html").out, "new 2.0.0\n");
  // A page that names no version is no news of a new one.
  EXPECT_EQ(Run({"check-update"}, "/notice-unmarked.html").out, "failed\n");
  // Nothing listens on port 1 of the loopback address.
  Outcome o = RunCli({"--notice", "http://127.0.0.1:1/notice.html", "check-update"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.out, "failed\n");
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndPrintNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"bogus"},
      {"catalogue"},
      {"catalogue", "music"},
      {"search"},
      {"search", "a", "b"},
      {"episodes", "tv", "芒果", "/tv/qs.html"},
      {"play", "线路9", "http://v.example/a.html"},
      {"--portal"},
      {"--portal", "ftp://127.0.0.1", "catalogue", "tv"},
  };
  for (const std::vector<std::string>& args : cases) {
    Outcome o = RunCli(args);
    std::string shown = args.empty() ? "(none)" : args[0] + (args.size() > 1 ? " " + args[1] : "");
    EXPECT_EQ(o.status, 2) << shown;
    EXPECT_EQ(o.out, "") << shown;
    EXPECT_EQ(o.err.rfind("yingzhou-cli: ", 0), 0u) << shown << ": " << o.err;
  }
}

TEST_F(CliTest, HelpDocumentsOptionsCommandsAndOutput) {
  Outcome o = RunCli({"--help"});
  EXPECT_EQ(o.status, 0);
  EXPECT_EQ(o.err, "");
  for (const char* word : {"--portal BASE", "--search-host BASE", "--notice URL", "catalogue tv",
                           "search TITLE", "details search DETAIL_ADDRESS CATEGORY",
                           "sites tv DETAIL_PATH", "episodes search4 SITE_NAME DETAIL TITLE",
                           "sources movies DETAIL_PATH TITLE", "issues search DETAIL_ADDRESS",
                           "play LINE PAGE_ADDRESS", "check-update", "message: TEXT", "\\t"})
    EXPECT_NE(o.out.find(word), std::string::npos) << word;
}

}  // namespace
