#include <gtest/gtest.h>

#include "match/word_tests.h"

namespace pbz {
namespace {

TEST(TermWordTest, Table) {
  struct Case {
    const char* line;
    const char* term;
    int value;
    const char* mark;
  } cases[] = {
      {"x = foo", "foo", 3, ""},
      {"x=Foo+1", "foo", -3, ""},
      {"foo", "foo", 3, ""},
      {"foobar = 1", "foo", 0, ""},
      {"foobar = foo", "foo", 3, ""},
      {"a$ = \"foo\"", "foo", 0, ""},
      {"a$ = \"x foo", "foo", 3, ""},
      {"x = 1 ; foo", "foo", 0, ""},
      {"x = foo;", "foo", 3, ""},
      {"s$ = \"a;b\" + foo", "foo", 3, ""},
      {"*foo = 0", "foo", 3, "*"},
      {"p = @foo", "foo", 3, "@"},
      {"x\\foo = 1", "foo", 3, "\\_"},
      {"foo\\x = 1", "foo", 3, "_\\"},
      {"foo(1)", "foo", 3, "_()"},
      {"*foo(1)", "foo", 3, "_()"},
      {"foo.l = 1", "foo", 3, ""},
      {"x.foo", "foo", 0, ""},
      {"foo$ = \"\"", "foo", 0, ""},
      {"#foo", "foo", 0, ""},
      {"x = foo : Foo()", "Foo", 3, ""},
      {"x = foo", "", 0, ""},
      {"", "", 0, ""},
      // Ends of the line and of the cut copy.
      {"", "foo", 0, ""},
      {"fo", "foo", 0, ""},
      {"x = fo", "foo", 0, ""},
      {"FOO", "foo", -3, ""},
      {"foo=1", "foo", 3, ""},
      {"x=foo", "foo", 3, ""},
      {"foo;", "foo", 3, ""},
      {"x = fooo;", "foo", 0, ""},
      {"x = foo ;y", "foo", 3, ""},
      {"x=1;foo", "foo", 0, ""},
      {";foo", "foo", 0, ""},
      {"\tfoo\t", "foo", 3, ""},
      {"(foo)", "foo", 3, ""},
      {"foo]", "foo", 0, ""},
      {"[foo", "foo", 0, ""},
      // Literals: an odd count blanks nothing, pairs are first-second, third-fourth.
      {"\"x foo y\" + \"", "foo", 3, ""},
      {"\"a;b foo", "foo", 0, ""},
      {"\"a\" + foo + \"b\"", "foo", 3, ""},
      {"x = \"foo\" ; foo", "foo", 0, ""},
      {"x = \"a\" + \"foo\"", "foo", 0, ""},
      // The sign comes from any exact-case occurrence at or after the start.
      {"x=foo+Foo", "Foo", 3, ""},
      {"MyFoo = foo", "Foo", -3, ""},
      {"Foo2 = foo", "Foo", -3, ""},
      // A mark of an earlier occurrence that was no hit stays.
      {"*foobar = foo", "foo", 3, "*"},
      {"foo\\bar = xfoo\\z + foo", "foo", 3, "_\\"},
      {"foobar(foo", "foo", 3, ""},
      // Overlapping occurrences: the next search starts one further on.
      {"ax+x+x", "x+x", 3, ""},
      // Only A-Z/a-z fold.
      {"\xC9t\xC9", "\xE9t\xE9", 0, ""},
      {"[", "{", 0, ""},
  };
  for (const Case& c : cases) {
    const TermWordResult got = TermWordTest(c.line, c.term);
    EXPECT_EQ(got.Value, c.value) << "line '" << c.line << "' term '" << c.term << "'";
    EXPECT_EQ(got.UsageMark, c.mark) << "line '" << c.line << "' term '" << c.term << "'";
  }
}

TEST(TermWordTest, LeavesTheCallersLineAlone) {
  const std::string line = "a$ = \"foo\" ; foo";
  const std::string before = line;
  TermWordTest(line, "foo");
  EXPECT_EQ(line, before);
}

TEST(CallWordTest, Table) {
  struct Case {
    const char* line;
    const char* term;
    int want;
  } cases[] = {
      {"Foo(1)", "Foo(", 1},
      {"x=Foo(1)", "Foo(", 1},
      {"MyFoo(1)", "Foo(", 0},
      {"x\\Foo(1)", "Foo(", 0},
      {"foo(1)", "Foo(", -1},
      {"MyFoo(1) + Foo(2)", "Foo(", 1},
      {"Debug \"call Foo(1)\"", "Foo(", 1},
      {"Foo(", "Foo(", 1},
      {"Foo", "Foo(", 0},
      {"Fo", "Foo(", 0},
      {"", "Foo(", 0},
      {"Foo(1)", "", 0},
      {"x = Foo (1)", "Foo(", 0},
      {"@Foo()", "Foo(", 1},
      {"*Foo(", "Foo(", 1},
      {"\tFoo(", "Foo(", 1},
      {"#Foo(", "Foo(", 0},
      {"x.Foo(", "Foo(", 0},
      {"a(Foo(", "Foo(", 1},
      // Sign rule.
      {"foo(1) : Foo(2)", "Foo(", 1},
      {"MyFoo(1) + foo(2)", "Foo(", -1},
      {"FOO(", "foo(", -1},
      // Overlapping occurrences.
      {"x(((", "((", 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CallWordTest(c.line, c.term), c.want)
        << "line '" << c.line << "' term '" << c.term << "'";
  }
}

TEST(OverwriteInPlace, WritesOneForOneUpToEitherEnd) {
  struct Case {
    const char* text;
    std::size_t position;
    const char* replacement;
    const char* want;
  } cases[] = {
      {"abcdef", 1, " ", " bcdef"},
      {"abcdef", 6, " ", "abcde "},
      {"abc", 3, "xyz", "abx"},
      {"abc", 2, "xy", "axy"},
      {"abc", 4, "x", "abc"},
      {"abc", 0, "x", "abc"},
      {"", 1, "x", ""},
      {"abc", 2, "", "abc"},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    OverwriteInPlace(text, c.position, c.replacement);
    EXPECT_EQ(text, c.want) << c.text << " @" << c.position;
  }
}

TEST(FindIgnoreCase, FoldsAsciiLettersOnly) {
  constexpr std::size_t npos = std::string_view::npos;
  EXPECT_EQ(FindIgnoreCase("xFOO", "foo", 0), 1u);
  EXPECT_EQ(FindIgnoreCase("xFOO", "foo", 1), 1u);
  EXPECT_EQ(FindIgnoreCase("xFOO", "foo", 2), npos);
  EXPECT_EQ(FindIgnoreCase("aaa", "aa", 1), 1u);
  EXPECT_EQ(FindIgnoreCase("abc", "c", 2), 2u);
  EXPECT_EQ(FindIgnoreCase("abc", "c", 3), npos);
  EXPECT_EQ(FindIgnoreCase("abc", "c", 99), npos);
  EXPECT_EQ(FindIgnoreCase("abc", "", 0), npos);
  EXPECT_EQ(FindIgnoreCase("", "a", 0), npos);
  EXPECT_EQ(FindIgnoreCase("ab", "abc", 0), npos);
  // Pairs 32 apart that are not letters stay distinct.
  EXPECT_EQ(FindIgnoreCase("[@^", "{", 0), npos);
  EXPECT_EQ(FindIgnoreCase("x`", "@", 0), npos);
  EXPECT_EQ(FindIgnoreCase("a[b", "A{B", 0), npos);
  EXPECT_EQ(FindIgnoreCase("\xC9", "\xE9", 0), npos);
}

}  // namespace
}  // namespace pbz
