#include <gtest/gtest.h>

#include "match/declaration.h"

namespace pbz {
namespace {

TEST(DeclarationTest, Table) {
  struct Case {
    const char* line;
    bool all;
    bool globalOnly;
  } cases[] = {
      {"Protected a.i", true, false},
      {"Static NewList x()", true, false},
      {"Shared y", true, false},
      {"Procedure Foo()", true, false},
      {"Procedure.s Foo()", true, false},
      {"Global z", true, true},
      {"GlobalCount = 1", true, true},
      {"Global", true, true},
      {"StaticText$ = \"\"", true, false},
      {"Define x", false, false},
      {"protected a", false, false},
      {"x = 1", false, false},
      {"", false, false},
      {"Procedure", false, false},
      {"ProcedureC Foo()", false, false},
      {"ProcedureDLL Foo()", false, false},
      {"Globa", false, false},
      {" Global z", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DeclarationTest(true, c.line), c.all) << '"' << c.line << '"';
    EXPECT_EQ(DeclarationTest(false, c.line), c.globalOnly) << '"' << c.line << '"';
  }
}

}  // namespace
}  // namespace pbz
