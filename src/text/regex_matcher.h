// One pattern run over one subject with numbered matches and groups (1-based).
// ECMAScript-like dialect on PCRE2: case-insensitive, multi-line and global by
// default; the dot matches neither CR nor LF; a GBK character is one character;
// \w, \d, \s and \b stay ASCII. All matching happens in Create; a run that
// exceeds the engine's limits (a pathological subject) ends there and keeps the
// matches found so far. Copies share the match list; a Create on one copy
// leaves the others as they were.
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
  // `position` receives the 0-based byte offset of the text in the subject,
  // or -1 when there is none.
  Text SubMatchText(int match, int group, int* position = nullptr) const;
  Text MatchText(int match, int* position = nullptr) const;
  // Capture groups of the pattern; 0 when there is no match.
  int SubMatchCount() const;
  // The subject with the listed matches replaced; "$1".."$99", "$&", "$`",
  // "$'" and "$$" expand as in ECMAScript. Empty after a rejected pattern.
  Text ReplaceMatches(const Text& replacement) const;
  // The pattern set by the last Create ("#引号" replaced when asked).
  Text CurrentPattern() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace yz
