// The two whole-word tests: a name as a term, and a procedure call.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pbz {

inline constexpr std::string_view kBeforeSeparators{"\\*@ :=+-/,<>!%&|(\t"};
inline constexpr std::string_view kAfterSeparators{"\\( :=+-*/,.<>!%&|)\t"};
inline constexpr std::string_view kCallSeparators{" :=+-*/,<>!%&|(@\t"};

struct TermWordResult {
  // 3: whole-word hit in the term's case (by the sign rule), -3: hit found
  // only without case, 0: none.
  int Value = 0;
  // The usage mark: "", "\\_", "*", "@", "_\\" or "_()". Names the separator
  // next to the examined occurrences; an earlier non-hit may leave its mark.
  std::string_view UsageMark;
};

// Whole-word occurrence of term in line, string literals blanked and the
// trailing comment cut first.
TermWordResult TermWordTest(std::string_view line, std::string_view term);

// Occurrence of a call term ("Name(") that starts a word: 1 same case, -1
// found only without case, 0 none.
int CallWordTest(std::string_view line, std::string_view term);

// Writes replacement over text from the 1-based position, one for one, up to
// the end of either; text keeps its length.
void OverwriteInPlace(std::string& text, std::size_t position, std::string_view replacement);

// First position (0-based) at or after from where term occurs, letters A-Z
// folded; npos when none, also for an empty term.
std::size_t FindIgnoreCase(std::string_view text, std::string_view term, std::size_t from);

}  // namespace pbz
