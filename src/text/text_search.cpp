// Marker search, cuts and batch replacement over GBK program text.
#include <algorithm>

#include "text/char_search.h"
#include "text/text.h"

namespace yz {
namespace detail {

std::string FoldAsciiCase(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size();) {
    auto b = static_cast<unsigned char>(out[i]);
    if (b < 0x80) {
      if (b >= 'A' && b <= 'Z') out[i] = static_cast<char>(b + ('a' - 'A'));
      ++i;
    } else {
      i += 2;
    }
  }
  return out;
}

CharSearch::CharSearch(std::string_view text, std::string_view needle, bool ignoreCase)
    : text_(text), needle_(needle) {
  bool hasLetter = std::any_of(needle.begin(), needle.end(), [](char c) {
    return IsAsciiLetter(static_cast<unsigned char>(c));
  });
  if (ignoreCase && hasLetter) {
    // Folding both sides alike keeps the character structure: a match at a
    // character start lines up the needle's characters with the text's.
    foldedText_ = FoldAsciiCase(text);
    foldedNeedle_ = FoldAsciiCase(needle);
    text_ = foldedText_;
    needle_ = foldedNeedle_;
  }
}

void CharSearch::AdvanceTo(std::size_t target) {
  target = std::min(target, text_.size());
  if (boundary_ >= target) return;
  // A byte below 0x80 always ends a character (it is no lead byte), so the
  // byte after it starts one: the walk begins at the last such byte before
  // the target instead of at the last known start.
  std::size_t resync = target;
  while (resync > boundary_ && static_cast<unsigned char>(text_[resync - 1]) >= 0x80) --resync;
  if (resync > boundary_) boundary_ = resync;
  while (boundary_ < target) boundary_ += CharLength(static_cast<unsigned char>(text_[boundary_]));
}

std::size_t CharSearch::Next(std::size_t from) {
  if (needle_.empty()) return std::string_view::npos;
  if (from < boundary_) boundary_ = 0;
  AdvanceTo(from);
  while (boundary_ < text_.size()) {
    std::size_t pos = text_.find(needle_, boundary_);
    if (pos == std::string_view::npos) return pos;
    AdvanceTo(pos);
    if (boundary_ == pos) return pos;
    // `pos` is the trail byte of a character; go on from the next character.
  }
  return std::string_view::npos;
}

const std::string& QuoteToken() {
  static const std::string token = Utf8ToText("#引号");
  return token;
}

std::string ReplaceAllExact(std::string_view text, std::string_view find,
                            std::string_view replacement) {
  std::string out;
  CharSearch search(text, find, false);
  std::size_t copied = 0;
  for (std::size_t pos = search.Next(0); pos != std::string_view::npos;
       pos = search.Next(copied)) {
    out.append(text.substr(copied, pos - copied));
    out.append(replacement);
    copied = pos + find.size();
  }
  out.append(text.substr(std::min(copied, text.size())));
  return out;
}

}  // namespace detail

namespace {

Text ReplaceQuoteToken(const Text& marker) {
  if (marker.find('#') == Text::npos) return marker;
  return detail::ReplaceAllExact(marker, detail::QuoteToken(), "\"");
}

// One replacement step: occurrences at or after byte `from`, at most `limit`.
Text ReplaceStep(const Text& text, const ReplacePair& pair, std::size_t from,
                 std::optional<std::size_t> limit, bool ignoreCase) {
  if (pair.find.empty() || from >= text.size() || limit == std::size_t{0}) return text;
  detail::CharSearch search(text, pair.find, ignoreCase);
  Text out;
  std::size_t copied = 0;
  std::size_t done = 0;
  for (std::size_t pos = search.Next(from); pos != Text::npos; pos = search.Next(copied)) {
    out.append(text, copied, pos - copied);
    out.append(pair.replacement);
    copied = pos + pair.find.size();
    if (limit && ++done == *limit) break;
  }
  if (copied == 0) return text;
  out.append(text, std::min(copied, text.size()));
  return out;
}

}  // namespace

std::size_t FindText(std::string_view text, std::string_view needle, std::size_t start,
                     bool ignoreCase) {
  if (start == 0) start = 1;
  if (start > text.size()) return 0;
  if (needle.empty()) {
    // Found at the first character start at or after `start`.
    std::size_t i = 0;
    while (i < start - 1) i += detail::CharLength(static_cast<unsigned char>(text[i]));
    return i < text.size() ? i + 1 : 0;
  }
  detail::CharSearch search(text, needle, ignoreCase);
  std::size_t pos = search.Next(start - 1);
  return pos == std::string_view::npos ? 0 : pos + 1;
}

Text TextBetween(const Text& text, const Text& left, const Text& right, int start,
                 bool ignoreCase) {
  Text l = ReplaceQuoteToken(left);
  Text r = ReplaceQuoteToken(right);
  if (r.empty()) return {};
  std::size_t from = start < 1 ? 1 : static_cast<std::size_t>(start);
  std::size_t lpos = FindText(text, l, from, ignoreCase);
  if (lpos == 0) return {};
  std::size_t body = lpos + l.size();
  std::size_t rpos = FindText(text, r, body, ignoreCase);
  if (rpos == 0) return {};
  return text.substr(body - 1, rpos - body);
}

Text TextBefore(const Text& text, const Text& marker, int start, bool ignoreCase) {
  std::size_t from = start < 1 ? 1 : static_cast<std::size_t>(start);
  std::size_t pos = FindText(text, marker, from, ignoreCase);
  if (pos <= 1) return {};
  return text.substr(0, pos - 1);
}

Text ReplaceMany(const Text& text, std::optional<int> count, int start, bool caseSensitive,
                 const std::vector<ReplacePair>& pairs) {
  std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start) - 1;
  // A negative count, like an absent one, means every occurrence.
  std::optional<std::size_t> limit;
  if (count && *count >= 0) limit = static_cast<std::size_t>(*count);
  Text out = text;
  for (const ReplacePair& pair : pairs) out = ReplaceStep(out, pair, from, limit, !caseSensitive);
  return out;
}

Text ReplaceMany(const Text& text, const std::vector<ReplacePair>& pairs) {
  return ReplaceMany(text, std::nullopt, 1, false, pairs);
}

}  // namespace yz
