// The real window under load: pages of 100,000 rows, hundreds of Open and
// Back cycles with the heap measured around them, and Stop clicked during
// every kind of listing.
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/gtk_main_window.h"
#include "core/text.h"
#include "pages/gtk_page_stack.h"
#include "window_fixture.h"

namespace pbz {
namespace {

// Handles what is pending now (drawing included) without waiting for more.
void Drain() {
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

struct MemoryFigures {
  std::size_t heapBytes = 0;  // bytes handed out by malloc and not freed
  std::size_t residentBytes = 0;
};

MemoryFigures MeasureMemory() {
  MemoryFigures figures;
  figures.heapBytes = mallinfo2().uordblks;
  std::ifstream statm("/proc/self/statm");
  std::size_t size = 0;
  std::size_t resident = 0;
  if (statm >> size >> resident) {
    figures.residentBytes = resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  }
  return figures;
}

// Under valgrind or a sanitizer malloc is replaced and mallinfo2 reports
// nothing; the heap bounds are then left to that tool.
bool HeapMeasured(const MemoryFigures& figures) {
  if (figures.heapBytes != 0) return true;
  std::printf("[stress] no heap figures (malloc is replaced); bounds not checked\n");
  return false;
}

double KiB(double bytes) {
  return bytes / 1024.0;
}

// PBZ_STRESS_CYCLES overrides the number of measured cycles (a short run
// under valgrind, say).
int CyclesFromEnvironment(int standard) {
  const char* text = std::getenv("PBZ_STRESS_CYCLES");
  if (!text || !*text) return standard;
  const std::int64_t cycles = TextToInteger(text);
  return cycles > 0 && cycles < 100000 ? static_cast<int>(cycles) : standard;
}

double Seconds(gint64 since) {
  return static_cast<double>(g_get_monotonic_time() - since) / G_USEC_PER_SEC;
}

bool MessageBoxOpen() {
  GList* windows = gtk_window_list_toplevels();
  bool open = false;
  for (GList* item = windows; item && !open; item = item->next) {
    GtkWidget* widget = GTK_WIDGET(item->data);
    open = GTK_IS_MESSAGE_DIALOG(widget) && gtk_widget_get_visible(widget);
  }
  g_list_free(windows);
  return open;
}

// Clicks Stop from a timer, so the click lands inside the running listing's
// own event poll, as a user's click would. It clicks whenever a listing runs,
// Stop is enabled, no message box is open and the current page is of the
// kind given for the next stop (one kind per listing to stop, in order), and
// answers the "Abbruch!" boxes from its first click on, however long a
// listing takes to reach its first poll. A click between two listings of one
// action is reset by the next listing's start, so it clicks again there.
class StopClicker {
 public:
  StopClicker(MainWindow& window, std::vector<std::string> kinds)
      : window_(window), kinds_(std::move(kinds)) {
    source_ = g_timeout_add(5, Tick, this);
  }
  ~StopClicker() {
    if (source_) g_source_remove(source_);
  }
  StopClicker(const StopClicker&) = delete;
  StopClicker& operator=(const StopClicker&) = delete;

  int Clicks() const { return clicks_; }
  // Title and text of each box answered.
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  static gboolean Tick(gpointer data) {
    auto* self = static_cast<StopClicker*>(data);
    if (self->messages_.size() >= self->kinds_.size()) {
      self->source_ = 0;
      return FALSE;
    }
    MainWindow& window = self->window_;
    GtkWidget* stop = window.Button(ButtonId::kStop);
    const ResultPage* page = window.Pages().CurrentPage();
    if (window.ListingRunning() && gtk_widget_get_sensitive(stop) && !MessageBoxOpen() && page &&
        page->Kind == self->kinds_[self->messages_.size()]) {
      if (!self->answer_) {
        self->answer_.emplace(IsMessageBox, ConfirmMessage(&self->messages_),
                              static_cast<int>(self->kinds_.size()));
      }
      gtk_button_clicked(GTK_BUTTON(stop));
      ++self->clicks_;
    }
    return TRUE;
  }

  MainWindow& window_;
  std::vector<std::string> kinds_;
  std::vector<std::string> messages_;
  std::optional<DialogScript> answer_;
  int clicks_ = 0;
  guint source_ = 0;
};

// A program with `scale` + 1 procedures, `scale` calls of Target() and
// `scale` lines using the variable x, so every listing has about that many
// rows.
std::string LargeProgram(int scale) {
  std::string text = "Procedure Target()\nEndProcedure\n";
  text.reserve(static_cast<std::size_t>(scale) * 64);
  for (int k = 0; k < scale; ++k) {
    const std::string name = "P" + std::to_string(k);
    text += "Procedure " + name + "()\n  Target() : x = " +
            (k == 0 ? std::string("1") : "P" + std::to_string(k - 1) + "()") + "\nEndProcedure\n";
  }
  return text;
}

constexpr int kScale = 100000;
// Enough for every listing to poll many times before its end; all calls
// grows faster than linearly with the number of procedures.
constexpr int kStopScale = 20000;

class StressTest : public WindowTest {
 protected:
  // The chooser answers with chosen_, the search box with term_; message
  // boxes are real unless countMessages is set.
  ShellServices ScriptedServices(bool countMessages) {
    ShellServices services = DefaultShellServices();
    services.ChooseMainFile = [this](GtkWindow*) { return chosen_; };
    services.AskSearchTerm = [this](GtkWindow*, const std::string&) { return term_; };
    if (countMessages) {
      services.ShowMessage = [this](GtkWindow*, const std::string& text) {
        unexpectedMessages_.push_back(text);
      };
    }
    return services;
  }

  void Click(ButtonId id) { gtk_button_clicked(GTK_BUTTON(Button(id))); }

  // The newest row is selected and scrolled into view once drawn.
  void ExpectNewestRowShown(std::size_t rows) {
    Pump(100);
    EXPECT_EQ(Current().List->SelectedIndex(), std::optional<std::size_t>(rows - 1));
    GtkTreePath* start = nullptr;
    GtkTreePath* end = nullptr;
    ASSERT_TRUE(gtk_tree_view_get_visible_range(GTK_TREE_VIEW(Current().ResultList), &start, &end));
    EXPECT_EQ(gtk_tree_path_get_indices(end)[0], static_cast<gint>(rows - 1));
    gtk_tree_path_free(start);
    gtk_tree_path_free(end);
  }

  std::string chosen_;
  std::string term_;
  std::vector<std::string> unexpectedMessages_;
};

TEST_F(StressTest, PagesOfHundredThousandRows) {
  state_.MainFile = Write("large.pb", LargeProgram(kScale));
  Build(ScriptedServices(true));
  gint64 started = g_get_monotonic_time();
  ASSERT_TRUE(window_->StartUp("("));
  std::printf("[stress] procedures page, %d rows: %.2f s\n", kScale + 1, Seconds(started));
  ASSERT_EQ(Current().List->RowCount(), static_cast<std::size_t>(kScale + 1));
  EXPECT_EQ(Current().List->Rows().back().cells[kFunction],
            "Procedure P" + std::to_string(kScale - 1) + "()");
  ExpectNewestRowShown(kScale + 1);

  // Scrolled to the top and drawn, then a row far down is chosen by the user.
  GtkTreeView* view = GTK_TREE_VIEW(Current().ResultList);
  GtkTreePath* top = gtk_tree_path_new_first();
  gtk_tree_view_scroll_to_cell(view, top, nullptr, FALSE, 0, 0);
  gtk_tree_path_free(top);
  Pump(50);
  GtkTreePath* middle = gtk_tree_path_new_from_indices(kScale / 2, -1);
  gtk_tree_view_set_cursor(view, middle, nullptr, FALSE);
  gtk_tree_path_free(middle);
  Pump(50);
  EXPECT_EQ(Current().List->SelectedIndex(), std::optional<std::size_t>(kScale / 2));

  // A term page of as many rows on top of it, closed, then opened and closed
  // once more. GLib's slice allocator keeps what the first page freed for
  // the next one (G_SLICE=always-malloc gives it back at once), so the heap
  // after the second close is compared with the heap after the first.
  malloc_trim(0);
  const MemoryFigures before = MeasureMemory();
  std::vector<MemoryFigures> opened;
  std::vector<MemoryFigures> closed;
  term_ = "x";
  for (int round = 1; round <= 2; ++round) {
    SCOPED_TRACE(round);
    started = g_get_monotonic_time();
    Click(ButtonId::kSearch);
    std::printf("[stress] term page, %d hits: %.2f s\n", kScale, Seconds(started));
    ASSERT_EQ(Pages().PageCount(), 2u);
    EXPECT_EQ(Current().Kind, "Terms: ");
    // A separator row, then one row per line using x.
    ASSERT_EQ(Current().List->RowCount(), static_cast<std::size_t>(kScale + 1));
    EXPECT_EQ(Current().List->Rows().back().cells[kLine], std::to_string(3 * kScale + 1));
    ExpectNewestRowShown(kScale + 1);
    opened.push_back(MeasureMemory());
    started = g_get_monotonic_time();
    Click(ButtonId::kBack);
    Drain();
    std::printf("[stress] closing it: %.2f s\n", Seconds(started));
    malloc_trim(0);
    closed.push_back(MeasureMemory());
    ASSERT_EQ(Pages().PageCount(), 1u);
    EXPECT_EQ(Current().List->RowCount(), static_cast<std::size_t>(kScale + 1));
  }
  const auto heap = [](const MemoryFigures& figures) {
    return static_cast<double>(figures.heapBytes);
  };
  const auto resident = [](const MemoryFigures& figures) {
    return KiB(static_cast<double>(figures.residentBytes));
  };
  const double page = heap(opened[0]) - heap(before);
  const double kept = heap(closed[1]) - heap(closed[0]);
  std::printf(
      "[stress] heap: %.0f KiB before, %.0f KiB with the term page (%+.0f KiB), %.0f KiB after "
      "closing it; %.0f KiB with the second one, %.0f KiB after closing it (%+.0f KiB); "
      "resident %.0f / %.0f / %.0f / %.0f / %.0f KiB\n",
      KiB(heap(before)), KiB(heap(opened[0])), KiB(page), KiB(heap(closed[0])),
      KiB(heap(opened[1])), KiB(heap(closed[1])), KiB(kept), resident(before), resident(opened[0]),
      resident(closed[0]), resident(opened[1]), resident(closed[1]));
  if (HeapMeasured(before)) {
    EXPECT_GT(page, 10.0 * 1024 * 1024);  // the measure sees a page at all
    EXPECT_LT(kept, page / 20) << "a closed page keeps its rows";
  }
  EXPECT_TRUE(unexpectedMessages_.empty());
}

TEST_F(StressTest, StopDuringEveryListing) {
  const std::string large = Write("large.pb", LargeProgram(kStopScale));
  state_.MainFile = large;
  Build(ScriptedServices(false));
  ASSERT_TRUE(window_->StartUp("("));
  ASSERT_EQ(Current().List->RowCount(), static_cast<std::size_t>(kStopScale + 1));
  const int target = 0;  // "Procedure Target()" is the first row

  struct Case {
    const char* name;
    std::function<void()> start;
    std::vector<std::string> stops;  // the page kind of each listing stopped
    std::size_t pages;
    const char* kind;
    std::size_t fullRows;  // rows when run to the end; a stop leaves fewer
    bool stopEnabled;      // the calls and term listings leave Stop enabled
  };
  const std::size_t scale = kStopScale;
  const std::vector<Case> cases = {
      {"all calls", [&] { Click(ButtonId::kAllCalls); }, {""}, 2, "", 2 * scale, false},
      // A separator row, then one row per call or term line.
      {"calls after a double click",
       [&] {
         GtkTreePath* path = gtk_tree_path_new_from_indices(target, -1);
         gtk_tree_view_set_cursor(GTK_TREE_VIEW(Current().ResultList), path, nullptr, FALSE);
         gtk_tree_path_free(path);
         window_->RowDoubleClickAction();
       },
       {"Proc: "},
       2,
       "Proc: ",
       scale + 1,
       true},
      // Search first lists the calls of x() (none, to the end), then the term.
      {"term search",
       [&] {
         term_ = "x";
         Click(ButtonId::kSearch);
       },
       {"Terms: "},
       2,
       "Terms: ",
       scale + 1,
       true},
      // The stopped calls listing returns 0, so the term search follows on
      // its page and is stopped as well.
      {"calls, then terms",
       [&] {
         term_ = "Target(";
         Click(ButtonId::kSearch);
       },
       {"Proc: ", "Terms: "},
       2,
       "Terms: ",
       scale + 1,
       true},
      // Last: a stopped procedure listing leaves a partial procedure index.
      {"procedures after Open",
       [&] {
         chosen_ = large;
         Click(ButtonId::kOpen);
       },
       {""},
       1,
       "",
       scale + 1,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> messages;
    const gint64 started = g_get_monotonic_time();
    {
      StopClicker clicker(*window_, c.stops);
      c.start();
      EXPECT_GE(static_cast<std::size_t>(clicker.Clicks()), c.stops.size());
      messages = clicker.Messages();
    }
    std::printf("[stress] stop during %s: %.2f s, %zu rows listed\n", c.name, Seconds(started),
                Current().List->RowCount());
    EXPECT_EQ(messages, std::vector<std::string>(c.stops.size(), "PB Zetrolin|Abbruch!"));
    EXPECT_FALSE(window_->ListingRunning());
    ASSERT_EQ(Pages().PageCount(), c.pages);
    EXPECT_EQ(Current().Kind, c.kind);
    EXPECT_LT(Current().List->RowCount(), c.fullRows);
    EXPECT_EQ(gtk_widget_get_sensitive(Button(ButtonId::kStop)) != FALSE, c.stopEnabled);
    Pump(20);
    while (Pages().PageCount() > 1) Click(ButtonId::kBack);
    EXPECT_EQ(CurrentIndex(), 0u);
  }

  // Afterwards the window works as before: Stop outside a listing does
  // nothing, and a new main file is listed to its end.
  Click(ButtonId::kStop);
  chosen_ = ExampleMain();
  Click(ButtonId::kOpen);
  EXPECT_EQ(Pages().PageCount(), 1u);
  EXPECT_EQ(Current().List->RowCount(), 15u);
  EXPECT_FALSE(gtk_widget_get_sensitive(Button(ButtonId::kStop)));
}

// Open, three listings, Back to the first page: a cycle that leaks even one
// page (its widgets, its store or its rows) shows as heap growth.
TEST_F(StressTest, OpenAndBackCyclesGiveTheirMemoryBack) {
  state_.MainFile = ExampleMain();
  Build(ScriptedServices(true));
  ASSERT_TRUE(window_->StartUp("("));
  chosen_ = ExampleMain();
  bool failed = false;
  const auto cycle = [&] {
    Click(ButtonId::kOpen);
    Drain();
    Click(ButtonId::kAllCalls);
    Drain();
    term_ = "AddContact(";
    Click(ButtonId::kSearch);
    Drain();
    term_ = "Count";
    Click(ButtonId::kSearch);
    Drain();
    if (Pages().PageCount() != 4 || Current().Kind != "Terms: " || Current().List->Rows().empty()) {
      failed = true;
    }
    for (int k = 0; k < 3; ++k) {
      Click(ButtonId::kBack);
      Drain();
    }
    if (Pages().PageCount() != 1 || Current().List->RowCount() != 15) failed = true;
  };
  // Warm-up: GTK's one-time caches (fonts, stock icons, type classes) and
  // the allocator's free lists settle.
  for (int k = 0; k < 20 && !failed; ++k) cycle();
  const int cycles = CyclesFromEnvironment(200);
  malloc_trim(0);
  const MemoryFigures before = MeasureMemory();
  const gint64 started = g_get_monotonic_time();
  for (int k = 0; k < cycles && !failed; ++k) cycle();
  const double seconds = Seconds(started);
  malloc_trim(0);
  const MemoryFigures after = MeasureMemory();
  ASSERT_FALSE(failed) << "a cycle did not show the pages it should";
  const double heapGrowth =
      (static_cast<double>(after.heapBytes) - static_cast<double>(before.heapBytes)) / cycles;
  const double residentGrowth =
      (static_cast<double>(after.residentBytes) - static_cast<double>(before.residentBytes)) /
      cycles;
  std::printf(
      "[stress] %d Open/Back cycles (4 pages each) in %.2f s; heap %.0f -> %.0f KiB "
      "(%+.0f bytes a cycle); resident %.0f -> %.0f KiB (%+.0f bytes a cycle)\n",
      cycles, seconds, KiB(static_cast<double>(before.heapBytes)),
      KiB(static_cast<double>(after.heapBytes)), heapGrowth,
      KiB(static_cast<double>(before.residentBytes)), KiB(static_cast<double>(after.residentBytes)),
      residentGrowth);
  // The list store of one small page left behind costs about 4 KiB a cycle,
  // a destroyed tree view kept alive about 900 bytes; the heap itself moves
  // by a few bytes a cycle.
  if (HeapMeasured(before)) {
    EXPECT_LT(heapGrowth, 512.0);
  }
  EXPECT_TRUE(unexpectedMessages_.empty());
}

}  // namespace
}  // namespace pbz
