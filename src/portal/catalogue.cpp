// The three catalogue lists of the 推荐 page: hot TV series, newest movies,
// hot variety shows. Each load clears its list and leaves exactly 30 rows,
// row n holding item n of the page (empty cells where the page has fewer).
#include <string>

#include "portal/page_parsing.h"
#include "text/regex_matcher.h"

namespace yz {

using namespace yz::literals;

namespace {

struct CatalogueSpec {
  const char* list;
  const char* path;
  Catalogue kind;
};

const CatalogueSpec& SpecFor(Catalogue kind) {
  static const CatalogueSpec specs[] = {
      {"超级列表框_电视剧", "/dianshi/list", Catalogue::HotSeries},
      {"超级列表框_电影", "/dianying/list?cat=all&year=all&area=all&act=all&rank=createtime",
       Catalogue::NewMovies},
      {"超级列表框_综艺", "/zongyi/list", Catalogue::HotVariety},
  };
  return specs[static_cast<int>(kind)];
}

// Groups: 1 link target, 2 poster, 3 hint, 4 title.
const Text& SeriesPattern() {
  static const Text pattern =
      "<li class=\"item\">\\s+<a class=\"js-tongjic\" href=\"(.*?)\">\\s+"
      "<div class=\"cover g-playicon\">\\s+<img src=\"(.*?)\">\\s+"
      "<span class=\"hint\">(.*?)</span>\\s+</div>\\s+<div class=\"detail\">\\s+"
      "<p class=\"title g-clear\">\\s+<span class=\"s1\">(.*?)</span>";
  return pattern;
}

// Groups: 1 link target, 2 poster, 3 title.
const Text& MoviesAndVarietyPattern() {
  static const Text pattern =
      "<li class=\"item\">\\s+<a class=\"js-tongjic\" href=\"(.*?)\">[\\s\\S]*?"
      "<img src=\"(.*?)\">[\\s\\S]*?<span class=\"s1\">(.*?)</span>";
  return pattern;
}

// The item block of a catalogue page.
Text ItemBlock(const Text& page) {
  return TextBetween(page, "<div class=#引号s-tab-main"_gbk, "div class=#引号b-ifradjx"_gbk);
}

std::vector<Text> RowCells(const RegexMatcher& m, int match, Catalogue kind) {
  switch (kind) {
    case Catalogue::HotSeries:
      return {m.SubMatchText(match, 3) + "  " + m.SubMatchText(match, 4), m.SubMatchText(match, 2),
              m.SubMatchText(match, 1), m.SubMatchText(match, 4)};
    case Catalogue::NewMovies:
      return {m.SubMatchText(match, 3), m.SubMatchText(match, 2), m.SubMatchText(match, 1),
              m.SubMatchText(match, 3)};
    case Catalogue::HotVariety:
      return {m.SubMatchText(match, 3), m.SubMatchText(match, 2), m.SubMatchText(match, 1)};
  }
  return {};
}

void LoadCatalogue(const Context& ctx, Catalogue kind) {
  const CatalogueSpec& spec = SpecFor(kind);
  ControlModel& ui = *ctx.ui;
  // Clearing first empties the list at once; a later load of the same list
  // supersedes this one, whose remaining writes are then dropped.
  ListLoad load = ui.BeginLoad(spec.list);

  ListRows rows = ParseCataloguePage(kind, FetchPageFor(ctx, ctx.addresses.portalBase + spec.path));
  for (const std::vector<Text>& cells : rows) {
    int row = ui.AppendRow(load);
    if (row < 0 || !WriteRowCells(ui, load, row, cells, 0)) return;
  }
}

}  // namespace

ListRows ParseCataloguePage(Catalogue kind, const Text& page) {
  RegexMatcher matcher;
  matcher.Create(kind == Catalogue::HotSeries ? SeriesPattern() : MoviesAndVarietyPattern(),
                 ItemBlock(page));
  // A fixed count: missing items still get their (empty) rows. Match numbers
  // beyond the count give empty groups.
  ListRows rows;
  rows.reserve(kCatalogueRows);
  for (int i = 1; i <= kCatalogueRows; ++i) rows.push_back(RowCells(matcher, i, kind));
  return rows;
}

void OnCatalogueTabChanged(const Context& ctx, int index) {
  switch (index) {
    case 0:
      ctx.workers->Start([ctx] { LoadHotSeriesList(ctx); });
      break;
    case 1:
      ctx.workers->Start([ctx] { LoadNewMoviesList(ctx); });
      break;
    case 2:
      ctx.workers->Start([ctx] { LoadHotVarietyList(ctx); });
      break;
    default:
      break;
  }
}

void LoadHotSeriesList(const Context& ctx) { LoadCatalogue(ctx, Catalogue::HotSeries); }
void LoadNewMoviesList(const Context& ctx) { LoadCatalogue(ctx, Catalogue::NewMovies); }
void LoadHotVarietyList(const Context& ctx) { LoadCatalogue(ctx, Catalogue::HotVariety); }

}  // namespace yz
