// The detail panel of the 视频信息 page: the poster in 图片框_图片, a line of
// names (cast, host or director) in 透明标签_演员 and the synopsis in
// 透明标签_简介, for the row pressed in the search results or a catalogue list.
#include <optional>
#include <string>

#include "controls/select_page.h"
#include "portal/page_parsing.h"
#include "text/regex_matcher.h"

namespace yz {

using namespace yz::literals;

namespace {

const char* const kResults = "超级列表框1";

// Which block of a detail page holds the names and synopsis, and how the
// name line reads.
struct ProfileMarkers {
  const char* leftMarker;  // UTF-8; converted when used
  const char* rightMarker;
  bool twoNames;
  const char* label;
};

const ProfileMarkers& MarkersFor(DetailProfile profile) {
  static const ProfileMarkers markers[] = {
      {"演员：", "站点", true, "演员：  "},  // CastToSites
      {"演员：", "收起", true, "演员：  "},  // CastToFold
      {"主持：", "收起", true, "主持：  "},  // Hosts
      {"导演：", "收起", false, "导演：  "},  // Director
  };
  return markers[static_cast<int>(profile)];
}

// Groups: first name, second name, synopsis.
const Text& TwoNamePattern() {
  static const Text pattern =
      "<a class=\"name\" href=\".*?\">(.*?)</a>[\\s\\S]*?"
      "<a class=\"name\" href=\".*?\">(.*?)</a>[\\s\\S]*?"
      "<span>简介：</span>([\\s\\S]*?)<"_gbk;
  return pattern;
}

// Groups: first name, synopsis.
const Text& OneNamePattern() {
  static const Text pattern =
      "<a class=\"name\" href=\".*?\">(.*?)</a>[\\s\\S]*?<span>简介：</span>([\\s\\S]*?)<"_gbk;
  return pattern;
}

struct CatalogueDetails {
  const char* list;
  int innerPage;  // its page of 高级选择夹1
  DetailProfile profile;
};

std::optional<CatalogueDetails> CatalogueFor(const std::string& list) {
  static const CatalogueDetails lists[] = {
      {"超级列表框_电视剧", 0, DetailProfile::CastToFold},
      {"超级列表框_电影", 1, DetailProfile::CastToSites},
      {"超级列表框_综艺", 2, DetailProfile::Hosts},
  };
  for (const CatalogueDetails& c : lists) {
    if (list == c.list) return c;
  }
  return std::nullopt;
}

std::optional<DetailProfile> ProfileForCategory(const Text& category) {
  if (category == "1") return DetailProfile::CastToSites;
  if (category == "2") return DetailProfile::CastToFold;
  if (category == "4") return DetailProfile::Director;
  if (category == "3") return DetailProfile::Hosts;
  return std::nullopt;
}

void ShowPoster(const Context& ctx, const Text& address) {
  ctx.ui->SetPicture("图片框_图片", FetchPageInetFor(ctx, address));
}

// Fills both labels from the page; without a block or a match the labels
// keep what they show.
void FillLabels(const Context& ctx, const Text& address, DetailProfile profile) {
  std::optional<DetailLabels> labels = ParseDetailPage(profile, FetchPageFor(ctx, address));
  if (!labels) return;
  ctx.ui->SetText("透明标签_演员", labels->names);
  ctx.ui->SetText("透明标签_简介", labels->synopsis);
}

void LoadResultDetails(const Context& ctx) {
  ControlModel& ui = *ctx.ui;
  // The selected row is read once, so the cells all belong to one result.
  const Text poster = ui.SelectedCell(kResults, 2);
  const Text address = ui.SelectedCell(kResults, 3);
  const Text category = ui.SelectedCell(kResults, 4);
  if (!poster.empty()) ShowPoster(ctx, poster);
  std::optional<DetailProfile> profile = ProfileForCategory(category);
  if (profile && !address.empty()) FillLabels(ctx, address, *profile);
}

void LoadCatalogueDetails(const Context& ctx, const CatalogueDetails& c) {
  ControlModel& ui = *ctx.ui;
  const Text poster = ui.SelectedCell(c.list, 1);
  const Text path = ui.SelectedCell(c.list, 2);
  if (!poster.empty()) ShowPoster(ctx, poster);
  // A row without a detail path has nothing to request.
  if (ui.CurrentPage("高级选择夹1") != c.innerPage || path.empty()) return;
  FillLabels(ctx, ctx.addresses.portalBase + path, c.profile);
}

}  // namespace

std::optional<DetailLabels> ParseDetailPage(DetailProfile profile, const Text& page) {
  const ProfileMarkers& markers = MarkersFor(profile);
  Text block = TextBetween(page, Utf8ToText(markers.leftMarker), Utf8ToText(markers.rightMarker));
  RegexMatcher m;
  m.Create(markers.twoNames ? TwoNamePattern() : OneNamePattern(), block);
  const int n = m.MatchCount();
  if (n < 1) return std::nullopt;
  DetailLabels labels;
  labels.names = Utf8ToText(markers.label) + m.SubMatchText(n, 1);
  int synopsisGroup = 2;
  if (markers.twoNames) {
    labels.names += "   " + m.SubMatchText(n, 2);
    synopsisGroup = 3;
  }
  labels.synopsis = "简介："_gbk + m.SubMatchText(n, synopsisGroup);
  return labels;
}

void OnResultsPressed(const Context& ctx) {
  SelectPage(*ctx.ui, 0);
  ctx.workers->Start([ctx] { LoadDetails(ctx, kResults); });
}

void OnCataloguePressed(const Context& ctx, const std::string& list) {
  if (!CatalogueFor(list)) return;
  ctx.workers->Start([ctx, list] { LoadDetails(ctx, list); });
}

void LoadDetails(const Context& ctx, const std::string& list) {
  if (list == kResults) {
    LoadResultDetails(ctx);
  } else if (auto c = CatalogueFor(list)) {
    LoadCatalogueDetails(ctx, *c);
  }
}

}  // namespace yz
