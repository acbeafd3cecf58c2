// Escape decoding over any bytes.
#include <cstdint>
#include <cstdlib>

#include "fuzz_input.h"
#include "text/text.h"

using namespace yz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Text text = fuzz::WithoutNul(std::string(reinterpret_cast<const char*>(data), size));
  Text decoded = UnescapeText(text);
  // Decoding never grows the text by more than the '?' of a lone unit per byte.
  if (decoded.size() > 2 * text.size() + 2) std::abort();
  DecodePercentEscapes(text);
  HexValue(text.substr(0, 20));
  return 0;
}
