// Title search: the first worker lists series and variety shows, the second
// movies, both from one search page, into 超级列表框1. Rows appear with their
// texts as soon as the page is parsed; posters follow through a PosterPool.
// A new search supersedes the rows and posters of the one before.
#include <memory>
#include <string>

#include "portal/page_parsing.h"
#include "portal/poster_pool.h"
#include "text/regex_matcher.h"

namespace yz {

using namespace yz::literals;

namespace {

const char* const kResults = "超级列表框1";
const char* const kLoading = "图片框_载入";

// What the two workers of one search share.
struct SearchRun {
  Text typed;  // the text searched for, as typed
  Text page;
  bool requestFailed = false;
  ListLoad load;
  std::shared_ptr<PosterPool> posters;
};

// Groups: 1 detail address, 2 title, 3 category, 4 poster, 5 play type,
// 6 episode count.
const Text& ShowsPattern() {
  static const Text pattern =
      "<a href=\"(.*?)\" class=\"g-playicon js-playicon\" title=\"(.*?)\" "
      "data-logger='ctype=detail'  data-longrecord=\".*?_(2|3|4|)\">[\\s\\S]*?"
      "<img src=\"(.*?)\"[\\s\\S]*?<span class=\"playtype\">\\[(.*?)\\]</span>[\\s\\S]*?"
      "<b>剧集：</b><span>(.*?)</span>"_gbk;
  return pattern;
}

// Groups 1 to 5 as above.
const Text& MoviesPattern() {
  static const Text pattern =
      "<a href=\"(.*?)\" class=\"g-playicon js-playicon\" title=\"(.*?)\" "
      "data-logger='ctype=detail'  data-longrecord=\".*?_(1)\">[\\s\\S]*?"
      "<img src=\"(.*?)\"[\\s\\S]*?<span class=\"playtype\">\\[(.*?)\\]</span>";
  return pattern;
}

// Every byte of the UTF-8 form outside A-Z a-z 0-9 - . _ ~ as %XX, so the
// portal receives the title as typed and it cannot add query parameters.
std::string PercentEncodeUtf8(const Text& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : TextToUtf8(text)) {
    bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                      (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

Text SearchAddress(const Context& ctx, const Text& typed) {
  return ctx.addresses.searchHost + "/index.php?kw=" + PercentEncodeUtf8(typed) + "&from=";
}

Text Caption(const RegexMatcher& m, int match, ResultKind kind) {
  Text caption = m.SubMatchText(match, 2);
  if (kind == ResultKind::Shows) caption += "\r\n\r\n集数： "_gbk + m.SubMatchText(match, 6);
  caption += "\r\n\r\n类型： "_gbk + m.SubMatchText(match, 5);
  return caption;
}

// Appends one row per result with all its texts, then queues its poster.
void AddResultRows(const Context& ctx, const SearchRun& run, ResultKind kind) {
  ControlModel& ui = *ctx.ui;
  for (const std::vector<Text>& cells : ParseSearchPage(kind, run.page)) {
    int row = ui.AppendRow(run.load);
    if (row < 0) return;  // a newer search owns the list
    WriteRowCells(ui, run.load, row, cells, 1);
    run.posters->Add(row, cells[kResultPosterColumn]);
  }
}

std::shared_ptr<PosterPool> PostersHidingLoadingPicture(const Context& ctx, const ListLoad& load) {
  auto ui = ctx.ui;
  return PosterPool::Create(ctx, load, [ui, load] {
    if (ui->IsCurrent(load)) ui->SetVisible(kLoading, false);
  });
}

// The second worker's part: movie rows, then the closing message.
void FinishWithMovies(const Context& ctx, const SearchRun& run) {
  ControlModel& ui = *ctx.ui;
  AddResultRows(ctx, run, ResultKind::Movies);
  run.posters->Close();  // hides the loading picture once the posters are in
  if (!ui.IsCurrent(run.load) || ShuttingDown(ctx)) return;
  if (run.requestFailed) {
    ctx.effects->ShowMessage("网络连接失败，请检查网络后重试！"_gbk, kMbIconInformation,
                             "提示："_gbk);
  } else if (ui.Cell(kResults, 0, 2).empty()) {
    ctx.effects->ShowMessage("抱歉，没有找到《"_gbk + run.typed + "》换个名字试试吧！"_gbk,
                             kMbIconInformation, "提示："_gbk);
  }
}

}  // namespace

ListRows ParseSearchPage(ResultKind kind, const Text& page) {
  RegexMatcher m;
  m.Create(kind == ResultKind::Shows ? ShowsPattern() : MoviesPattern(), page);
  const int count = m.MatchCount();
  ListRows rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i) {
    rows.push_back({Text{}, Caption(m, i, kind), m.SubMatchText(i, 4), m.SubMatchText(i, 1),
                    m.SubMatchText(i, 3), m.SubMatchText(i, 2)});
  }
  return rows;
}

void StartTitleSearch(const Context& ctx) {
  if (ctx.ui->GetText("编辑框1").empty()) {
    ctx.effects->ShowMessage("请输入有效的视频名称或视频地址！"_gbk, kMbIconInformation, "");
    return;
  }
  ctx.workers->Start([ctx] { SearchShowsWorker(ctx); });
}

void SearchShowsWorker(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  SearchRun run;
  run.typed = ui.GetText("编辑框1");
  run.load = ui.BeginLoad(kResults);
  ui.SetVisible(kLoading, true);
  ui.DeleteAllRows("超级列表框2");
  ui.DeleteAllRows("超级列表框3");
  ui.DeleteAllRows("超级列表框4");
  run.posters = PostersHidingLoadingPicture(ctx, run.load);

  run.page = FetchPageFor(ctx, SearchAddress(ctx, run.typed), run.requestFailed);
  AddResultRows(ctx, run, ResultKind::Shows);

  // The movies follow at once, from the same page, while posters still load.
  if (!ui.IsCurrent(run.load) || ShuttingDown(ctx)) {
    run.posters->Close();
    return;
  }
  ctx.workers->Start([ctx, run] { FinishWithMovies(ctx, run); });
}

void SearchMoviesWorker(const Context& ctx) {
  // Run on its own, it adds to the results that are listed now.
  ControlModel& ui = *ctx.ui;
  SearchRun run;
  run.typed = ui.GetText("编辑框1");
  run.load = ui.JoinLoad(kResults);
  run.posters = PostersHidingLoadingPicture(ctx, run.load);
  run.page = FetchPageFor(ctx, SearchAddress(ctx, run.typed), run.requestFailed);
  FinishWithMovies(ctx, run);
}

}  // namespace yz
