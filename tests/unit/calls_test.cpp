#include "calls/calls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/row.h"
#include "listing_fixture.h"
#include "pages/page_host.h"

namespace pbz {
namespace {

class CallsTest : public ListingTest {
 protected:
  void SetUp() override {
    // The first page, as start-up leaves it.
    pages_.OpenResultPage("", "Procedures");
    pages_.RefreshPageSelector();
  }
};

TEST_F(CallsTest, WordOpensAProcPageAfterTheCurrentOne) {
  Add("main.pb",
      "Procedure Foo(a)\n"
      "EndProcedure\n"
      "Procedure.s Bar()\n"
      "  Foo(1)\n"
      "EndProcedure\n");
  Add("util.pbi", "x = foo(2)\n");
  RecordingControl control;
  const std::int64_t result = ShowProcedureCalls("Foo(a, b)", set_, pages_, control);

  ASSERT_EQ(pages_.Pages().size(), 2u);
  EXPECT_EQ(pages_.Current(), 1u);
  const MemoryPages::Page& page = *pages_.Pages()[1];
  EXPECT_EQ(page.Kind, "Proc: ");
  EXPECT_EQ(page.Title, "Foo(a, b)");
  EXPECT_EQ(page.Header, "Proc: Foo(a, b)...");
  EXPECT_TRUE(page.Visible);
  EXPECT_FALSE(pages_.Pages()[0]->Visible);
  EXPECT_EQ(pages_.SelectorEntries(), (Lines{"Procedures(", "Foo("}));
  EXPECT_EQ(Describe(page), (Lines{kSep, "4|Foo(1)||     3 Procedure.s Bar()|main.pb|255,255,230",
                                   kSep, "1|x = foo(2)|||util.pbi|185,255,255|red"}));
  EXPECT_EQ(result, 4);
  EXPECT_EQ(page.List.Selected(), 3u);
  EXPECT_EQ(control.started, 1);
  EXPECT_EQ(control.ended, 1);
  EXPECT_EQ(control.checks, 6);  // every line
}

TEST_F(CallsTest, SelectorListsThePageWhileTheScanRuns) {
  Add("main.pb", "Foo()\n");
  RecordingControl control;
  std::vector<std::string> seen;
  control.onCheck = [&] { seen = pages_.SelectorEntries(); };
  ListProcedureCalls("Foo()", set_, pages_, control);
  EXPECT_EQ(seen, (Lines{"Procedures(", "Foo("}));
}

TEST_F(CallsTest, NeverCalledLeavesAnEmptyPageAndZero) {
  Add("main.pb", "Procedure Foo()\nEndProcedure\n");
  RecordingControl control;
  EXPECT_EQ(ShowProcedureCalls("Foo(", set_, pages_, control), 0);
  ASSERT_EQ(pages_.Pages().size(), 2u);
  EXPECT_EQ(pages_.CurrentPage().List.RowCount(), 0u);
  EXPECT_TRUE(pages_.CurrentPage().Visible);
  EXPECT_EQ(control.ended, 1);
}

TEST_F(CallsTest, SelectedRowNamesTheCaller) {
  Add("main.pb",
      "Procedure.s Bar(a, b)\n"
      "  Foo(1)\n"
      "EndProcedure\n"
      "Bar(1, 2)\n"
      "x = Bar (3, 4)\n");
  Row selected;
  selected.cells[kLine] = "2";
  selected.cells[kFunction] = "     1 Procedure.s Bar(a, b)";
  pages_.CurrentList().AddRow(selected);
  RecordingControl control;
  EXPECT_EQ(ShowProcedureCalls("", set_, pages_, control), 3);
  ASSERT_EQ(pages_.Pages().size(), 2u);
  EXPECT_EQ(pages_.CurrentPage().Title, "Bar(a, b)");
  EXPECT_EQ(Describe(pages_.CurrentPage()), (Lines{kSep, "4|Bar(1, 2)|||main.pb|255,255,230",
                                                   "5|x = Bar(3, 4)|||main.pb|255,255,230"}));
}

TEST_F(CallsTest, SelectedRowWithATabAfterTheKeywordNamesTheWholeProcedure) {
  Add("main.pb",
      "Procedure.s\tBar(a, b)\n"
      "EndProcedure\n"
      "Bar(1, 2)\n");
  Row selected;
  selected.cells[kLine] = "     1";
  selected.cells[kFunction] = "Procedure.s\tBar(a, b)";
  pages_.CurrentList().AddRow(selected);
  RecordingControl control;
  EXPECT_EQ(ShowProcedureCalls("", set_, pages_, control), 2);
  EXPECT_EQ(pages_.CurrentPage().Title, "Bar(a, b)");
}

TEST_F(CallsTest, SelectedRowWithoutAProcedureStartLeadsNowhere) {
  Add("main.pb", "Foo()\nProcedureReturn 1\n");
  const char* functionCells[] = {"", "    12 ProcedureReturn 1", "     3 ProcedureC Foo()",
                                 "     3 Procedure", "     3 procedure Foo()"};
  for (const char* cell : functionCells) {
    MemoryPages pages;
    pages.OpenResultPage("", "Procedures");
    Row row;
    row.cells[kLine] = "1";
    row.cells[kFunction] = cell;
    pages.CurrentList().AddRow(row);
    RecordingControl control;
    EXPECT_EQ(ShowProcedureCalls("", set_, pages, control), 0) << cell;
    EXPECT_EQ(pages.Pages().size(), 1u) << cell;
    EXPECT_TRUE(pages.CurrentPage().Visible) << cell;
    EXPECT_EQ(control.started, 0) << cell;
  }
  // No row selected at all.
  RecordingControl control;
  EXPECT_EQ(ShowProcedureCalls("", set_, pages_, control), 0);
  EXPECT_EQ(pages_.Pages().size(), 1u);
}

TEST_F(CallsTest, StopDuringTheSecondFileKeepsRowsAndStop) {
  Add("a.pb", "Foo(1)\nx = 1\nFoo(2)\n");
  Add("b.pbi", "Foo(3)\nFoo(4)\nFoo(5)\n");
  Add("c.pbi", "Foo(6)\n");
  RecordingControl control(/*stopAt=*/5);  // the second line of b.pbi
  EXPECT_EQ(ShowProcedureCalls("Foo", set_, pages_, control), 0);
  EXPECT_EQ(Describe(pages_.CurrentPage()),
            (Lines{kSep, "1|Foo(1)|||a.pb|255,255,230", "3|Foo(2)|||a.pb|255,255,230", kSep,
                   "1|Foo(3)|||b.pbi|185,255,255", "2|Foo(4)|||b.pbi|185,255,255"}));
  EXPECT_EQ(control.ended, 0);  // Stop stays enabled
  EXPECT_EQ(control.checks, 5);
  EXPECT_TRUE(pages_.CurrentPage().Visible);

  // The same through the shared test control.
  MemoryPages pages;
  StopAfterLines stop(5);
  EXPECT_EQ(ListProcedureCalls("Foo", set_, pages, stop), 0);
  EXPECT_TRUE(stop.stopEnabled);
  EXPECT_EQ(pages.CurrentPage().List.RowCount(), 6u);
}

TEST_F(CallsTest, NamelessProcedureListsNothing) {
  Add("main.pb", "x = (1 + 2)\nIf (a) : EndIf\n");
  RecordingControl control;
  EXPECT_EQ(ShowProcedureCalls("((", set_, pages_, control), 0);
  ASSERT_EQ(pages_.Pages().size(), 2u);
  EXPECT_EQ(pages_.CurrentPage().Title, "((");
  EXPECT_EQ(pages_.CurrentPage().List.RowCount(), 0u);
  EXPECT_EQ(control.started, 1);
  EXPECT_EQ(control.ended, 1);
}

TEST_F(CallsTest, LongLineNumbersAreNotCut) {
  Add("big.pb", std::string(1000000, '\n') + "Procedure Big()\n  Foo()\nEndProcedure\n");
  RunToEnd control;
  EXPECT_EQ(ListProcedureCalls("Foo", set_, pages_, control), 2);
  EXPECT_EQ(pages_.CurrentPage().List.Rows()[1].cells[kFunction], "1000001 Procedure Big()");
  EXPECT_EQ(pages_.CurrentPage().List.Rows()[1].cells[kLine], "1000002");
}

}  // namespace
}  // namespace pbz
