#include "portal/variety_issues.h"

#include "controls/select_page.h"
#include "portal/page_parsing.h"
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

ListRows ParseVarietyIssuePage(const Text& page) {
  // Only the first year's list is read.
  Text block =
      TextBetween(page, "ul class=#引号list w-newfigure-list g-clear js-year-page"_gbk, "</ul>");
  RegexMatcher matcher;
  matcher.Create(kIssuePattern, block);
  const int count = matcher.MatchCount();
  ListRows rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i) {
    rows.push_back({Text{}, matcher.SubMatchText(i, 3) + matcher.SubMatchText(i, 1),
                    matcher.SubMatchText(i, 2)});
  }
  return rows;
}

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
  for (const std::vector<Text>& cells : ParseVarietyIssuePage(FetchPageFor(ctx, detailAddress))) {
    int row = ui.AppendRow(load);
    if (row < 0) break;
    WriteRowCells(ui, load, row, cells, 1);
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
