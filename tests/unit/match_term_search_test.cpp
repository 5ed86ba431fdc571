#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listing_fixture.h"
#include "match/term_search.h"

namespace pbz {
namespace {

class TermSearchTest : public ListingTest {
 protected:
  void SetUp() override {
    // The flow of start-up and Search: the "Procedures" page, then the calls
    // page that found nothing.
    pages_.OpenResultPage("", "Procedures");
    pages_.RefreshPageSelector();
    pages_.OpenResultPage(kKindProc, "Foo(");
    pages_.RefreshPageSelector();
  }
};

TEST_F(TermSearchTest, TakesOverTheCurrentPageAndAppends) {
  Add("main.pb",
      "; Foo\n"
      "\n"
      "Procedure Bar()\n"
      "  Static Foo\n"
      "EndProcedure\n"
      "Foo = 1\n");
  Row earlier;
  earlier.cells[kCalls] = "kept";
  pages_.CurrentList().AddRow(earlier);
  RecordingControl control;
  TermSearchListing("Foo", set_, pages_, control);

  ASSERT_EQ(pages_.Pages().size(), 2u);
  const MemoryPages::Page& page = pages_.CurrentPage();
  EXPECT_EQ(page.Kind, "Terms: ");
  EXPECT_EQ(page.Title, "Foo(");
  EXPECT_EQ(page.Header, "Terms: Foo...");  // the term, not the title
  EXPECT_TRUE(page.Visible);
  // The listing leaves the selector to the next refresh.
  EXPECT_EQ(pages_.SelectorEntries(), (Lines{"Procedures(", "Foo("}));
  EXPECT_EQ(Describe(page),
            (Lines{"|kept||||", kSep, "4|Static Foo||     3 Procedure Bar()|main.pb|255,255,190",
                   "6|Foo = 1|||main.pb|255,255,240"}));
  EXPECT_EQ(page.List.Selected(), 3u);
  EXPECT_EQ(control.started, 1);
  EXPECT_EQ(control.ended, 1);
  EXPECT_EQ(control.checks, 6);  // comment and blank lines included
}

TEST_F(TermSearchTest, StopDuringTheSecondFileKeepsRowsAndStop) {
  Add("a.pb", "Foo = 1\nx = 2\n");
  Add("b.pbi", "Global Foo\nFoo + 1\nFoo + 2\n");
  Add("c.pbi", "Foo + 3\n");
  RecordingControl control(/*stopAt=*/4);  // the second line of b.pbi
  TermSearchListing("Foo", set_, pages_, control);
  EXPECT_EQ(Describe(pages_.CurrentPage()),
            (Lines{kSep, "1|Foo = 1|||a.pb|255,255,240", kSep, "1|Global Foo|||b.pbi|145,255,255",
                   "2|Foo + 1|||b.pbi|195,255,255"}));
  EXPECT_EQ(control.ended, 0);  // Stop stays enabled
  EXPECT_EQ(control.checks, 4);

  StopAfterLines stop(4);
  TermSearchListing("Foo", set_, pages_, stop);
  EXPECT_TRUE(stop.stopEnabled);
}

TEST_F(TermSearchTest, EmptyTermMatchesNothing) {
  Add("main.pb", "Foo = 1\n\n");
  RecordingControl control;
  TermSearchListing("", set_, pages_, control);
  EXPECT_EQ(pages_.CurrentPage().List.RowCount(), 0u);
  EXPECT_EQ(pages_.CurrentPage().Kind, "Terms: ");
  EXPECT_EQ(control.ended, 1);
}

TEST_F(TermSearchTest, LongLineNumbersAreNotCut) {
  Add("big.pb", std::string(1000000, '\n') + "Procedure Big()\n  Foo()\nEndProcedure\n");
  RunToEnd control;
  TermSearchListing("Foo", set_, pages_, control);
  ASSERT_EQ(pages_.CurrentPage().List.RowCount(), 2u);
  EXPECT_EQ(pages_.CurrentPage().List.Rows()[1].cells[kFunction], "1000001 Procedure Big()");
}

}  // namespace
}  // namespace pbz
