#include "calls/all_calls.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "scratch_folder.h"

namespace pbz {
namespace {

// ---------------------------------------------------------------------------
// The declaration block

TEST(CopyDeclareBlock, BuildsTheBlock) {
  struct Case {
    const char* name;
    DeclareList list;
    std::string want;
  } cases[] = {
      {"groups sorted by file, lines sorted within a group",
       {{"Procedure Zeta(a)", "main.pb"},
        {"Procedure.i Alpha()", "main.pb"},
        {"Procedure Setup(x)", "lib.pbi"}},
       ";lib.pbi\r\nDeclare Setup(x)\r\n; Declares from: main.pb\r\nDeclare Zeta(a)\r\n"
       "Declare.i Alpha()\r\n"},
      {"two files, one entry each: the last group of one gets its header",
       {{"Procedure B()", "b.pb"}, {"Procedure A()", "a.pb"}},
       ";a.pb\r\nDeclare A()\r\n; Declares from: b.pb\r\nDeclare B()\r\n"},
      {"single entry", {{"Procedure Foo()", "main.pb"}}, ";main.pb\r\nDeclare Foo()\r\n"},
      {"capitals sort first",
       {{"Procedure b()", "lib.pb"}, {"Procedure a()", "Main.pb"}},
       ";Main.pb\r\nDeclare a()\r\n; Declares from: lib.pb\r\nDeclare b()\r\n"},
      {"only the leading keyword changes",
       {{"Procedure ProcedureCount()", "main.pb"}},
       ";main.pb\r\nDeclare ProcedureCount()\r\n"},
      {"a header names the file as it is",
       {{"Procedure Tool()", "MyProcedures.pbi"}, {"Procedure Run()", "Main.pb"}},
       ";Main.pb\r\nDeclare Run()\r\n; Declares from: MyProcedures.pbi\r\nDeclare Tool()\r\n"},
      {"calling-convention suffixes and types stay",
       {{"ProcedureDLL Foo()", "m.pb"},
        {"ProcedureC.l Bar(x)", "m.pb"},
        {"ProcedureCDLL.s Baz()", "m.pb"}},
       ";m.pb\r\nDeclareC.l Bar(x)\r\nDeclareCDLL.s Baz()\r\nDeclareDLL Foo()\r\n"},
      {"the space left before a cut comment stays",
       {{"Procedure Foo(a) ", "m.pb"}},
       ";m.pb\r\nDeclare Foo(a) \r\n"},
      {"bytes compare unsigned: a Latin-1 letter after Z",
       {{"Procedure \xC4rger()", "m.pb"}, {"Procedure Zoo()", "m.pb"}},
       ";m.pb\r\nDeclare Zoo()\r\nDeclare \xC4rger()\r\n"},
      {"three groups, the middle one interleaved in the input",
       {{"Procedure C()", "c.pb"},
        {"Procedure B2()", "b.pb"},
        {"Procedure A()", "a.pb"},
        {"Procedure B1()", "b.pb"}},
       ";a.pb\r\nDeclare A()\r\n; Declares from: b.pb\r\nDeclare B1()\r\nDeclare B2()\r\n"
       "; Declares from: c.pb\r\nDeclare C()\r\n"},
  };
  for (Case& c : cases) {
    EXPECT_EQ(CopyDeclareBlock(c.list), c.want) << c.name;
  }
}

TEST(CopyDeclareBlock, LeavesHeaderEntriesInTheList) {
  DeclareList list{{"Procedure Zeta(a)", "main.pb"},
                   {"Procedure.i Alpha()", "main.pb"},
                   {"Procedure Setup(x)", "lib.pbi"}};
  CopyDeclareBlock(list);
  const std::vector<std::pair<std::string, std::string>> want{{";lib.pbi", ""},
                                                              {"Procedure Setup(x)", "lib.pbi"},
                                                              {"; Declares from: main.pb", ""},
                                                              {"Procedure Zeta(a)", "main.pb"},
                                                              {"Procedure.i Alpha()", "main.pb"}};
  ASSERT_EQ(list.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(list[i].DefinitionLine, want[i].first) << i;
    EXPECT_EQ(list[i].FileName, want[i].second) << i;
  }
}

TEST(CopyDeclareBlock, EmptyListGivesNothing) {
  DeclareList list;
  EXPECT_EQ(CopyDeclareBlock(list), "");
  EXPECT_TRUE(list.empty());
}

// ---------------------------------------------------------------------------
// The all-calls listing, on small programs written to a scratch folder

// Header row, call row and closing row as the listing builds them.
Row Header(const std::string& line, const std::string& definition, const std::string& count,
           const std::string& file) {
  Row row;
  row.cells = {line, definition, count, "", file};
  row.background = kHeaderGrey;
  return row;
}
Row Call(const std::string& line, const std::string& text, const std::string& in,
         const std::string& file) {
  Row row;
  row.cells = {line, text, "", in, file};
  return row;
}
Row Closing() {
  return Row{};
}
Row Marked(Row header) {
  header.cellBackground[kLine] = kCalledBeforeRed;
  return header;
}

std::string Describe(const Row& row) {
  std::string text;
  for (const std::string& cell : row.cells) text += "[" + cell + "]";
  if (row.background) text += " bg";
  if (row.cellBackground[kLine]) text += " red-line";
  if (row.text[kCalls]) text += " red-text";
  return text;
}

void ExpectRows(const MemoryList& list, const std::vector<Row>& want) {
  ASSERT_EQ(list.Rows().size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(list.Rows()[i], want[i])
        << "row " << i << ": " << Describe(list.Rows()[i]) << " want " << Describe(want[i]);
  }
}

// main.pb: A is called above its definition and calls B, defined below A,
// so both need a declaration.
class TwoProcedures : public ::testing::Test {
 protected:
  void SetUp() override {
    set_ = {SourceFileEntry{folder_.Write("main.pb",
                                          "A()\n"
                                          "Procedure A()\n"
                                          "  B()\n"
                                          "EndProcedure\n"
                                          "Procedure B()\n"
                                          "EndProcedure\n"),
                            "", 0, kNoParent}};
    index_ = {ProcedureEntry{"Procedure A()", "main.pb", 2, 0},
              ProcedureEntry{"Procedure B()", "main.pb", 5, 0}};
  }

  std::vector<std::string> Run(ScanControl& control) {
    pages_.OpenResultPage("", "All Procedure-Calls...");
    pages_.RefreshPageSelector();
    std::vector<std::string> clipboard;
    ListAllProcedureCalls(index_, set_, pages_, control, declares_,
                          [&](const std::string& text) { clipboard.push_back(text); });
    return clipboard;
  }
  const MemoryList& Page(std::size_t k) const { return pages_.Pages().at(k)->List; }

  ScratchFolder folder_;
  SourceSet set_;
  ProcedureIndex index_;
  MemoryPages pages_;
  DeclareList declares_;
};

TEST_F(TwoProcedures, ListsOneBlockPerProcedure) {
  RunToEnd control;
  const std::vector<std::string> clipboard = Run(control);
  ExpectRows(Page(0),
             {Marked(Header("2", "Procedure A()", "1", "main.pb")), Call("1", "A()", "", "main.pb"),
              Closing(), Marked(Header("5", "Procedure B()", "1", "main.pb")),
              Call("3", "B()", "2 Procedure A()", "main.pb"), Closing()});
  // The last call row stays selected; closing rows do not take the selection.
  EXPECT_EQ(Page(0).Selected(), std::optional<std::size_t>(4));
  EXPECT_EQ(pages_.Pages()[0]->BlockRow, 3);
  EXPECT_EQ(clipboard, std::vector<std::string>{";main.pb\r\nDeclare A()\r\nDeclare B()\r\n"});
}

TEST_F(TwoProcedures, StopDuringTheSecondProcedureKeepsItsBlockIncomplete) {
  // Six lines per procedure: the ninth check is line 3 of the second scan.
  StopAfterLines control(9);
  const std::vector<std::string> clipboard = Run(control);
  ExpectRows(Page(0),
             {Marked(Header("2", "Procedure A()", "1", "main.pb")), Call("1", "A()", "", "main.pb"),
              Closing(), Header("5", "Procedure B()", "", "main.pb"),
              Call("3", "B()", "2 Procedure A()", "main.pb")});
  EXPECT_EQ(control.linesChecked, 9);
  EXPECT_FALSE(control.stopEnabled);
  ASSERT_EQ(declares_.size(), 2u);
  EXPECT_EQ(declares_[1].DefinitionLine, "Procedure A()");
  EXPECT_EQ(clipboard, std::vector<std::string>{";main.pb\r\nDeclare A()\r\n"});
}

// The window draws while the files are read, before the first row.
TEST_F(TwoProcedures, KeepsTheWindowAliveWhileReadingTheFiles) {
  struct CountingControl : RunToEnd {
    void KeepAlive() override { ++keepAlives; }
    int keepAlives = 0;
  } control;
  Run(control);
  EXPECT_GE(control.keepAlives, 1);
}

TEST_F(TwoProcedures, StopBeforeAnyMarkLeavesTheClipboardAlone) {
  StopAfterLines control(2);
  const std::vector<std::string> clipboard = Run(control);
  ExpectRows(Page(0),
             {Header("2", "Procedure A()", "", "main.pb"), Call("1", "A()", "", "main.pb")});
  EXPECT_TRUE(declares_.empty());
  EXPECT_TRUE(clipboard.empty());
  EXPECT_FALSE(control.stopEnabled);
}

TEST_F(TwoProcedures, SecondRunGivesTheSameRowsAndAFreshDeclareList) {
  RunToEnd control;
  const std::vector<std::string> first = Run(control);
  const std::vector<std::string> second = Run(control);
  ASSERT_EQ(pages_.Pages().size(), 2u);
  EXPECT_EQ(Page(1).Rows(), Page(0).Rows());
  EXPECT_EQ(pages_.Pages()[1]->BlockRow, 3);
  EXPECT_EQ(second, first);
  ASSERT_EQ(declares_.size(), 3u);
  EXPECT_EQ(declares_[0].DefinitionLine, ";main.pb");
  EXPECT_EQ(declares_[1].DefinitionLine, "Procedure A()");
  EXPECT_EQ(declares_[2].DefinitionLine, "Procedure B()");
}

// Which procedures need a declaration, one small program per case. The set
// entries name their parent and include line, so calls in include files are
// placed in compile order.
TEST(ListAllProcedureCalls, MarksWhatTheCompilerMeetsBeforeTheDefinition) {
  struct File {
    std::string name;
    std::string text;
    std::size_t parent;
    std::int64_t includeLine;
  };
  struct Case {
    const char* name;
    std::vector<File> files;
    ProcedureEntry procedure;
    std::int64_t count;
    bool marked;
  } cases[] = {
      {"call above the definition",
       {{"main.pb", "Foo(1)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 2, 0},
       1,
       true},
      {"Declare above the call",
       {{"main.pb", "Declare Foo(a)\nFoo(1)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 3, 0},
       2,
       false},
      {"Declare.i and DeclareCDLL count as declarations",
       {{"main.pb", "DeclareCDLL.i Foo(a)\nFoo(1)\nProcedure.i Foo(a)\nEndProcedure\n", kNoParent,
         0}},
       {"Procedure.i Foo(a)", "main.pb", 3, 0},
       2,
       false},
      {"Declare followed by a TAB is a declaration too",
       {{"main.pb", "Declare\tFoo(a)\nFoo(1)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 3, 0},
       2,
       false},
      {"Declare between the call and the definition comes too late",
       {{"main.pb", "Foo(1)\nDeclare Foo(a)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 3, 0},
       2,
       true},
      {"a Declare line alone never marks",
       {{"main.pb", "Declare Foo(a)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 2, 0},
       1,
       false},
      {"a name that only begins with Declare is a call",
       {{"main.pb", "Declared = Foo(1)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 2, 0},
       1,
       true},
      {"recursive call below the definition",
       {{"main.pb", "Procedure Foo(a)\n  Foo(a - 1)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 1, 0},
       1,
       false},
      {"ProcedureC definition counts as its own call, unmarked",
       {{"main.pb", "ProcedureC Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"ProcedureC Foo(a)", "main.pb", 1, 0},
       1,
       false},
      {"call on a low line of a file included below the definition",
       {{"main.pb", "Procedure Foo(a)\nEndProcedure\nXIncludeFile \"inc.pbi\"\n", kNoParent, 0},
        {"inc.pbi", "Foo(1)\n", 0, 3}},
       {"Procedure Foo(a)", "main.pb", 1, 0},
       1,
       false},
      {"call in a file included above the definition",
       {{"main.pb", "XIncludeFile \"inc.pbi\"\n\n\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0},
        {"inc.pbi", "\n\n\n\n\n\nFoo(1)\n", 0, 1}},
       {"Procedure Foo(a)", "main.pb", 4, 0},
       1,
       true},
      {"definition in an include file, call in the main file after the include",
       {{"main.pb", "XIncludeFile \"inc.pbi\"\nFoo(1)\n", kNoParent, 0},
        {"inc.pbi", "\n\n\nProcedure Foo(a)\nEndProcedure\n", 0, 1}},
       {"Procedure Foo(a)", "inc.pbi", 4, 1},
       1,
       false},
      {"call in another letter case above the definition",
       {{"main.pb", "foo(1)\nProcedure Foo(a)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure Foo(a)", "main.pb", 2, 0},
       1,
       true},
      {"TAB after the keyword still names the procedure",
       {{"main.pb", "Foo(1)\nProcedure\tFoo(a, b)\nEndProcedure\n", kNoParent, 0}},
       {"Procedure\tFoo(a, b)", "main.pb", 2, 0},
       2,
       true},
      {"a definition line without a name matches no call",
       {{"main.pb", "x = Bar(1)\nProcedure.i\nEndProcedure\n", kNoParent, 0}},
       {"Procedure.i", "main.pb", 2, 0},
       0,
       false},
  };
  for (const Case& c : cases) {
    ScratchFolder folder;
    SourceSet set;
    for (const File& f : c.files) {
      set.push_back(SourceFileEntry{folder.Write(f.name, f.text),
                                    f.parent == kNoParent ? "" : c.files[f.parent].name,
                                    f.includeLine, f.parent});
    }
    MemoryPages pages;
    pages.OpenResultPage("", "All Procedure-Calls...");
    RunToEnd control;
    DeclareList declares;
    std::string clipboard;
    ListAllProcedureCalls({c.procedure}, set, pages, control, declares,
                          [&](const std::string& text) { clipboard = text; });
    const std::vector<Row>& rows = pages.CurrentPage().List.Rows();
    ASSERT_GE(rows.size(), 2u) << c.name;
    EXPECT_EQ(rows[0].cells[kCount], std::to_string(c.count)) << c.name;
    EXPECT_EQ(rows[0].cellBackground[kLine].has_value(), c.marked) << c.name;
    EXPECT_EQ(rows[0].background, c.count == 0 ? kNeverCalledOrange : kHeaderGrey) << c.name;
    EXPECT_EQ(declares.size(), c.marked ? 2u : 0u) << c.name;
    EXPECT_EQ(clipboard.empty(), !c.marked) << c.name;
  }
}

TEST(ListAllProcedureCalls, RowsShowCaseDifferenceIndentationAndUnreadableFiles) {
  ScratchFolder folder;
  const std::string main = folder.Write("main.pb",
                                        "Procedure Bar()\n"
                                        "\t \tfoo(1) ; not Foo(2)\n"
                                        "EndProcedure : Foo(3)\n"
                                        "Procedure Foo(a = Foo(0))\n"
                                        "EndProcedure\r\n"
                                        "x = MyFoo(1) + Foo (4)\n");
  const SourceSet set{SourceFileEntry{main, "", 0, kNoParent},
                      SourceFileEntry{folder.Path("missing.pbi"), "main.pb", 7, 0},
                      SourceFileEntry{folder.Root(), "main.pb", 8, 0}};
  MemoryPages pages;
  pages.OpenResultPage("", "All Procedure-Calls...");
  RunToEnd control;
  DeclareList declares;
  ListAllProcedureCalls({ProcedureEntry{"Procedure Foo(a = Foo(0))", "main.pb", 4, 0}}, set, pages,
                        control, declares, nullptr);
  Row caseDiffers = Call("2", "foo(1) ", "1 Procedure Bar()", "main.pb");
  caseDiffers.text[kCalls] = Rgb{220, 0, 0};
  ExpectRows(pages.CurrentPage().List,
             {Marked(Header("4", "Procedure Foo(a = Foo(0))", "3", "main.pb")), caseDiffers,
              Call("3", "EndProcedure : Foo(3)", "", "main.pb"),
              Call("6", "x = MyFoo(1) + Foo(4)", "", "main.pb"), Closing()});
  ASSERT_EQ(declares.size(), 2u);
}

TEST(ListAllProcedureCalls, EmptyIndexLeavesThePageAndClipboardEmpty) {
  MemoryPages pages;
  pages.OpenResultPage("", "All Procedure-Calls...");
  StopAfterLines control(0);
  DeclareList declares{{"Procedure Old()", "old.pb"}};
  bool clipboardSet = false;
  ListAllProcedureCalls({}, SourceSet{}, pages, control, declares,
                        [&](const std::string&) { clipboardSet = true; });
  EXPECT_TRUE(pages.CurrentPage().List.Rows().empty());
  EXPECT_TRUE(declares.empty());
  EXPECT_FALSE(clipboardSet);
  EXPECT_FALSE(control.stopEnabled);
}

}  // namespace
}  // namespace pbz
