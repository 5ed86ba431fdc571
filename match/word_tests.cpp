#include "match/word_tests.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>

#include "core/text.h"

namespace pbz {

namespace {

constexpr std::size_t kNone = std::string_view::npos;

// The usage marks, in the order of the separator positions that select them.
constexpr std::string_view kMarkBackslashBefore{"\\_"};
constexpr std::string_view kMarkStar{"*"};
constexpr std::string_view kMarkAt{"@"};
constexpr std::string_view kMarkBackslashAfter{"_\\"};
constexpr std::string_view kMarkCall{"_()"};

// The sign of a hit found without case from `from`: +1 when the term occurs
// in its own case anywhere at or after `from`, not necessarily at the hit.
// `exactAt` caches the last exact-case position, so a line is searched with
// case only as often as the start position passes that position.
class SignRule {
 public:
  SignRule(std::string_view text, std::string_view term) : text_(text), term_(term) {}
  int SignFrom(std::size_t from) {
    if (!searched_ || (exactAt_ != kNone && exactAt_ < from)) {
      exactAt_ = text_.find(term_, from);
      searched_ = true;
    }
    return exactAt_ != kNone ? 1 : -1;
  }

 private:
  std::string_view text_;
  std::string_view term_;
  std::size_t exactAt_ = kNone;
  bool searched_ = false;
};

// Blanks everything strictly between the quotes of each pair, taking the
// quotes in pairs from the left. The caller has made sure the count is even.
void BlankStringLiterals(std::string& text) {
  std::size_t open = text.find('"');
  while (open != kNone) {
    const std::size_t close = text.find('"', open + 1);
    if (close == kNone) break;
    std::fill(text.begin() + static_cast<std::ptrdiff_t>(open + 1),
              text.begin() + static_cast<std::ptrdiff_t>(close), ' ');
    open = text.find('"', close + 1);
  }
}

}  // namespace

std::size_t FindIgnoreCase(std::string_view text, std::string_view term, std::size_t from) {
  const std::size_t n = term.size();
  if (n == 0 || from >= text.size() || text.size() - from < n) return kNone;
  const char first = FoldAscii(term[0]);
  const char firstUpper = (first >= 'a' && first <= 'z') ? static_cast<char>(first - 32) : first;
  const char* p = text.data();
  const std::size_t last = text.size() - n;
  const auto matchesAt = [&](std::size_t i) {
    std::size_t k = 1;
    while (k < n && FoldAscii(p[i + k]) == FoldAscii(term[k])) ++k;
    return k == n;
  };
  std::size_t i = from;
#if defined(__SSE2__)
  // Every line of a listing goes through here: find the first letter in
  // either case sixteen bytes at a time, then compare the rest.
  const __m128i lower = _mm_set1_epi8(first);
  const __m128i upper = _mm_set1_epi8(firstUpper);
  for (; i + 16 <= last + 1; i += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, lower), _mm_cmpeq_epi8(bytes, upper))));
    while (mask != 0) {
      const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (matchesAt(at)) return at;
      mask &= mask - 1;
    }
  }
#endif
  for (; i <= last; ++i) {
    const char c = p[i];
    if ((c == first || c == firstUpper) && matchesAt(i)) return i;
  }
  return kNone;
}

void OverwriteInPlace(std::string& text, std::size_t position, std::string_view replacement) {
  if (position == 0 || position > text.size()) return;
  const std::size_t start = position - 1;
  const std::size_t count = std::min(replacement.size(), text.size() - start);
  std::copy_n(replacement.begin(), count, text.begin() + static_cast<std::ptrdiff_t>(start));
}

TermWordResult TermWordTest(std::string_view line, std::string_view term) {
  TermWordResult result;
  if (term.empty() || line.empty()) return result;
  // Blanking literals and cutting the comment only take text away, so a line
  // without the term cannot gain it; a term with a space could meet a blank.
  if (term.find(' ') == kNone && FindIgnoreCase(line, term, 0) == kNone) return result;

  // The private copy is needed only when there are literals to blank.
  std::string copy;
  std::string_view text = line;
  const auto quotes = std::count(line.begin(), line.end(), '"');
  if (quotes != 0 && quotes % 2 == 0) {
    copy.assign(line);
    BlankStringLiterals(copy);
    text = copy;
  }
  text = text.substr(0, text.find(';'));

  const std::size_t n = term.size();
  const std::size_t cutLength = text.size();
  SignRule sign(text, term);
  std::size_t from = 0;
  for (std::size_t f = FindIgnoreCase(text, term, from); f != kNone;
       f = FindIgnoreCase(text, term, from)) {
    const int s = sign.SignFrom(from);
    bool before = f == 0;
    if (!before) {
      const std::size_t at = kBeforeSeparators.find(text[f - 1]);
      before = at != kNone;
      if (at == 0) result.UsageMark = kMarkBackslashBefore;
      if (at == 1) result.UsageMark = kMarkStar;
      if (at == 2) result.UsageMark = kMarkAt;
    }
    bool after = f + n == cutLength;
    if (!after) {
      const std::size_t at = kAfterSeparators.find(text[f + n]);
      after = at != kNone;
      if (at == 0) result.UsageMark = kMarkBackslashAfter;
      if (at == 1) result.UsageMark = kMarkCall;
    }
    if (before && after) {
      result.Value = 3 * s;
      return result;
    }
    // Occurrences may overlap: the next search starts one further on.
    from = f + 1;
  }
  return result;
}

int CallWordTest(std::string_view line, std::string_view term) {
  SignRule sign(line, term);
  std::size_t from = 0;
  for (std::size_t f = FindIgnoreCase(line, term, from); f != kNone;
       f = FindIgnoreCase(line, term, from)) {
    const int s = sign.SignFrom(from);
    if (f == 0 || kCallSeparators.find(line[f - 1]) != kNone) return s;
    from = f + 1;
  }
  return 0;
}

}  // namespace pbz
