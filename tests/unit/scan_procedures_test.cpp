#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/text.h"
#include "scan/procedures.h"
#include "scratch_folder.h"

namespace pbz {
namespace {

TEST(IsProcedureLine, KeywordsFollowedByBlankDotOrEnd) {
  struct Case {
    const char* line;
    bool want;
  } cases[] = {
      {"Procedure Foo()", true},
      {"Procedure.i Foo(a, b)", true},
      {"Procedure\tFoo()", true},
      {"ProcedureC Foo()", true},
      {"ProcedureDLL.s Foo()", true},
      {"ProcedureCDLL Foo()", true},
      {"ProcedureCDLL.i Foo()", true},
      {"ProcedureC\tFoo()", true},
      {"Procedure", true},
      {"ProcedureC", true},
      {"ProcedureDLL", true},
      {"ProcedureCDLL", true},
      {"Procedure Foo() ", true},
      {"ProcedureReturn 5", false},
      {"ProcedureReturn", false},
      {"Procedures = 3", false},
      {"ProcedureBrowserScroll.l = 0", false},
      {"ProcedureCD Foo()", false},
      {"ProcedureDL Foo()", false},
      {"ProcedureC(x)", false},
      {"Procedure(x)", false},
      {"procedure Foo()", false},
      {"PROCEDURE Foo()", false},
      {" Procedure Foo()", false},
      {"Procedur", false},
      {"EndProcedure", false},
      {"Declare Foo()", false},
      {"", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsProcedureLine(c.line), c.want) << '"' << c.line << '"';
}

// Records the order of the control calls.
class RecordingControl : public ScanControl {
 public:
  explicit RecordingControl(std::int64_t stopAt = 0) : stopAt_(stopAt) {}
  void ScanStarted() override { events.push_back("started"); }
  void ScanEnded() override { events.push_back("ended"); }
  bool AbortCheck() override {
    ++checks;
    return checks == stopAt_;
  }
  std::vector<std::string> events;
  std::int64_t checks = 0;

 private:
  std::int64_t stopAt_;
};

class ListProceduresTest : public testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    return scratch_.Write(name, content);
  }
  ScratchFolder scratch_;
  SourceSet Set(const std::vector<std::string>& paths) {
    SourceSet set;
    for (const std::string& path : paths) {
      set.push_back(
          {path, set.empty() ? "" : "main.pb", set.empty() ? 0 : 1, set.empty() ? kNoParent : 0});
    }
    return set;
  }

  static Row Expect(const char* line, const char* definition, const char* file, Rgb background) {
    Row row;
    row.cells = {line, "", "", definition, file};
    row.background = background;
    return row;
  }

  const std::string dir_ = scratch_.Root();
};

TEST_F(ListProceduresTest, ListsPreparedProcedureLinesOfEveryFile) {
  const SourceSet set = Set({Write("main.pb",
                                   "\xEF\xBB\xBFProcedure First()\n"
                                   "\tProcedure Tabbed()\n"
                                   "  \t ProcedureDLL.s Mixed(a.s) ; exported\r\n"
                                   "; Procedure Commented()\n"
                                   "Procedures = 3\n"
                                   "  ProcedureReturn 5\n"
                                   "procedure lower()\n"
                                   "Procedure.i Semi(a$ = \";\")\n"
                                   "EndProcedure"),
                             Write("inc.pbi", "\n\n\n\n\n\n\n\n\n\n\nProcedureC Twelve()")});
  MemoryList list;
  list.AddRow(Row{});  // rows go after what the page already holds
  RecordingControl control;
  ProcedureIndex index{{"stale", "x", 1, 0}};
  ListProcedures(set, list, control, index);

  const Rgb y = kProcedureYellow, c = kProcedureCyan;
  const std::vector<Row> want{Row{},
                              Expect("     1", "Procedure First()", "main.pb", y),
                              Expect("     2", "Procedure Tabbed()", "main.pb", y),
                              Expect("     3", "ProcedureDLL.s Mixed(a.s) ", "main.pb", y),
                              Expect("     8", "Procedure.i Semi(a$ = \"", "main.pb", y),
                              Expect("    12", "ProcedureC Twelve()", "inc.pbi", c)};
  EXPECT_EQ(list.Rows(), want);
  EXPECT_EQ(list.Selected(), std::optional<std::size_t>(5));
  ASSERT_EQ(index.size(), 5u);
  const std::int64_t lines[] = {1, 2, 3, 8, 12};
  for (std::size_t i = 0; i < index.size(); ++i) {
    EXPECT_EQ(index[i].DefinitionLine, want[i + 1].cells[kFunction]);
    EXPECT_EQ(index[i].FileName, want[i + 1].cells[kFile]);
    EXPECT_EQ(index[i].LineNumber, lines[i]);
    EXPECT_EQ(index[i].Source, i < 4 ? 0u : 1u);
  }
  EXPECT_EQ(control.checks, 9 + 12);
  EXPECT_EQ(control.events, (std::vector<std::string>{"started", "ended"}));
}

TEST_F(ListProceduresTest, FilesWithoutRowsTakeNoColourTurn) {
  const std::string a = Write("a.pbi", "Procedure A()\n");
  const std::string c = Write("c.pbi", "Procedure C()\n");
  for (const std::string& middle :
       {Write("none.pbi", "; no procedure\n"), dir_ + "/missing.pbi", dir_}) {
    const SourceSet set = Set({a, middle, c, a});
    MemoryList list;
    RecordingControl control;
    ProcedureIndex index;
    ListProcedures(set, list, control, index);
    const std::vector<Row> want{Expect("     1", "Procedure A()", "a.pbi", kProcedureYellow),
                                Expect("     1", "Procedure C()", "c.pbi", kProcedureCyan),
                                Expect("     1", "Procedure A()", "a.pbi", kProcedureYellow)};
    EXPECT_EQ(list.Rows(), want) << middle;
    ASSERT_EQ(index.size(), 3u);
    EXPECT_EQ(index[2].Source, 3u);
  }
}

TEST_F(ListProceduresTest, LongLineNumbersAreShownWhole) {
  const SourceSet set = Set({Write("big.pb", std::string(1234566, '\n') + "Procedure Far()\n")});
  MemoryList list;
  RunToEnd control;
  ProcedureIndex index;
  ListProcedures(set, list, control, index);
  ASSERT_EQ(list.Rows().size(), 1u);
  EXPECT_EQ(list.Rows()[0].cells[kLine], "1234567");
  EXPECT_EQ(index[0].LineNumber, 1234567);
}

TEST_F(ListProceduresTest, StopDuringTheSecondFileKeepsTheRowsSoFar) {
  const SourceSet set = Set({Write("a.pb", "Procedure A1()\nEndProcedure\nProcedure A2()\n"),
                             Write("b.pbi", "Procedure B1()\nx\nProcedure B2()\n"),
                             Write("c.pbi", "Procedure C1()\n")});
  // The fifth line read is line 2 of b.pbi.
  StopAfterLines control(5);
  MemoryList list;
  ProcedureIndex index;
  ListProcedures(set, list, control, index);
  EXPECT_EQ(control.linesChecked, 5);
  EXPECT_FALSE(control.stopEnabled);
  ASSERT_EQ(list.Rows().size(), 3u);
  ASSERT_EQ(index.size(), 3u);
  const char* names[] = {"Procedure A1()", "Procedure A2()", "Procedure B1()"};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(list.Rows()[i].cells[kFunction], names[i]);
    EXPECT_EQ(index[i].DefinitionLine, names[i]);
    EXPECT_EQ(PadLineNumber(index[i].LineNumber), list.Rows()[i].cells[kLine]);
  }

  // Stopped at the very last line: everything is there, and Stop still ends.
  RecordingControl last(7);
  MemoryList all;
  ListProcedures(set, all, last, index);
  EXPECT_EQ(all.Rows().size(), 5u);
  EXPECT_EQ(index.size(), 5u);
  EXPECT_EQ(last.events, (std::vector<std::string>{"started", "ended"}));
}

TEST_F(ListProceduresTest, AnUnreadableOnlyFileGivesNothing) {
  const SourceSet set = Set({dir_ + "/none.pb"});
  MemoryList list;
  RecordingControl control;
  ProcedureIndex index{{"stale", "x", 1, 0}};
  ListProcedures(set, list, control, index);
  EXPECT_EQ(list.RowCount(), 0u);
  EXPECT_TRUE(index.empty());
  EXPECT_EQ(control.events, (std::vector<std::string>{"started", "ended"}));
  EXPECT_EQ(control.checks, 0);
}

}  // namespace
}  // namespace pbz
