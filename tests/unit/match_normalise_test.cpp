#include <gtest/gtest.h>

#include "match/normalise.h"
#include "match/normalise_view.h"

namespace pbz {
namespace {

TEST(NormaliseCallLine, Table) {
  struct Case {
    const char* line;
    const char* want;
  } cases[] = {
      {"", ""},
      {"\t\tx = Foo (1)", "x = Foo(1)"},
      {"x = Foo  (1)", "x = Foo(1)"},
      {"Foo(1) ; call Foo (2)", "Foo(1) "},
      {"Debug \"a;b\" : Foo(1)", "Debug \"a;b\" : Foo(1)"},
      {"x = Bar(1 ; 2)", "x = Bar(1 ; 2)"},
      {"a$ = \"(\" ; Foo(1)", "a$ = \"(\" ; Foo(1)"},
      {"y = foo (1)", "y = foo (1)"},
      {"Procedure Foo (a)", "Procedure Foo(a)"},
      {"x = 1 ; note", "x = 1 "},
      {"x = Bar (Foo (1))", "x = Bar (Foo(1))"},
      {"Foo = Bar (1)", "Foo = Bar(1)"},
      {"Foo (1) + Foo  (2)", "Foo(1) + Foo(2)"},
      // Leading blanks in any mix go.
      {" \t x = Foo (1)", "x = Foo(1)"},
      {"\t \t", ""},
      {"  ; Foo(1)", ""},
      {";", ""},
      // A ")" may take the depth below 0; then no ";" cuts.
      {"x = a) ; Foo(1)", "x = a) ; Foo(1)"},
      // An odd number of quotes leaves the rest of the line in the string.
      {"a$ = \"x ; Foo (1)", "a$ = \"x ; Foo(1)"},
      // The key at the ends of the line.
      {"x = Foo", "x = Foo"},
      {"x = Foo ", "x = Foo "},
      {"Foo (", "Foo("},
      {"Foo  ", "Foo  "},
      {"x (1) = Foo", "x (1) = Foo"},
      {"Foo ;(", "Foo "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NormaliseCallLine(c.line, "Foo("), c.want) << '"' << c.line << '"';
    std::string scratch;
    EXPECT_EQ(NormaliseCallLineInto(c.line, "Foo(", scratch), c.want) << '"' << c.line << '"';
  }
}

TEST(NormaliseCallLine, EmptyNameClosesUpAfterTheFirstSpace) {
  // The call term "(" has the key " ".
  EXPECT_EQ(NormaliseCallLine("a (b) (c)", "("), "a(b)(c)");
  EXPECT_EQ(NormaliseCallLine("a (b)", ""), "a(b)");
}

TEST(NormaliseCallLineInto, CopiesOnlyWhenItClosesUp) {
  std::string scratch;
  const std::string line = "  x = Bar(1) ; Foo (2)";
  const std::string_view got = NormaliseCallLineInto(line, "Foo(", scratch);
  EXPECT_EQ(got, "x = Bar(1) ");
  EXPECT_EQ(got.data(), line.data() + 2);
  EXPECT_TRUE(scratch.empty());
}

TEST(CallTermOf, NameWithoutSpacesAndAParenthesis) {
  struct Case {
    const char* text;
    const char* want;
  } cases[] = {
      {"Foo(a, b)", "Foo("}, {"Foo (a)", "Foo("},    {"Foo(", "Foo("}, {"Foo", "Foo("}, {"", "("},
      {" F o o ", "Foo("},   {"Foo\t(a)", "Foo\t("}, {"(x)", "("},
  };
  for (const Case& c : cases) EXPECT_EQ(CallTermOf(c.text), c.want) << '"' << c.text << '"';
}

}  // namespace
}  // namespace pbz
