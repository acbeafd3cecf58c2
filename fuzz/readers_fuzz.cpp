// Every reader's parse step over one fuzzed page: no crash, no hang, and the
// rows keep the shape their lists expect.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "portal/page_parsing.h"

using namespace yz;

namespace {

void ExpectShape(const ListRows& rows, std::size_t cells) {
  for (const auto& row : rows) {
    if (row.size() != cells) std::abort();
  }
}

void ExpectShape(const ListRows& rows, std::size_t cells, std::size_t count) {
  if (rows.size() != count) std::abort();
  ExpectShape(rows, cells);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Text page = fuzz::WithoutNul(std::string(reinterpret_cast<const char*>(data), size));

  ExpectShape(ParseCataloguePage(Catalogue::HotSeries, page), 4, kCatalogueRows);
  ExpectShape(ParseCataloguePage(Catalogue::NewMovies, page), 4, kCatalogueRows);
  ExpectShape(ParseCataloguePage(Catalogue::HotVariety, page), 3, kCatalogueRows);

  ExpectShape(ParseSearchPage(ResultKind::Shows, page), 6);
  ExpectShape(ParseSearchPage(ResultKind::Movies, page), 6);

  for (DetailProfile p : {DetailProfile::CastToSites, DetailProfile::CastToFold,
                          DetailProfile::Hosts, DetailProfile::Director}) {
    ParseDetailPage(p, page);
  }

  ExpectShape(ParseSitePage(SiteScope::ServerDataBlock, page), 2);
  ExpectShape(ParseSitePage(SiteScope::WholePage, page), 2);

  for (EpisodeSource s : {EpisodeSource::SearchCategory2, EpisodeSource::SearchCategory4,
                          EpisodeSource::HotSeries}) {
    ExpectShape(ParseEpisodePage(page, "t", s), 3);
  }
  ExpectShape(ParseMovieSourcePage(page, "p"), 3);
  ExpectShape(ParseVarietyIssuePage(page), 3);
  return 0;
}
