// Extraction throughput: each reader's parse step over a page of realistic
// size, the marker cut and the escape decoder over 1 MB, each beside the
// floor for the same bytes (one memchr pass). The summary at the end gives
// MB/s and the ratio to the floor, from this run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench_pages.h"
#include "median_reporter.h"
#include "portal/page_parsing.h"
#include "text/gbk_utf8.h"
#include "text/text.h"

namespace yz::bench {
namespace {

using namespace yz::literals;

constexpr std::size_t kKiB = 1024;

struct Page {
  std::string name;
  Text text;
};

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = [] {
    const Text series = SamplePage("dianshi/list");
    const Text results = SamplePage("index.php/kw=白夜追凶&from=");
    const Text episodes = SamplePage("cover/switchsite/site=qq&id=byzx&category=2");
    const Text filler = RecommendationFiller();
    const Text search =
        RepeatItems(results, "<div class=\"result-figure", "<div class=\"p-footer\"", 500 * kKiB);
    return std::vector<Page>{
        {"catalogue_series_300k", RepeatItems(series, "<li class=\"item\">", "</ul>", 300 * kKiB)},
        {"catalogue_movies_300k",
         RepeatItems(SamplePage("dianying/list/cat=all&year=all&area=all&act=all&rank=createtime"),
                     "<li class=\"item\">", "</ul>", 300 * kKiB)},
        {"catalogue_variety_300k",
         RepeatItems(SamplePage("zongyi/list"), "<li class=\"item\">", "</ul>", 300 * kKiB)},
        {"search_500k", search},
        // The same page as it comes over the wire, before the request converts it.
        {"search_500k_utf8", TextToUtf8(search)},
        {"detail_series_200k",
         PadBefore(SamplePage("tv/byzx.html"), "<div class=\"s-playlist\"", filler, 200 * kKiB)},
        {"detail_movie_200k",
         PadBefore(SamplePage("m/byzxxz.html"), "<div class=\"p-footer\"", filler, 200 * kKiB)},
        {"detail_variety_200k",
         RepeatItems(SamplePage("va/2vsKtaBf.html"), "<li  title=", "</ul>", 200 * kKiB)},
        {"episodes_escaped_100k", RepeatItems(episodes, "<a data-num=", "<\\/div>", 100 * kKiB)},
        {"catalogue_1m", RepeatItems(series, "<li class=\"item\">", "</ul>", 1024 * kKiB)},
        {"episodes_escaped_1m", RepeatItems(episodes, "<a data-num=", "<\\/div>", 1024 * kKiB)},
    };
  }();
  return pages;
}

const Text& PageText(const std::string& name) {
  for (const Page& p : Pages()) {
    if (p.name == name) return p.text;
  }
  std::fprintf(stderr, "no page %s\n", name.c_str());
  std::abort();
}

// A case: what runs over which page. The result is kept so the work is not
// optimised away and so a broken page shows as zero rows.
struct Case {
  std::string name;
  std::string page;
  std::function<std::size_t(const Text&)> run;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"parse/catalogue_series", "catalogue_series_300k",
       [](const Text& p) { return ParseCataloguePage(Catalogue::HotSeries, p).size(); }},
      {"parse/catalogue_movies", "catalogue_movies_300k",
       [](const Text& p) { return ParseCataloguePage(Catalogue::NewMovies, p).size(); }},
      {"parse/catalogue_variety", "catalogue_variety_300k",
       [](const Text& p) { return ParseCataloguePage(Catalogue::HotVariety, p).size(); }},
      // The search reads one page with both patterns.
      {"parse/search_both_kinds", "search_500k",
       [](const Text& p) {
         return ParseSearchPage(ResultKind::Shows, p).size() +
                ParseSearchPage(ResultKind::Movies, p).size();
       }},
      {"parse/detail_cast", "detail_series_200k",
       [](const Text& p) { return ParseDetailPage(DetailProfile::CastToFold, p) ? 1u : 0u; }},
      {"parse/sites_serverdata", "detail_series_200k",
       [](const Text& p) { return ParseSitePage(SiteScope::ServerDataBlock, p).size(); }},
      {"parse/movie_sources", "detail_movie_200k",
       [](const Text& p) { return ParseMovieSourcePage(p, "t  "_gbk).size(); }},
      {"parse/variety_issues", "detail_variety_200k",
       [](const Text& p) { return ParseVarietyIssuePage(p).size(); }},
      {"parse/episodes", "episodes_escaped_100k",
       [](const Text& p) {
         return ParseEpisodePage(p, "t"_gbk, EpisodeSource::SearchCategory2).size();
       }},
      {"cut/TextBetween", "catalogue_1m",
       [](const Text& p) {
         return TextBetween(p, "<div class=#引号s-tab-main"_gbk, "div class=#引号b-ifradjx"_gbk)
             .size();
       }},
      {"unescape/UnescapeText", "episodes_escaped_1m",
       [](const Text& p) { return UnescapeText(p).size(); }},
      // Where the pattern runs spend their time: the one GBK -> UTF-8
      // conversion of a subject.
      {"convert/Utf8Subject", "search_500k",
       [](const Text& p) { return detail::Utf8Subject(p).utf8().size(); }},
      // What the page request does with a page that declares utf-8.
      {"convert/CharsetToText_utf8", "search_500k_utf8",
       [](const Text& p) { return CharsetToText(p, "utf-8")->size(); }},
  };
  return cases;
}

void RunCase(benchmark::State& state, const Case& c) {
  const Text& page = PageText(c.page);
  std::size_t result = 0;
  for (auto _ : state) {
    result = c.run(page);
    benchmark::DoNotOptimize(result);
  }
  if (result == 0) state.SkipWithError("nothing extracted: the page no longer fits the reader");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
  state.counters["result"] = static_cast<double>(result);
}

// The floor: one memchr pass over the same bytes for a byte they lack.
void RunFloor(benchmark::State& state, const std::string& pageName) {
  const Text& page = PageText(pageName);
  for (auto _ : state) {
    const void* hit = std::memchr(page.data(), '\x01', page.size());
    benchmark::DoNotOptimize(hit);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

// Copying the same bytes, which a cut that returns its block also does.
void RunCopy(benchmark::State& state, const std::string& pageName) {
  const Text& page = PageText(pageName);
  for (auto _ : state) {
    Text copy = page;
    benchmark::DoNotOptimize(copy);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

// The same cut as plain byte searches, not character-aware: the most a cut
// can reach with the standard search.
void RunPlainCut(benchmark::State& state) {
  const Text& page = PageText("catalogue_1m");
  const std::string left = "<div class=\"s-tab-main", right = "div class=\"b-ifradjx";
  for (auto _ : state) {
    std::size_t l = page.find(left);
    std::size_t r = page.find(right, l + left.size());
    std::string block = page.substr(l + left.size(), r - l - left.size());
    benchmark::DoNotOptimize(block);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void Register() {
  for (const Case& c : Cases()) {
    benchmark::RegisterBenchmark(c.name.c_str(), [&c](benchmark::State& s) { RunCase(s, c); });
  }
  for (const Page& p : Pages()) {
    const std::string name = p.name;
    benchmark::RegisterBenchmark(("floor/memchr/" + name).c_str(),
                                 [name](benchmark::State& s) { RunFloor(s, name); });
  }
  benchmark::RegisterBenchmark("floor/find/catalogue_1m", RunPlainCut);
  benchmark::RegisterBenchmark("floor/copy/catalogue_1m",
                               [](benchmark::State& s) { RunCopy(s, "catalogue_1m"); });
}

void PrintSummary(const MedianReporter& r) {
  std::printf("\n%-26s %-24s %10s %10s %8s\n", "case", "page", "MB/s", "floor", "ratio");
  auto mbps = [&](const std::string& name) {
    auto v = r.Median(name, "bytes_per_second");
    return v ? *v / 1e6 : 0.0;
  };
  for (const Case& c : Cases()) {
    double value = mbps(c.name), floor = mbps("floor/memchr/" + c.page);
    if (value == 0) continue;  // not selected in this run
    std::printf("%-26s %-24s %10.1f %10.1f %7.1f%%\n", c.name.c_str(), c.page.c_str(), value,
                floor, floor > 0 ? 100 * value / floor : 0.0);
  }
  // What bounds a cut: the plain byte search with its copy, and the copy alone.
  for (const char* floorName : {"floor/find/catalogue_1m", "floor/copy/catalogue_1m"}) {
    double value = mbps(floorName), memchrFloor = mbps("floor/memchr/catalogue_1m");
    if (value > 0 && memchrFloor > 0)
      std::printf("%-26s %-24s %10.1f %10.1f %7.1f%%\n", floorName, "catalogue_1m", value, memchrFloor,
                  100 * value / memchrFloor);
  }
  double cut = mbps("cut/TextBetween"), plain = mbps("floor/find/catalogue_1m");
  if (cut > 0 && plain > 0) std::printf("cut/TextBetween at %.1f%% of the plain byte-search cut\n", 100 * cut / plain);
}

}  // namespace
}  // namespace yz::bench

int main(int argc, char** argv) {
  yz::bench::Register();
  yz::bench::MedianReporter reporter;
  bool ok = yz::bench::RunBenchmarks(argc, argv, reporter);
  yz::bench::PrintSummary(reporter);
  return ok ? 0 : 1;
}
