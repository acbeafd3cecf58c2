// Page-sized inputs for the benchmarks, grown from the sample portal's pages
// to the sizes real portal pages reach.
#pragma once

#include <cstddef>
#include <string>

#include "text/text.h"

namespace yz::bench {

// A sample page as the readers get it: program text, a page that declares
// utf-8 converted as the page request converts it, {{BASE}} filled in.
Text SamplePage(const std::string& relativePath);

// The page with the span from the first `firstItem` up to the first
// `afterItems` behind it repeated until the page holds at least `bytes`.
Text RepeatItems(const Text& page, const Text& firstItem, const Text& afterItems,
                 std::size_t bytes);

// The page with copies of `filler` put before the first `marker` until it
// holds at least `bytes`.
Text PadBefore(const Text& page, const Text& marker, const Text& filler, std::size_t bytes);

// Items of the hot-series catalogue page: markup a detail page carries in its
// recommendation block.
Text RecommendationFiller();

}  // namespace yz::bench
