#include "portal/source_sites.h"

#include "controls/select_page.h"
#include "portal/readers.h"
#include "text/regex_matcher.h"

namespace yz {
using namespace literals;

namespace {

// The last letter of each code repeats lazily up to the closing quote, so
// "qqq" and "img" are codes too.
const char* const kSitePattern =
    R"re({"ensite":"(qq*?|youku*?|qiyi*?|imgo*?|levp*?|sohu*?|leshi*?|PPTV*?)",)re";

void ShowNoSiteMessage(const Context& ctx) {
  ctx.effects->ShowMessage("暂不支持该视频！"_gbk, kMbIconInformation, Text{});
}

}  // namespace

Text SeriesSiteBlock(const Text& page) { return TextBetween(page, "var serverdata", "playtype"); }

Text SiteDisplayName(const Text& siteCode) {
  // "qiyi" alone is replaced with exact case; the other five ignore case.
  Text name = ReplaceMany(siteCode, std::nullopt, 1, true, {{"qiyi", "爱奇艺"_gbk}});
  return ReplaceMany(name, {{"qq", "腾讯"_gbk},
                            {"youku", "优酷"_gbk},
                            {"imgo", "芒果"_gbk},
                            {"sohu", "搜狐"_gbk},
                            {"leshi", "乐视"_gbk}});
}

ListRows ParseSitePage(SiteScope scope, const Text& page) {
  RegexMatcher matcher;
  matcher.Create(kSitePattern, scope == SiteScope::ServerDataBlock ? SeriesSiteBlock(page) : page);
  const int count = matcher.MatchCount();
  ListRows rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i) rows.push_back({Text{}, SiteDisplayName(matcher.SubMatchText(i, 1))});
  return rows;
}

int FillSiteList(ControlModel& ui, const ListLoad& load, SiteScope scope, const Text& page) {
  ListRows rows = ParseSitePage(scope, page);
  for (const std::vector<Text>& cells : rows) {
    int row = ui.AppendRow(load);
    if (row < 0) break;  // a newer load owns the list
    WriteRowCells(ui, load, row, cells, 1);
  }
  return static_cast<int>(rows.size());
}

void OpenHotSeries(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  ShowSeriesLists(ui, true);
  ListLoad sites = ui.BeginLoad(names::kSites);
  ui.DeleteAllRows(names::kEpisodes);
  SelectPage(ui, 1);
  ui.SetText(names::kSeriesMarkerBox, "推荐电视剧"_gbk);

  Text address = SelectedCatalogueRow(ui, names::kHotSeries, ctx.addresses).detailAddress;
  Text page;
  ctx.effects->RunBlocking([&] { page = FetchPageFor(ctx, address); });

  if (FillSiteList(ui, sites, SiteScope::ServerDataBlock, page) > 0) return;
  if (!ui.IsCurrent(sites) || ShuttingDown(ctx)) return;
  ShowNoSiteMessage(ctx);
  // Another series may have been opened while the box was up.
  if (!ui.IsCurrent(sites)) return;
  ui.SetVisible(names::kSites, false);
  ui.SetVisible(names::kEpisodes, false);
}

void RunSeriesSites(const Context& ctx, const ListLoad& load, const SearchResultRow& result) {
  ControlModel& ui = *ctx.ui;
  if (!ui.IsCurrent(load)) return;
  Text page = FetchPageFor(ctx, result.detailAddress);
  // The second series kind names its sites anywhere in the page.
  SiteScope scope = result.category == "2" ? SiteScope::ServerDataBlock : SiteScope::WholePage;
  if (FillSiteList(ui, load, scope, page) > 0) return;
  if (ui.IsCurrent(load) && !ShuttingDown(ctx)) ShowNoSiteMessage(ctx);
}

void LoadSeriesSites(const Context& ctx) {
  SearchResultRow result = SelectedSearchResult(*ctx.ui);
  if (result.category != "2" && result.category != "4") return;
  RunSeriesSites(ctx, ctx.ui->BeginLoad(names::kSites), result);
}

}  // namespace yz
