// RegexMatcher on PCRE2: the pattern is compiled once per Create (JIT when
// available) and run over the subject converted once to UTF-8; the matches are
// kept as byte spans of the GBK subject, so group texts are exact substrings.
//
// Bounds: each engine call runs under a match limit, a depth limit and a heap
// limit (JIT: a bounded stack), and the whole run under a time budget. A run
// that hits any of them ends there and keeps the matches found so far; a
// subject that hits them before the first match gives no match.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "text/regex_matcher.h"

#include <pcre2.h>

#include <chrono>
#include <vector>

#include "text/char_search.h"
#include "text/gbk_utf8.h"
#include "text/regex_pattern.h"

namespace yz {
namespace {

constexpr uint32_t kMatchLimit = 5'000'000;
constexpr uint32_t kDepthLimit = 200'000;
constexpr uint32_t kHeapLimitKiB = 128 * 1024;
constexpr std::size_t kJitStackMax = 8 * 1024 * 1024;
constexpr auto kRunBudget = std::chrono::seconds(5);

template <typename T, void (*Free)(T*)>
struct Owned {
  T* p = nullptr;
  explicit Owned(T* q) : p(q) {}
  ~Owned() {
    if (p) Free(p);
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
};

using Code = Owned<pcre2_code, pcre2_code_free>;
using CompileContext = Owned<pcre2_compile_context, pcre2_compile_context_free>;
using MatchContext = Owned<pcre2_match_context, pcre2_match_context_free>;
using MatchData = Owned<pcre2_match_data, pcre2_match_data_free>;
using JitStack = Owned<pcre2_jit_stack, pcre2_jit_stack_free>;

std::size_t Utf8CharLength(unsigned char lead) { return lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4; }

}  // namespace

struct RegexMatcher::State {
  Text pattern;  // as in force, after the quote token
  Text subject;
  bool compiled = false;
  int groups = 0;  // capture groups of the pattern
  int matches = 0;
  // Per match, groups + 1 pairs of byte offsets into `subject`; -1 when the
  // group took no part.
  std::vector<std::ptrdiff_t> spans;

  // Byte span of group `group` (0 = whole match) of 1-based match `match`.
  bool Span(int match, int group, std::ptrdiff_t& begin, std::ptrdiff_t& end) const {
    if (match < 1 || match > matches || group < 0 || group > groups) return false;
    std::size_t k = (static_cast<std::size_t>(match - 1) * (groups + 1) + group) * 2;
    begin = spans[k];
    end = spans[k + 1];
    return begin >= 0 && end >= begin;
  }

  void Run(const std::string& utf8Pattern, bool caseSensitive, bool multiline, bool global);
};

void RegexMatcher::State::Run(const std::string& utf8Pattern, bool caseSensitive, bool multiline,
                              bool global) {
  CompileContext cctx(pcre2_compile_context_create(nullptr));
  if (!cctx.p) return;
  pcre2_set_newline(cctx.p, PCRE2_NEWLINE_ANYCRLF);
  uint32_t options = PCRE2_UTF | PCRE2_NO_UTF_CHECK | PCRE2_ALT_BSUX | PCRE2_ALLOW_EMPTY_CLASS |
                     PCRE2_MATCH_UNSET_BACKREF | PCRE2_DOLLAR_ENDONLY | PCRE2_NEVER_BACKSLASH_C;
  if (!caseSensitive) options |= PCRE2_CASELESS;
  if (multiline) options |= PCRE2_MULTILINE;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  Code code(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(utf8Pattern.data()), utf8Pattern.size(),
                          options, &error, &errorOffset, cctx.p));
  if (!code.p) return;
  compiled = true;
  uint32_t captures = 0;
  pcre2_pattern_info(code.p, PCRE2_INFO_CAPTURECOUNT, &captures);
  groups = static_cast<int>(captures);

  bool jit = pcre2_jit_compile(code.p, PCRE2_JIT_COMPLETE) == 0;
  MatchContext mctx(pcre2_match_context_create(nullptr));
  MatchData data(pcre2_match_data_create_from_pattern(code.p, nullptr));
  if (!mctx.p || !data.p) return;
  pcre2_set_match_limit(mctx.p, kMatchLimit);
  pcre2_set_depth_limit(mctx.p, kDepthLimit);
  pcre2_set_heap_limit(mctx.p, kHeapLimitKiB);
  // The JIT runs on a small stack of its own until a match needs more; only
  // then is the large one mapped, since mapping it costs more than most runs.
  std::unique_ptr<JitStack> stack;

  detail::Utf8Subject view(subject);
  const std::string& s = view.utf8();
  auto deadline = std::chrono::steady_clock::now() + kRunBudget;
  std::size_t start = 0;
  while (start <= s.size()) {
    int rc = pcre2_match(code.p, reinterpret_cast<PCRE2_SPTR>(s.data()), s.size(), start,
                         PCRE2_NO_UTF_CHECK, data.p, mctx.p);
    if (rc == PCRE2_ERROR_JIT_STACKLIMIT && jit && !stack) {
      stack = std::make_unique<JitStack>(pcre2_jit_stack_create(32 * 1024, kJitStackMax, nullptr));
      if (stack->p) {
        pcre2_jit_stack_assign(mctx.p, nullptr, stack->p);
        continue;
      }
    }
    if (rc < 0) break;  // no (further) match, or a limit was reached
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(data.p);
    uint32_t pairs = pcre2_get_ovector_count(data.p);
    for (int g = 0; g <= groups; ++g) {
      bool set = static_cast<uint32_t>(g) < pairs && static_cast<uint32_t>(g) < static_cast<uint32_t>(rc) &&
                 ov[2 * g] != PCRE2_UNSET;
      spans.push_back(set ? static_cast<std::ptrdiff_t>(view.TextOffset(ov[2 * g])) : -1);
      spans.push_back(set ? static_cast<std::ptrdiff_t>(view.TextOffset(ov[2 * g + 1])) : -1);
    }
    ++matches;
    if (!global) break;
    // After an empty match the next search begins one character further on.
    std::size_t next = ov[1];
    if (ov[1] <= ov[0]) next = ov[0] < s.size() ? ov[0] + Utf8CharLength(static_cast<unsigned char>(s[ov[0]])) : s.size() + 1;
    if (next <= start) next = start < s.size() ? start + Utf8CharLength(static_cast<unsigned char>(s[start])) : s.size() + 1;
    start = next;
    if (std::chrono::steady_clock::now() > deadline) break;
  }
}

RegexMatcher::RegexMatcher() = default;
RegexMatcher::~RegexMatcher() = default;
RegexMatcher::RegexMatcher(const RegexMatcher&) = default;
RegexMatcher& RegexMatcher::operator=(const RegexMatcher&) = default;
RegexMatcher::RegexMatcher(RegexMatcher&&) noexcept = default;
RegexMatcher& RegexMatcher::operator=(RegexMatcher&&) noexcept = default;

bool RegexMatcher::Create(const Text& pattern, const Text& subject, bool caseSensitive,
                          bool multiline, bool global, bool replaceQuoteToken) {
  // The previous engine and match list go first; copies keep their own.
  state_.reset();
  auto state = std::make_shared<State>();
  state->pattern = replaceQuoteToken ? detail::ReplaceAllExact(pattern, detail::QuoteToken(), "\"") : pattern;
  state->subject = subject;
  state->Run(detail::AdaptPattern(state->pattern), caseSensitive, multiline, global);
  bool ok = state->compiled;
  state_ = std::move(state);
  return ok;
}

int RegexMatcher::MatchCount() const { return state_ ? state_->matches : 0; }

Text RegexMatcher::SubMatchText(int match, int group, int* position) const {
  std::ptrdiff_t begin = -1, end = -1;
  if (group < 1 || !state_ || !state_->Span(match, group, begin, end)) {
    if (position) *position = -1;
    return {};
  }
  if (position) *position = static_cast<int>(begin);
  return state_->subject.substr(begin, end - begin);
}

Text RegexMatcher::MatchText(int match, int* position) const {
  std::ptrdiff_t begin = -1, end = -1;
  if (!state_ || !state_->Span(match, 0, begin, end)) {
    if (position) *position = -1;
    return {};
  }
  if (position) *position = static_cast<int>(begin);
  return state_->subject.substr(begin, end - begin);
}

int RegexMatcher::SubMatchCount() const {
  return state_ && state_->matches > 0 ? state_->groups : 0;
}

Text RegexMatcher::CurrentPattern() const { return state_ ? state_->pattern : Text{}; }

}  // namespace yz

namespace yz {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// "$$" is "$", "$&" the match, "$`" and "$'" the text before and after it,
// "$n" / "$nn" a group (empty when it took no part); a "$" in any other place,
// or before a number beyond the groups, stays as written.
Text RegexMatcher::ReplaceMatches(const Text& replacement) const {
  if (!state_) return {};
  const State& st = *state_;
  if (!st.compiled) return {};
  const Text& subject = st.subject;
  Text out;
  std::size_t copied = 0;
  for (int m = 1; m <= st.matches; ++m) {
    std::ptrdiff_t mb = 0, me = 0;
    if (!st.Span(m, 0, mb, me) || static_cast<std::size_t>(mb) < copied) continue;
    out.append(subject, copied, mb - copied);
    auto group = [&](int g) {
      std::ptrdiff_t b = 0, e = 0;
      if (st.Span(m, g, b, e)) out.append(subject, b, e - b);
    };
    std::size_t i = 0;
    while (i < replacement.size()) {
      char c = replacement[i];
      if (static_cast<unsigned char>(c) >= 0x80) {
        out.append(replacement, i, 2);
        i += 2;
        continue;
      }
      char n = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
      if (c != '$' || n == '\0') {
        out += c;
        ++i;
      } else if (n == '$') {
        out += '$';
        i += 2;
      } else if (n == '&') {
        group(0);
        i += 2;
      } else if (n == '`') {
        out.append(subject, 0, mb);
        i += 2;
      } else if (n == '\'') {
        out.append(subject, me);
        i += 2;
      } else if (IsDigit(n)) {
        char n2 = i + 2 < replacement.size() ? replacement[i + 2] : '\0';
        int one = n - '0';
        int two = IsDigit(n2) ? one * 10 + (n2 - '0') : 0;
        if (two >= 1 && two <= st.groups) {
          group(two);
          i += 3;
        } else if (one >= 1 && one <= st.groups) {
          group(one);
          i += 2;
        } else {
          out += c;
          ++i;
        }
      } else {
        out += c;
        ++i;
      }
    }
    copied = me;
  }
  out.append(subject, copied);
  return out;
}

}  // namespace yz
