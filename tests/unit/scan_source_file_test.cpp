#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "scan/file_identity.h"
#include "scan/source_file.h"
#include "scratch_folder.h"

namespace pbz {
namespace {

std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  LineSplitter splitter(text);
  std::string_view line;
  while (splitter.Next(line)) lines.emplace_back(line);
  return lines;
}

TEST(LineSplitter, FollowsTheReadingRule) {
  using std::string_literals::operator""s;
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\n", {"a"}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
      {"a\r\nb\rc\nd", {"a", "b", "c", "d"}},
      {"a\r\r\nb", {"a", "", "b"}},
      {"a\n\rb", {"a", "", "b"}},
      {"\r", {""}},
      {"a\r", {"a"}},
      {"a\0b"s, {"a", "b"}},
      {"a\0"s, {"a"}},
      {"\0\0"s, {"", ""}},
      {"a\r\0b"s, {"a", "", "b"}},
      {"a\0\nb"s, {"a", "", "b"}},
      {"a\tb \n", {"a\tb "}},
      // A byte order mark at the very start is no part of line 1.
      {"\xEF\xBB\xBFProcedure Foo()\n", {"Procedure Foo()"}},
      {"\xEF\xBB\xBF", {}},
      {"\xEF\xBB\xBF\n", {""}},
      {"\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
      // Only at the start, and only whole.
      {"a\n\xEF\xBB\xBF"
       "b",
       {"a",
        "\xEF\xBB\xBF"
        "b"}},
      {"\xEF\xBB", {"\xEF\xBB"}},
      {" \xEF\xBB\xBF", {" \xEF\xBB\xBF"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Lines(c.text), c.lines) << testing::PrintToString(c.text);
  }
}

TEST(LineSplitter, HasNoLineLengthLimit) {
  const std::string longLine(3 << 20, 'x');
  const std::vector<std::string> lines = Lines(longLine + "\r\nend");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], longLine);
  EXPECT_EQ(lines[1], "end");
}

TEST(ProcedureTests, StartAndEnd) {
  struct Case {
    const char* line;
    bool start;
    bool end;
  } cases[] = {
      {"Procedure Foo()", true, false},       {"Procedure.i Foo(a, b)", true, false},
      {"Procedure.s{10} Foo()", true, false}, {"ProcedureC Foo()", false, false},
      {"ProcedureDLL Foo()", false, false},   {"ProcedureReturn x", false, false},
      {"procedure Foo()", false, false},      {"Procedure", false, false},
      {" Procedure Foo()", false, false},     {"Procedure\tFoo()", false, false},
      {"EndProcedure", false, true},          {"EndProcedure ; done", false, true},
      {"EndProcedureX", false, true},         {"EndProcedur", false, false},
      {"endprocedure", false, false},         {"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsProcedureStart(c.line), c.start) << '"' << c.line << '"';
    EXPECT_EQ(IsProcedureEnd(c.line), c.end) << '"' << c.line << '"';
  }
}

class ReadSourceFileTest : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    return scratch_.Write(name, content);
  }
  ScratchFolder scratch_;
  const std::string dir_ = scratch_.Root();
};

TEST_F(ReadSourceFileTest, ReadsRegularFilesWhole) {
  std::string big;
  for (int i = 0; big.size() < (5u << 20); ++i) big += "Line " + std::to_string(i) + "\r\n";
  big.push_back('\0');
  for (const std::string& content : {std::string(), std::string("a\nb"), big}) {
    ReadError error;
    const auto read = ReadSourceFile(Write("f.pb", content), &error);
    ASSERT_TRUE(read.has_value()) << error.reason;
    EXPECT_EQ(*read, content);
  }
}

TEST_F(ReadSourceFileTest, RefusesWhatIsNoRegularFile) {
  const std::string fifo = dir_ + "/fifo.pbi";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const std::string link = dir_ + "/zero.pbi";
  ASSERT_EQ(::symlink("/dev/zero", link.c_str()), 0);
  struct Case {
    std::string path;
    std::string reason;
  } cases[] = {
      {dir_, "is a folder"},
      {fifo, "not a regular file"},
      {"/dev/zero", "not a regular file"},
      {link, "not a regular file"},
      {dir_ + "/missing.pbi", "No such file or directory"},
      {"", "empty file name"},
  };
  for (const Case& c : cases) {
    ReadError error;
    EXPECT_FALSE(ReadSourceFile(c.path, &error).has_value()) << c.path;
    EXPECT_EQ(error.reason, c.reason) << c.path;
  }
}

TEST_F(ReadSourceFileTest, IdentityIsTheSameForEverySpellingOfOnePath) {
  ASSERT_EQ(::mkdir((dir_ + "/sub").c_str(), 0700), 0);
  Write("sub/a.pbi", "x");
  Write("b.pbi", "x");
  FileIdentity a, again, other;
  ASSERT_TRUE(ReadSourceFile(dir_ + "/sub/a.pbi", &a, nullptr));
  ASSERT_TRUE(ReadSourceFile(dir_ + "/sub/../sub/./a.pbi", &again, nullptr));
  ASSERT_TRUE(ReadSourceFile(dir_ + "/b.pbi", &other, nullptr));
  EXPECT_EQ(a, again);
  EXPECT_NE(a, other);
}

}  // namespace
}  // namespace pbz
