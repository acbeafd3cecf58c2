// Marker cuts, replacement, searching and conversions over any bytes.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "text/text.h"

using namespace yz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto parts = fuzz::SplitInput(data, size, 4);
  Text text = fuzz::WithoutNul(parts[0]);
  Text a = fuzz::WithoutNul(parts[1]);
  Text b = fuzz::WithoutNul(parts[2]);
  int start = parts[3].empty() ? 1 : static_cast<signed char>(parts[3][0]);

  Text between = TextBetween(text, a, b, start, start % 2 == 0);
  if (between.size() > text.size()) std::abort();
  Text before = TextBefore(text, a, start);
  if (before.size() > text.size()) std::abort();
  std::size_t pos = FindText(text, a, start > 0 ? start : 1, true);
  if (pos > text.size() + 1) std::abort();
  ReplaceMany(text, {{a, b}, {b, a}, {"", a}});
  ReplaceMany(text, start % 3, start, start % 5 == 0, {{a, b}});

  Bytes wide = TextToWide(text);
  WideToText(wide);
  WideToText(parts[1]);  // arbitrary bytes as UTF-16
  TextToUtf8(text);
  Utf8ToText(parts[0]);
  CharsetToText(parts[0], "utf-8");
  CharsetToText(parts[0], a);
  return 0;
}
