// Pattern text of the program's dialect (ECMAScript-like) made ready for PCRE2.
#pragma once

#include <string>
#include <string_view>

namespace yz::detail {

// Rewrites the few constructs that the two dialects read differently and
// returns the pattern as UTF-8 (one code point per GBK character):
// - a backslash before a letter that has no escape meaning stands for the
//   letter ("\e" is "e", "\i" is "i");
// - a hyphen next to a class escape inside brackets is a plain hyphen
//   ("[\w-.]" is a word character, "-" or ".");
// - a "[" inside brackets is a plain bracket ("[[:a]" names no class).
std::string AdaptPattern(std::string_view pattern);

}  // namespace yz::detail
