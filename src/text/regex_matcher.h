// One pattern run over one subject with numbered matches and groups (1-based).
// ECMAScript-like dialect on PCRE2: case-insensitive, multi-line and global by
// default; the dot matches neither CR nor LF; a GBK character is one character.
#pragma once

#include <memory>
#include <optional>

#include "text/text.h"

namespace yz {

class RegexMatcher {
 public:
  RegexMatcher();
  ~RegexMatcher();
  RegexMatcher(const RegexMatcher&);
  RegexMatcher& operator=(const RegexMatcher&);
  RegexMatcher(RegexMatcher&&) noexcept;
  RegexMatcher& operator=(RegexMatcher&&) noexcept;

  // True when a match list was produced (also an empty one); false when the
  // pattern is rejected. Replaces the previous pattern and match list.
  bool Create(const Text& pattern, const Text& subject, bool caseSensitive = false,
              bool multiline = true, bool global = true, bool replaceQuoteToken = false);

  int MatchCount() const;
  // Empty text for any number out of range or a group that took no part.
  Text SubMatchText(int match, int group, int* position = nullptr) const;
  Text MatchText(int match, int* position = nullptr) const;
  int SubMatchCount() const;
  Text ReplaceMatches(const Text& replacement) const;
  Text CurrentPattern() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace yz
