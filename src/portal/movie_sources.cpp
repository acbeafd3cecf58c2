#include "portal/movie_sources.h"

#include "controls/select_page.h"
#include "portal/page_parsing.h"
#include "portal/selected_rows.h"
#include "text/regex_matcher.h"

namespace yz {
using namespace literals;

namespace {

// A link counts only when its closing tag ends the line: the pattern ends in
// a carriage return. Group 1 runs up to the last "html" of the address.
const char* const kSourcePattern =
    "<a data-daochu=\".*?\" class=\".*?\" href=\"(.*html).*\">(.*?)</a>\r";

}  // namespace

Text SourceName(const Text& linkText) {
  return ReplaceMany(linkText, std::nullopt, 1, true, {{"(付费)"_gbk, Text{}}});
}

ListRows ParseMovieSourcePage(const Text& page, const Text& labelPrefix) {
  RegexMatcher matcher;
  matcher.Create(kSourcePattern, page);
  const int count = matcher.MatchCount();
  ListRows rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i) {
    rows.push_back({Text{}, labelPrefix + SourceName(matcher.SubMatchText(i, 2)),
                    matcher.SubMatchText(i, 1)});
  }
  return rows;
}

MovieSourceRequest ReadMovieSourceRequest(const ControlModel& ui, const Addresses& addresses,
                                          OpenedFrom from) {
  MovieSourceRequest request;
  request.from = from;
  if (from == OpenedFrom::CatalogueList) {
    CatalogueRow row = SelectedCatalogueRow(ui, names::kNewMovies, addresses);
    request.detailAddress = row.detailAddress;
    request.labelPrefix = "        " + row.title + "  ";
  } else {
    SearchResultRow row = SelectedSearchResult(ui);
    request.detailAddress = row.detailAddress;
    request.labelPrefix = row.title + "  ";
  }
  return request;
}

void RunMovieSources(const Context& ctx, const ListLoad& load, const MovieSourceRequest& request) {
  ControlModel& ui = *ctx.ui;
  if (!ui.IsCurrent(load)) return;
  // Opened from a search result, the lists were arranged before the start.
  if (request.from == OpenedFrom::CatalogueList) ShowSeriesLists(ui, false);
  ListRows rows = ParseMovieSourcePage(FetchPageFor(ctx, request.detailAddress), request.labelPrefix);
  if (rows.empty()) {
    if (!ui.IsCurrent(load) || ShuttingDown(ctx)) return;
    Text message = request.from == OpenedFrom::CatalogueList ? "暂不支持该视频！"_gbk
                                                             : "暂不支持该视频或该视频还没上映！"_gbk;
    ctx.effects->ShowMessage(message, kMbIconInformation, Text{});
    return;
  }
  for (const std::vector<Text>& cells : rows) {
    int row = ui.AppendRow(load);
    if (row < 0) break;
    WriteRowCells(ui, load, row, cells, 1);
  }
}

void LoadMovieSources(const Context& ctx, OpenedFrom from) {
  MovieSourceRequest request = ReadMovieSourceRequest(*ctx.ui, ctx.addresses, from);
  RunMovieSources(ctx, ctx.ui->BeginLoad(names::kSources), request);
}

void OnNewMovieDoubleClicked(const Context& ctx) {
  SelectPage(*ctx.ui, 1);
  MovieSourceRequest request = ReadMovieSourceRequest(*ctx.ui, ctx.addresses, OpenedFrom::CatalogueList);
  ListLoad load = ctx.ui->BeginLoad(names::kSources);
  ctx.workers->Start([ctx, load, request] { RunMovieSources(ctx, load, request); });
}

}  // namespace yz
