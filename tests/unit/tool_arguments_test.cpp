#include "app/tool_arguments.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

namespace pbz {
namespace {

// A scratch folder with a main.pb whose line 3 is "Procedure Foo(a)" and
// whose line 7 holds "#Limit" at characters 9 to 14.
class ToolArgumentsFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = ::testing::TempDir() + "pbz_args_XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    main_ = folder_ + "/main.pb";
    std::ofstream(main_, std::ios::binary) << "; example\r\n"
                                              "Global x\r\n"
                                              "Procedure Foo(a)\r\n"
                                              "EndProcedure\r\n"
                                              "\r\n"
                                              "Foo(1)\r\n"
                                              "If ab < #Limit : x = 1\r\n";
  }
  void TearDown() override {
    std::remove(main_.c_str());
    ::rmdir(folder_.c_str());
  }
  std::string folder_;
  std::string main_;
};

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

TEST(ParseSelectionRange, Table) {
  struct Case {
    const char* text;
    bool want;
    SelectionRange range;  // expected fields after the call
  } cases[] = {
      {"12x5x12x9", true, {12, 5, 12, 9}},
      {"3x1x3x1", false, {3, 1, 3, 1}},    // empty selection
      {"5x3x6x1", false, {5, 3, 6, 1}},    // up to the start of the next line
      {"5x9x5x3", false, {5, 9, 5, 3}},    // backwards
      {"5X3X5X9", false, {7, 7, 7, 7}},    // upper-case X: not parsed, range unchanged
      {"5x3x5", false, {7, 7, 7, 7}},      // two x
      {"5x3x5x9x1", false, {7, 7, 7, 7}},  // four x
      {"", false, {7, 7, 7, 7}},
      {"axbxcxd", false, {0, 0, 0, 0}},  // fields without digits count as 0
      {"xxx", false, {0, 0, 0, 0}},
      {" 4x 2x4x$a", true, {4, 2, 4, 10}},  // the text-to-integer rule per field
      {"4x-2x4x3", true, {4, -2, 4, 3}},
      // Fields beyond 64 bits saturate instead of wrapping around.
      {"99999999999999999999x1x99999999999999999999x5", true, {kMax, 1, kMax, 5}},
      {"1x-99999999999999999999x1x99999999999999999999", true, {1, kMin, 1, kMax}},
  };
  for (const Case& c : cases) {
    SelectionRange range{7, 7, 7, 7};
    EXPECT_EQ(ParseSelectionRange(c.text, range), c.want) << c.text;
    EXPECT_EQ(range.LineStart, c.range.LineStart) << c.text;
    EXPECT_EQ(range.CharStart, c.range.CharStart) << c.text;
    EXPECT_EQ(range.LineEnd, c.range.LineEnd) << c.text;
    EXPECT_EQ(range.CharEnd, c.range.CharEnd) << c.text;
  }
}

TEST_F(ToolArgumentsFiles, ReadSelectedTextTable) {
  struct Case {
    SelectionRange range;
    const char* want;
  } cases[] = {
      {{3, 11, 3, 14}, "Foo"},
      {{3, 1, 3, 10}, "Procedure"},
      {{3, 11, 3, 100}, "Foo(a)"},  // fewer when the line ends first
      {{3, 16, 3, 17}, ")"},        // the last character
      {{3, 17, 3, 20}, ""},         // beyond the end of the line
      {{7, 9, 7, 15}, "#Limit"},
      {{5, 1, 5, 3}, ""},                        // empty line
      {{8, 1, 8, 3}, ""},                        // past the last line
      {{0, 1, 0, 3}, ""},                        // no line 0
      {{3, 14, 3, 11}, ""},                      // backwards selection gives nothing
      {{kMax, 1, kMax, 5}, ""},                  // a line far beyond the file
      {{3, kMin, 3, kMax}, "Procedure Foo(a)"},  // the widest range: the whole line
      {{3, kMax - 1, 3, kMax}, ""},              // a start far beyond the line
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadSelectedText(main_, c.range), c.want)
        << c.range.LineStart << "x" << c.range.CharStart << "x" << c.range.CharEnd;
  }
  EXPECT_EQ(ReadSelectedText(folder_ + "/missing.pb", {3, 11, 3, 14}), "");
  EXPECT_EQ(ReadSelectedText(folder_, {3, 11, 3, 14}), "");  // a folder
}

TEST(DecideCursorWord, Table) {
  struct Case {
    const char* raw;  // the third argument with "(" appended, as start-up makes it
    const char* selected;
    const char* want;
  } cases[] = {
      {"", "Foo", "Foo("},   // no word: the selection stands in
      {"", "Foo(", "Foo("},  // no second "("
      {"", "", "("},         // nothing at all
      {"Foo(", "", "Foo("},
      {"Foo(", "Bar", "Foo("},          // a word wins over a plain selection
      {"Limit(", "#Limit", "#Limit("},  // a constant of the same length
      {"Limit(", "#Limit ", "Limit("},  // one character more
      {"Limit(", "#Other", "#Other("},  // only length and "#" are compared
      {"Limit(", "xLimit", "Limit("},   // no "#"
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecideCursorWord(c.raw, c.selected), c.want) << c.raw << " / " << c.selected;
  }
}

TEST_F(ToolArgumentsFiles, ReadToolArgumentsTable) {
  struct Case {
    std::vector<std::string> args;
    std::string mainFile;
    std::string selected;
    std::string cursorWord;
  } cases[] = {
      {{main_, "3x11x3x14", ""}, main_, "Foo", "Foo("},
      {{main_, "3x1x3x1", "Foo"}, main_, "", "Foo("},
      {{main_, "7x9x7x16", "Limit"}, main_, "#Limit ", "Limit("},
      {{main_, "7x9x7x15", "Limit"}, main_, "#Limit", "#Limit("},
      {{main_ + "  ", "", ""}, main_, "", "("},     // trailing spaces removed
      {{main_ + "\t", "", "Foo"}, "", "", "Foo("},  // a trailing TAB stays: no such file
      {{main_, "5x3x6x1", ""}, main_, "", "("},
      {{main_, "5X3X5X9", ""}, main_, "", "("},
      {{main_}, main_, "", "("},
      {{}, "", "", "("},
      {{folder_ + "/missing.pb", "3x11x3x14", ""}, "", "", "("},
      {{folder_, "", "Foo"}, folder_, "", "Foo("},           // an existing folder passes
      {{"main.pb", "3x11x3x14", ""}, main_, "Foo", "Foo("},  // relative to the start folder
      {{main_, "3x11x3x14", "Bar", "ignored"}, main_, "Foo", "Bar("},
  };
  for (const Case& c : cases) {
    const ToolArguments got = ReadToolArguments(c.args, folder_);
    const std::string where = c.args.empty() ? "(none)" : c.args[0];
    EXPECT_EQ(got.MainFile, c.mainFile) << where;
    EXPECT_EQ(got.SelectedText, c.selected) << where;
    EXPECT_EQ(got.CursorWord, c.cursorWord) << where;
  }
}

TEST(SettingsFromEnvironment, EnvironmentThenBuildConstants) {
  ::setenv("PUREBASIC_HOME", "/opt/pb", 1);
  ::setenv("PB_TOOL_IDE", "/opt/pb/compilers/purebasic", 1);
  Settings settings = SettingsFromEnvironment();
  EXPECT_EQ(settings.PureBasicHome, "/opt/pb/");
  EXPECT_EQ(settings.IdeProgramPath, "/opt/pb/compilers/purebasic");
  ::unsetenv("PUREBASIC_HOME");
  ::unsetenv("PB_TOOL_IDE");
  settings = SettingsFromEnvironment();
  EXPECT_EQ(settings.IdeProgramPath, PBZ_IDE_PROGRAM);
  EXPECT_EQ(settings.PureBasicHome.back(), '/');
}

}  // namespace
}  // namespace pbz
