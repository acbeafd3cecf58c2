#include "portal/variety_issues.h"

#include "controls/select_page.h"
#include "portal/selected_rows.h"
#include "text/regex_matcher.h"

namespace yz {
using namespace literals;

namespace {

// One issue as the portal writes it: single quotes, two spaces after "<li",
// two before "/>". Group 2 stops at the first "html" of the link.
const char* const kIssuePattern =
    "<li  title='(.*?)' class='.*?'><a href='(.*?html).*?' data-daochu=to=.*?><div "
    "class='w-newfigure-imglink g-playicon js-playicon'> <img src='.*?' data-src='.*?' "
    "alt='.*?'  /><span class='w-newfigure-hint'>(.*?)</span>";

}  // namespace

Text VarietyDetailAddress(const ControlModel& ui, const Addresses& addresses, OpenedFrom from) {
  return from == OpenedFrom::CatalogueList
             ? SelectedCatalogueRow(ui, names::kHotVariety, addresses).detailAddress
             : SelectedSearchResult(ui).detailAddress;
}

void RunVarietyIssues(const Context& ctx, const ListLoad& load, OpenedFrom from,
                      const Text& detailAddress) {
  ControlModel& ui = *ctx.ui;
  if (!ui.IsCurrent(load)) return;
  if (from == OpenedFrom::CatalogueList) ShowSeriesLists(ui, false);
  RegexMatcher matcher;
  Text page = FetchPageFor(ctx, detailAddress);
  // Only the first year's list is read.
  Text block =
      TextBetween(page, "ul class=#引号list w-newfigure-list g-clear js-year-page"_gbk, "</ul>");
  matcher.Create(kIssuePattern, block);
  for (int i = 1, n = matcher.MatchCount(); i <= n; ++i) {
    int row = ui.AppendRow(load);
    if (row < 0) break;
    ui.SetCell(load, row, 1, matcher.SubMatchText(i, 3) + matcher.SubMatchText(i, 1));
    ui.SetCell(load, row, 2, matcher.SubMatchText(i, 2));
  }
}

void LoadVarietyIssues(const Context& ctx, OpenedFrom from) {
  Text address = VarietyDetailAddress(*ctx.ui, ctx.addresses, from);
  RunVarietyIssues(ctx, ctx.ui->BeginLoad(names::kSources), from, address);
}

void OnHotVarietyDoubleClicked(const Context& ctx) {
  SelectPage(*ctx.ui, 1);
  Text address = VarietyDetailAddress(*ctx.ui, ctx.addresses, OpenedFrom::CatalogueList);
  ListLoad load = ctx.ui->BeginLoad(names::kSources);
  ctx.workers->Start([ctx, load, address] {
    RunVarietyIssues(ctx, load, OpenedFrom::CatalogueList, address);
  });
}

}  // namespace yz
