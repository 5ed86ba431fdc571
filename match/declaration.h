// Declaration lines of the term search.
#pragma once

#include <array>
#include <string_view>

namespace pbz {

inline constexpr std::array<std::string_view, 6> kDeclarationKeywords{
    "Protected", "Static", "Shared", "Procedure ", "Procedure.", "Global"};

// With allKeywords, a line that starts with any of the keywords (exact case);
// without, only a line that starts with "Global".
bool DeclarationTest(bool allKeywords, std::string_view line);

}  // namespace pbz
