#include "portal/episodes.h"

#include <array>

#include "portal/page_parsing.h"
#include "portal/selected_rows.h"
#include "text/regex_matcher.h"

namespace yz {
using namespace literals;

namespace {

const char* const kEpisodePattern = R"re(<a data-num="(.*?)" data-daochu="to=.*?" href="(.*?)">)re";

struct SiteCode {
  const char* name;  // UTF-8 display name
  const char* code;
};
// In the order the names are tested.
constexpr std::array<SiteCode, 7> kSiteCodes = {{{"腾讯", "qq"},
                                                 {"优酷", "youku"},
                                                 {"芒果", "imgo"},
                                                 {"爱奇艺", "qiyi"},
                                                 {"搜狐", "sohu"},
                                                 {"乐视", "leshi"},
                                                 {"levp", "levp"}}};

bool IsSupportedSite(const Text& siteName) {
  for (const SiteCode& s : kSiteCodes) {
    if (siteName == Utf8ToText(s.name)) return true;
  }
  return false;
}

// The episode's page address as the source keeps it: up to the first "?" for
// the TV series (empty when there is none), whole for the second kind.
Text EpisodeAddress(const Text& href, EpisodeSource source) {
  return source == EpisodeSource::SearchCategory4 ? href : TextBefore(href, "?");
}

void StartEpisodeLoad(const Context& ctx, EpisodeSource source) {
  EpisodeRequest request = ReadEpisodeRequest(*ctx.ui, ctx.addresses, source);
  ListLoad load = ctx.ui->BeginLoad(names::kEpisodes);
  ctx.workers->Start([ctx, load, request] { RunEpisodeLoad(ctx, load, request); });
}

}  // namespace

std::optional<Text> SiteCodeFor(const Text& siteName, EpisodeSource source) {
  for (const SiteCode& s : kSiteCodes) {
    if (siteName != Utf8ToText(s.name)) continue;
    if (source == EpisodeSource::SearchCategory4 && Text(s.code) == "levp") return std::nullopt;
    return Text(s.code);
  }
  return std::nullopt;
}

Text SeriesId(const Text& detailAddress) {
  // '/' is never the trail byte of a GBK character, so a byte search is safe.
  std::size_t slash = detailAddress.rfind('/');
  Text file = slash == Text::npos ? detailAddress : detailAddress.substr(slash + 1);
  return TextBefore(file, ".html");
}

EpisodeRequest ReadEpisodeRequest(const ControlModel& ui, const Addresses& addresses,
                                  EpisodeSource source) {
  EpisodeRequest request;
  request.source = source;
  if (source == EpisodeSource::HotSeries) {
    CatalogueRow row = SelectedCatalogueRow(ui, names::kHotSeries, addresses);
    request.detailAddress = row.detailAddress;
    request.title = row.title;
  } else {
    SearchResultRow row = SelectedSearchResult(ui);
    request.detailAddress = row.detailAddress;
    request.title = row.title;
  }
  request.siteName = ui.SelectedCell(names::kSites, 1);
  return request;
}

Text EpisodePageAddress(const Text& portalBase, const Text& siteCode, const Text& seriesId,
                        EpisodeSource source) {
  Text category = source == EpisodeSource::SearchCategory4 ? "&category=4" : "&category=2";
  return portalBase + "/cover/switchsite?site=" + siteCode + "&id=" + seriesId + category;
}

ListRows ParseEpisodePage(const Text& page, const Text& title, EpisodeSource source) {
  Text block = TextBetween(UnescapeText(page), "<div class=#引号num-tab-main g-clear js-tab"_gbk, "error");
  RegexMatcher matcher;
  matcher.Create(kEpisodePattern, block);
  const int count = matcher.MatchCount();
  ListRows rows;
  rows.reserve(count);
  for (int i = 1; i <= count; ++i) {
    rows.push_back({Text{}, title + "第"_gbk + matcher.SubMatchText(i, 1) + "集"_gbk,
                    EpisodeAddress(matcher.SubMatchText(i, 2), source)});
  }
  return rows;
}

void RunEpisodeLoad(const Context& ctx, const ListLoad& load, const EpisodeRequest& request) {
  ControlModel& ui = *ctx.ui;
  if (!ui.IsCurrent(load)) return;  // a newer load started before this one ran
  ctx.episodesLoading->Show(ui, load);
  if (std::optional<Text> code = SiteCodeFor(request.siteName, request.source)) {
    Text address = EpisodePageAddress(ctx.addresses.portalBase, *code,
                                      SeriesId(request.detailAddress), request.source);
    for (const std::vector<Text>& cells :
         ParseEpisodePage(FetchPageFor(ctx, address), request.title, request.source)) {
      int row = ui.AppendRow(load);
      if (row < 0) break;
      WriteRowCells(ui, load, row, cells, 1);
    }
  }
  // Without a request form (levp for the second kind) there is nothing to
  // wait for either: the picture goes as well.
  ctx.episodesLoading->Hide(ui, load);
}

void LoadEpisodes(const Context& ctx, EpisodeSource source) {
  EpisodeRequest request = ReadEpisodeRequest(*ctx.ui, ctx.addresses, source);
  RunEpisodeLoad(ctx, ctx.ui->BeginLoad(names::kEpisodes), request);
}

void OnSiteChosen(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  Text siteName = ui.SelectedCell(names::kSites, 1);
  if (siteName.empty()) return;
  if (!IsSupportedSite(siteName)) {
    ctx.effects->ShowMessage("暂不支持该视频源！"_gbk, kMbIconInformation, Text{});
    return;
  }
  // Three independent tests: after a hot series has been opened its marker
  // stays, so a search result's site can start two loads; the later wins.
  Text category = ui.SelectedCell(names::kResults, 4);
  if (category == "2") StartEpisodeLoad(ctx, EpisodeSource::SearchCategory2);
  if (category == "4") StartEpisodeLoad(ctx, EpisodeSource::SearchCategory4);
  if (ui.GetText(names::kSeriesMarkerBox) == "推荐电视剧"_gbk)
    StartEpisodeLoad(ctx, EpisodeSource::HotSeries);
}

}  // namespace yz
