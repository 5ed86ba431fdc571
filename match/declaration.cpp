#include "match/declaration.h"

namespace pbz {
// stub: replaced by the declaration test
bool DeclarationTest(bool, std::string_view) { return false; }
}  // namespace pbz
