#include "match/declaration.h"

namespace pbz {

namespace {

bool StartsWith(std::string_view line, std::string_view keyword) {
  return line.size() >= keyword.size() && line.compare(0, keyword.size(), keyword) == 0;
}

}  // namespace

bool DeclarationTest(bool allKeywords, std::string_view line) {
  // Outside a procedure only a global declares anything the search cares about.
  if (!allKeywords) return StartsWith(line, "Global");
  for (const std::string_view keyword : kDeclarationKeywords) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

}  // namespace pbz
