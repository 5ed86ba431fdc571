// The real window, driven in-process: buttons clicked, dialogs answered from
// timers, rows and colours read back from the list stores.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/gtk_about.h"
#include "app/gtk_main_window.h"
#include "calls/all_calls.h"
#include "calls/calls.h"
#include "core/text.h"
#include "match/term_search.h"
#include "pages/gtk_page_stack.h"
#include "scan/procedures.h"
#include "scan/source_set.h"
#include "window_fixture.h"

namespace pbz {
namespace {

namespace fs = std::filesystem;

// What a list shows for one row: texts and colours as the renderers get them.
struct ShownRow {
  std::array<std::string, kColumnCount> cells;
  std::string rowBackground;
  std::array<std::string, kColumnCount> background;
  std::array<std::string, kColumnCount> foreground;
  bool operator==(const ShownRow& other) const {
    return cells == other.cells && rowBackground == other.rowBackground &&
           background == other.background && foreground == other.foreground;
  }
};

std::ostream& operator<<(std::ostream& out, const ShownRow& row) {
  out << "[";
  for (const auto& cell : row.cells) out << cell << "|";
  out << " bg " << row.rowBackground << " cells";
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    out << " " << row.background[k] << "/" << row.foreground[k];
  }
  return out << "]";
}

std::string ColourOrEmpty(const std::optional<Rgb>& colour) {
  return colour ? ColourText(*colour) : "";
}

ShownRow Expected(const Row& row) {
  ShownRow shown;
  shown.rowBackground = ColourOrEmpty(row.background);
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    shown.cells[k] = ToDisplay(row.cells[k]);
    shown.background[k] =
        row.cellBackground[k] ? ColourText(*row.cellBackground[k]) : shown.rowBackground;
    shown.foreground[k] = ColourOrEmpty(row.text[k]);
  }
  return shown;
}

std::vector<ShownRow> Expected(const std::vector<Row>& rows) {
  std::vector<ShownRow> shown;
  for (const Row& row : rows) shown.push_back(Expected(row));
  return shown;
}

std::vector<ShownRow> Shown(const ResultPage& page) {
  std::vector<ShownRow> rows;
  GtkTreeModel* model = gtk_tree_view_get_model(GTK_TREE_VIEW(page.ResultList));
  GtkTreeIter iter;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
       ok = gtk_tree_model_iter_next(model, &iter)) {
    ShownRow row;
    const auto read = [&](int column) {
      gchar* value = nullptr;
      gtk_tree_model_get(model, &iter, column, &value, -1);
      std::string text = value ? value : "";
      g_free(value);
      return text;
    };
    for (int k = 0; k < static_cast<int>(kColumnCount); ++k) {
      row.cells[k] = read(kStoreText + k);
      row.background[k] = read(kStoreCellBackground + k);
      row.foreground[k] = read(kStoreCellForeground + k);
    }
    row.rowBackground = read(kStoreRowBackground);
    rows.push_back(row);
  }
  return rows;
}

std::string HeaderText(const ResultPage& page) {
  return gtk_label_get_text(GTK_LABEL(page.Header));
}

std::vector<std::string> SelectorEntries(GtkWidget* selector) {
  std::vector<std::string> entries;
  GtkTreeModel* model = gtk_combo_box_get_model(GTK_COMBO_BOX(selector));
  GtkTreeIter iter;
  for (gboolean ok = gtk_tree_model_get_iter_first(model, &iter); ok;
       ok = gtk_tree_model_iter_next(model, &iter)) {
    gchar* text = nullptr;
    gtk_tree_model_get(model, &iter, 0, &text, -1);
    entries.push_back(text ? text : "");
    g_free(text);
  }
  return entries;
}

std::pair<int, int> PositionIn(GtkWidget* widget) {
  int x = -1;
  int y = -1;
  gtk_container_child_get(GTK_CONTAINER(gtk_widget_get_parent(widget)), widget, "x", &x, "y", &y,
                          nullptr);
  return {x, y};
}

std::pair<int, int> SizeRequest(GtkWidget* widget) {
  int width = -1;
  int height = -1;
  gtk_widget_get_size_request(widget, &width, &height);
  return {width, height};
}

bool Sensitive(GtkWidget* widget) {
  return gtk_widget_get_sensitive(widget);
}

void SelectRow(const ResultPage& page, int index) {
  GtkTreePath* path = gtk_tree_path_new_from_indices(index, -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(GTK_TREE_VIEW(page.ResultList)), path);
  gtk_tree_path_free(path);
}

int RowWhere(const ResultPage& page, const std::string& line, const std::string& file) {
  const auto& rows = page.List->Rows();
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (rows[k].cells[kLine] == line && rows[k].cells[kFile] == file) return static_cast<int>(k);
  }
  return -1;
}

// A real double click with the left button on the middle of a row.
void DoubleClickRow(const ResultPage& page, int index) {
  GtkTreeView* view = GTK_TREE_VIEW(page.ResultList);
  GtkTreePath* path = gtk_tree_path_new_from_indices(index, -1);
  gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
  Pump(50);
  GdkRectangle cell{};
  gtk_tree_view_get_cell_area(view, path, gtk_tree_view_get_column(view, 1), &cell);
  gtk_tree_path_free(path);
  GdkWindow* bin = gtk_tree_view_get_bin_window(view);
  const int x = cell.x + cell.width / 2;
  const int y = cell.y + cell.height / 2;
  for (int click = 0; click < 2; ++click) {
    gdk_test_simulate_button(bin, x, y, 1, GdkModifierType(0), GDK_BUTTON_PRESS);
    gdk_test_simulate_button(bin, x, y, 1, GdkModifierType(0), GDK_BUTTON_RELEASE);
  }
  Pump(100);
}

// Reads CLIPBOARD through another X client while this process serves it.
std::string ReadClipboardElsewhere() {
  const gchar* argv[] = {"xclip", "-selection", "clipboard", "-o", nullptr};
  GPid pid = 0;
  gint out = -1;
  GError* error = nullptr;
  if (!g_spawn_async_with_pipes(
          nullptr, const_cast<gchar**>(argv), nullptr,
          GSpawnFlags(G_SPAWN_SEARCH_PATH | G_SPAWN_DO_NOT_REAP_CHILD | G_SPAWN_STDERR_TO_DEV_NULL),
          nullptr, nullptr, &pid, nullptr, &out, nullptr, &error)) {
    ADD_FAILURE() << "xclip: " << (error ? error->message : "cannot start");
    if (error) g_error_free(error);
    return {};
  }
  ::fcntl(out, F_SETFL, O_NONBLOCK);
  std::string text;
  bool exited = false;
  const gint64 end = g_get_monotonic_time() + 5 * G_USEC_PER_SEC;
  while (g_get_monotonic_time() < end) {
    char buffer[4096];
    ssize_t got;
    while ((got = ::read(out, buffer, sizeof buffer)) > 0) text.append(buffer, got);
    if (exited && got <= 0) break;
    int status = 0;
    if (!exited && ::waitpid(pid, &status, WNOHANG) == pid) exited = true;
    Pump(10);
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    ADD_FAILURE() << "xclip did not end";
  }
  ::close(out);
  g_spawn_close_pid(pid);
  return text;
}

// ---------------------------------------------------------------------------

TEST_F(WindowTest, WindowButtonsAndLabelsAsDescribed) {
  Build();
  GtkWindow* window = window_->Window();
  EXPECT_STREQ(gtk_window_get_title(window), "PB Zetrolin");
  int width = 0;
  int height = 0;
  gtk_window_get_size(window, &width, &height);
  EXPECT_EQ(width, 1000);
  EXPECT_EQ(height, 610);
  int x = 0;
  int y = 0;
  gtk_window_get_position(window, &x, &y);
  const int screenWidth = gdk_screen_get_width(gdk_screen_get_default());
  const int screenHeight = gdk_screen_get_height(gdk_screen_get_default());
  EXPECT_NEAR(x, (screenWidth - 1000) / 2, 2);
  EXPECT_NEAR(y, (screenHeight - 610) / 2, 2);
  EXPECT_TRUE(gtk_window_get_resizable(window));

  // The frame offers move, resize and close only (Motif hints: functions field).
  GdkAtom type = nullptr;
  gint format = 0;
  gint length = 0;
  guchar* data = nullptr;
  ASSERT_TRUE(gdk_property_get(gtk_widget_get_window(GTK_WIDGET(window)),
                               gdk_atom_intern("_MOTIF_WM_HINTS", FALSE), GDK_NONE, 0, 5, FALSE,
                               &type, &format, &length, &data));
  const auto* hints = reinterpret_cast<const long*>(data);
  EXPECT_EQ(hints[1], 2 | 4 | 32);  // resize, move, close
  g_free(data);

  struct Expect {
    ButtonId id;
    const char* label;
    int x, y, width, height;
    const char* stock;
    const char* tooltip;
    bool sensitive;
  } buttons[] = {
      {ButtonId::kOpen, "Open", 5, 2, 80, 28, "gtk-open",
       "Löscht vorherige Liste und öffnet neue Hauptdatei...", true},
      {ButtonId::kBack, "Back", 90, 2, 80, 28, "gtk-go-back",
       "Zeigt vorherige und schließt aktuelle Liste", false},
      {ButtonId::kJumpToLine, "Jump to Line", 175, 2, 110, 28, "gtk-jump-to",
       "Öffnet bei Bedarf den PureBasic-Editor und setzt Cursor auf Zeile der akt. Selektion...",
       true},
      {ButtonId::kAllCalls, "All Proc-Calls", 290, 2, 110, 28, "gtk-index",
       "Listet aus aktueller Hauptdatei und Includes alle Proceduren und deren Aufrufe", true},
      {ButtonId::kSearch, "Search...", 405, 2, 80, 28, "gtk-find",
       "Sucht und listet aus aktueller Datei alle Proceduren bzw. Variablen", true},
      {ButtonId::kStop, "Stop", 490, 2, 80, 28, "gtk-stop", nullptr, false},
  };
  for (const Expect& e : buttons) {
    GtkWidget* button = Button(e.id);
    SCOPED_TRACE(e.label);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(button)), e.label);
    EXPECT_EQ(PositionIn(button), std::make_pair(e.x, e.y));
    EXPECT_EQ(SizeRequest(button), std::make_pair(e.width, e.height));
    GtkWidget* image = gtk_button_get_image(GTK_BUTTON(button));
    ASSERT_TRUE(image && GTK_IS_IMAGE(image));
    gchar* stock = nullptr;
    GtkIconSize size = GTK_ICON_SIZE_INVALID;
    gtk_image_get_stock(GTK_IMAGE(image), &stock, &size);
    EXPECT_STREQ(stock, e.stock);
    EXPECT_EQ(size, GTK_ICON_SIZE_MENU);
    EXPECT_EQ(gtk_button_get_image_position(GTK_BUTTON(button)), GTK_POS_LEFT);
    gchar* tooltip = gtk_widget_get_tooltip_text(button);
    if (e.tooltip) {
      EXPECT_STREQ(tooltip, e.tooltip);
    } else {
      EXPECT_EQ(tooltip, nullptr);
    }
    g_free(tooltip);
    EXPECT_EQ(Sensitive(button), e.sensitive);
  }

  GtkWidget* label = window_->ListLabel();
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(label)), "List:");
  EXPECT_EQ(PositionIn(label), std::make_pair(572, 8));
  EXPECT_EQ(SizeRequest(label), std::make_pair(30, 24));
  gfloat xalign = 0;
  gtk_misc_get_alignment(GTK_MISC(label), &xalign, nullptr);
  EXPECT_EQ(xalign, 1.0f);

  EXPECT_EQ(PositionIn(window_->Selector()), std::make_pair(605, 2));
  EXPECT_EQ(SizeRequest(window_->Selector()), std::make_pair(150, 28));

  GtkWidget* logo = window_->LogoButton();
  ASSERT_NE(logo, nullptr);
  EXPECT_EQ(PositionIn(logo), std::make_pair(765, 2));
  EXPECT_EQ(SizeRequest(logo), std::make_pair(26, 26));
  EXPECT_EQ(gtk_button_get_label(GTK_BUTTON(logo)), nullptr);
  GdkPixbuf* picture = gtk_image_get_pixbuf(GTK_IMAGE(gtk_button_get_image(GTK_BUTTON(logo))));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(gdk_pixbuf_get_width(picture), 16);
  EXPECT_EQ(gdk_pixbuf_get_height(picture), 16);
}

TEST_F(WindowTest, FirstPageAndItsList) {
  Build();
  ASSERT_EQ(Pages().PageCount(), 1u);
  ResultPage& page = Current();
  EXPECT_EQ(HeaderText(page), "Procedures...");
  EXPECT_EQ(page.Kind, "");
  EXPECT_EQ(page.Title, "Procedures");
  EXPECT_EQ(page.BlockRow, 0);
  // The window's build refreshes nothing; start-up does.
  EXPECT_TRUE(SelectorEntries(window_->Selector()).empty());

  EXPECT_TRUE(GTK_IS_FRAME(page.Container));
  EXPECT_EQ(gtk_frame_get_shadow_type(GTK_FRAME(page.Container)), GTK_SHADOW_IN);
  EXPECT_EQ(PositionIn(page.Container), std::make_pair(0, 34));
  EXPECT_EQ(SizeRequest(page.Container), std::make_pair(1000, 610 - 36));
  EXPECT_EQ(PositionIn(page.Header), std::make_pair(5, 0));
  EXPECT_EQ(SizeRequest(page.Header), std::make_pair(800, 20));
  EXPECT_TRUE(gtk_label_get_line_wrap(GTK_LABEL(page.Header)));
  EXPECT_EQ(PositionIn(page.Scroller), std::make_pair(2, 20));
  EXPECT_EQ(SizeRequest(page.Scroller), std::make_pair(996, 610 - 58));

  GtkTreeView* view = GTK_TREE_VIEW(page.ResultList);
  EXPECT_TRUE(gtk_tree_view_get_headers_visible(view));
  EXPECT_TRUE(gtk_tree_view_get_fixed_height_mode(view));
  EXPECT_EQ(gtk_tree_selection_get_mode(gtk_tree_view_get_selection(view)), GTK_SELECTION_SINGLE);
  const char* titles[] = {"Line", "Calls", "Count", "(in) Function", "in File"};
  const int widths[] = {56, 380, 55, 300, 200};
  for (int k = 0; k < 5; ++k) {
    SCOPED_TRACE(titles[k]);
    GtkTreeViewColumn* column = gtk_tree_view_get_column(view, k);
    ASSERT_NE(column, nullptr);
    GtkWidget* header = gtk_tree_view_column_get_widget(column);
    EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(header)), titles[k]);
    PangoFontDescription* font = gtk_widget_get_modifier_style(header)->font_desc;
    ASSERT_NE(font, nullptr);
    gchar* fontName = pango_font_description_to_string(font);
    EXPECT_STREQ(fontName, "Monospace 9");
    g_free(fontName);
    EXPECT_EQ(gtk_tree_view_column_get_fixed_width(column), widths[k]);
    EXPECT_EQ(gtk_tree_view_column_get_sizing(column), GTK_TREE_VIEW_COLUMN_FIXED);
    EXPECT_TRUE(gtk_tree_view_column_get_resizable(column));
    EXPECT_FALSE(gtk_tree_view_column_get_clickable(column));
    const float align = k == 0 ? 1.0f : 0.0f;
    EXPECT_EQ(gtk_tree_view_column_get_alignment(column), align);
    GList* cells = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(column));
    ASSERT_EQ(g_list_length(cells), 1u);
    gfloat cellAlign = -1;
    g_object_get(cells->data, "xalign", &cellAlign, nullptr);
    EXPECT_EQ(cellAlign, align);
    EXPECT_EQ(StringProperty(cells->data, "font"), "Monospace 9");
    g_list_free(cells);
  }
  EXPECT_EQ(gtk_tree_view_get_column(view, 5), nullptr);
  SetColumnAlignment(view, 7, 0.5f);  // no such column: nothing happens
}

TEST_F(WindowTest, RowsCellsAndColoursReachTheList) {
  Build();
  ResultSink& list = Pages().CurrentList();
  list.AddRow(RowFromText("7"));
  Row coloured = RowFromText("12\n\n\nProcedure Foo()\nmain.pb");
  coloured.background = Rgb{255, 255, 230};
  coloured.text[kCalls] = Rgb{220, 0, 0};
  coloured.cellBackground[kLine] = Rgb{220, 0, 0};
  list.AddRow(coloured);
  list.AppendRow(RowFromText("13\n\xE4"));  // ISO-8859-15 a-umlaut, shown as UTF-8

  const std::vector<ShownRow> rows = Shown(Current());
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].cells, (std::array<std::string, 5>{"7", "", "", "", ""}));
  EXPECT_EQ(rows[0].rowBackground, "");
  EXPECT_EQ(rows[1].cells[kFunction], "Procedure Foo()");
  EXPECT_EQ(rows[1].cells[kFile], "main.pb");
  EXPECT_EQ(rows[1].rowBackground, "#ffffe6");
  EXPECT_EQ(rows[1].background[kLine], "#dc0000");
  EXPECT_EQ(rows[1].background[kFile], "#ffffe6");
  EXPECT_EQ(rows[1].foreground[kCalls], "#dc0000");
  EXPECT_EQ(rows[1].foreground[kLine], "");
  EXPECT_EQ(rows[2].cells[kCalls], "\xC3\xA4");

  // The selection follows AddRow (by the next poll), not AppendRow.
  Pages().FlushSelection();
  EXPECT_EQ(Current().List->SelectedIndex(), std::optional<std::size_t>(1));
  EXPECT_EQ(Pages().SelectedRowText(), "12 Procedure Foo()");

  Row changed = coloured;
  changed.cells[kCount] = "3";
  changed.background = Rgb{255, 185, 0};
  list.UpdateRow(1, changed);
  list.UpdateRow(99, changed);  // no such row: ignored
  EXPECT_EQ(Shown(Current())[1].cells[kCount], "3");
  EXPECT_EQ(Shown(Current())[1].rowBackground, "#ffb900");
  EXPECT_EQ(list.RowCount(), 3u);
}

TEST_F(WindowTest, BackFollowsTheEventAfterTheAction) {
  window_ = std::make_unique<MainWindow>(state_, DefaultShellServices());
  ASSERT_TRUE(window_->Build());
  EXPECT_TRUE(Sensitive(Button(ButtonId::kBack)));  // until the first event
  EXPECT_FALSE(Sensitive(Button(ButtonId::kStop)));
  SendEvent();
  EXPECT_FALSE(Sensitive(Button(ButtonId::kBack)));
  Pages().RefreshPageSelector();

  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  EXPECT_EQ(Pages().PageCount(), 2u);
  EXPECT_FALSE(Sensitive(Button(ButtonId::kBack)));  // not at once...
  SendEvent();
  EXPECT_TRUE(Sensitive(Button(ButtonId::kBack)));  // ...but with the next event
  EXPECT_FALSE(Sensitive(Button(ButtonId::kStop)));
  EXPECT_EQ(HeaderText(Current()), "All Procedure-Calls......");
  EXPECT_EQ(SelectorEntries(window_->Selector()),
            (std::vector<std::string>{"Procedures(", "All Procedure-Calls...("}));
}

TEST_F(WindowTest, ThreePagesSelectorAndBack) {
  Build();
  Pages().RefreshPageSelector();
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  ASSERT_EQ(Pages().PageCount(), 3u);
  ResultPage* pages[3] = {&Pages().Page(0), &Pages().Page(1), &Pages().Page(2)};
  EXPECT_EQ(CurrentIndex(), 2u);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(window_->Selector())), 2);

  // Picking page 0: shown, the others hidden, Back disabled from the next event.
  gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Selector()), 0);
  EXPECT_EQ(CurrentIndex(), 0u);
  EXPECT_TRUE(gtk_widget_get_visible(pages[0]->Container));
  EXPECT_FALSE(gtk_widget_get_visible(pages[1]->Container));
  EXPECT_FALSE(gtk_widget_get_visible(pages[2]->Container));
  SendEvent();
  EXPECT_FALSE(Sensitive(Button(ButtonId::kBack)));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kBack)));  // on page 0: nothing
  EXPECT_EQ(Pages().PageCount(), 3u);

  // Picking page 1 and Back: page 1 closes, the newest page is shown.
  gtk_combo_box_set_active(GTK_COMBO_BOX(window_->Selector()), 1);
  EXPECT_EQ(CurrentIndex(), 1u);
  SendEvent();
  EXPECT_TRUE(Sensitive(Button(ButtonId::kBack)));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kBack)));
  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(&Pages().Page(0), pages[0]);
  EXPECT_EQ(&Pages().Page(1), pages[2]);
  EXPECT_EQ(CurrentIndex(), 1u);
  EXPECT_TRUE(gtk_widget_get_visible(pages[2]->Container));
  EXPECT_FALSE(gtk_widget_get_visible(pages[0]->Container));
  EXPECT_EQ(SelectorEntries(window_->Selector()).size(), 2u);
  EXPECT_EQ(gtk_combo_box_get_active(GTK_COMBO_BOX(window_->Selector())), 1);

  // The window shrinks while page 1 is shown; Back shows page 0 fitted.
  gtk_window_resize(window_->Window(), 900, 400);
  Pump(200);
  EXPECT_EQ(SizeRequest(pages[2]->Container), std::make_pair(900, 364));
  EXPECT_EQ(SizeRequest(pages[0]->Container), std::make_pair(1000, 574));  // hidden: untouched
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kBack)));
  ASSERT_EQ(Pages().PageCount(), 1u);
  EXPECT_EQ(CurrentIndex(), 0u);
  EXPECT_TRUE(gtk_widget_get_visible(pages[0]->Container));
  EXPECT_EQ(SizeRequest(pages[0]->Container), std::make_pair(900, 364));
  EXPECT_EQ(SizeRequest(pages[0]->Scroller), std::make_pair(896, 342));
  SendEvent();
  EXPECT_FALSE(Sensitive(Button(ButtonId::kBack)));
}

TEST_F(WindowTest, MinimumSizeAndFitting) {
  Build();
  gtk_window_resize(window_->Window(), 500, 100);
  Pump(200);
  int width = 0;
  int height = 0;
  gtk_window_get_size(window_->Window(), &width, &height);
  EXPECT_EQ(width, 800);
  EXPECT_EQ(height, 300);
  EXPECT_EQ(SizeRequest(Current().Container), std::make_pair(800, 264));
  EXPECT_EQ(SizeRequest(Current().Scroller), std::make_pair(796, 242));
  gtk_window_resize(window_->Window(), 1200, 700);
  Pump(200);
  EXPECT_EQ(SizeRequest(Current().Container), std::make_pair(1200, 664));
  EXPECT_EQ(SizeRequest(Current().Scroller), std::make_pair(1196, 642));
}

TEST_F(WindowTest, CloseRequestEndsTheLoop) {
  Build();
  EXPECT_FALSE(window_->QuitRequested());
  GdkEvent* event = gdk_event_new(GDK_DELETE);
  event->any.window =
      GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window_->Window()))));
  gtk_main_do_event(event);
  gdk_event_free(event);
  EXPECT_TRUE(window_->QuitRequested());
  EXPECT_TRUE(gtk_widget_get_visible(GTK_WIDGET(window_->Window())));
}

TEST_F(WindowTest, OpenCancelledChangesNothing) {
  state_.MainFile = Write("main.pb", "Procedure A()\nEndProcedure\n");
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  const auto before = Shown(Pages().Page(0));
  ASSERT_EQ(before.size(), 1u);

  std::string title;
  std::string filter;
  std::string folder;
  DialogScript cancel(IsFileChooser, [&](GtkWidget* dialog) {
    // The chooser names its folder once it has loaded it.
    gchar* current = gtk_file_chooser_get_current_folder(GTK_FILE_CHOOSER(dialog));
    if (!current) return false;
    folder = current;
    g_free(current);
    title = gtk_window_get_title(GTK_WINDOW(dialog));
    GSList* filters = gtk_file_chooser_list_filters(GTK_FILE_CHOOSER(dialog));
    if (filters) filter = gtk_file_filter_get_name(GTK_FILE_FILTER(filters->data));
    EXPECT_EQ(g_slist_length(filters), 1u);
    g_slist_free(filters);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
    return true;
  });
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kOpen)));
  EXPECT_EQ(cancel.Answered(), 1);
  EXPECT_EQ(title, "Datei wählen");
  EXPECT_EQ(filter, "PureBasic ");
  EXPECT_EQ(fs::path(folder), fs::current_path());
  EXPECT_EQ(state_.MainFile, (folder_ / "main.pb").string());
  EXPECT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(CurrentIndex(), 1u);
  EXPECT_EQ(Shown(Pages().Page(0)), before);
}

TEST_F(WindowTest, SearchWithAnEmptyAnswerDoesNothing) {
  state_.MainFile = Write("main.pb", "Procedure A()\nEndProcedure\nA()\n");
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  {
    DialogScript empty(IsInputBox, TypeIntoInputBox("", nullptr));
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
    EXPECT_EQ(empty.Answered(), 1);
  }
  EXPECT_EQ(Pages().PageCount(), 1u);
  EXPECT_EQ(state_.LastSearchTerm, "");
  {
    // Closing the box counts as an empty answer too.
    DialogScript close(IsInputBox, [](GtkWidget* dialog) {
      EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(dialog)), "PB Zetrolin");
      GtkWidget* prompt = FindChild(dialog, [](GtkWidget* w) { return GTK_IS_LABEL(w); });
      EXPECT_STREQ(prompt ? gtk_label_get_text(GTK_LABEL(prompt)) : "", "Suche Term: ");
      gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_DELETE_EVENT);
      return true;
    });
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
    EXPECT_EQ(close.Answered(), 1);
  }
  EXPECT_EQ(Pages().PageCount(), 1u);
}

TEST_F(WindowTest, JumpToLineStartsTheIde) {
  const std::string main = Write("src/main.pb", "Procedure A()\nEndProcedure\n");
  state_.Sources = CollectSourceSet(main, SourceSetOptions{"/nonexistent/"});
  ASSERT_EQ(state_.Sources.size(), 1u);
  Build();
  ResultSink& list = Pages().CurrentList();
  list.AddRow(RowFromText("12\n\n\n\nMAIN.PB"));
  list.AddRow(RowFromText("\n\n\n\n/elsewhere/main.pb"));
  list.AddRow(RowFromText("5\n\n\n\nother.pb"));
  list.AddRow(RowFromText("5"));

  // No selected row: nothing.
  gtk_tree_selection_unselect_all(gtk_tree_view_get_selection(GTK_TREE_VIEW(Current().ResultList)));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  EXPECT_TRUE(IdeArguments(300).empty());

  SelectRow(Current(), 0);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  EXPECT_EQ(IdeArguments(), (std::vector<std::string>{main, "-l", "12"}));

  SelectRow(Current(), 1);  // empty Line cell, file name part of a path
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  EXPECT_EQ(IdeArguments(), (std::vector<std::string>{main, "-l", "0"}));

  for (int row : {2, 3}) {  // a file not in the set; no file at all
    SelectRow(Current(), row);
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
    EXPECT_TRUE(IdeArguments(300).empty()) << row;
  }

  // A missing IDE program is ignored.
  state_.Config.IdeProgramPath = (folder_ / "no-such-ide").string();
  SelectRow(Current(), 0);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  Pump(100);
}

TEST_F(WindowTest, JumpToLineKeepsPathsWithSpacesAndQuotesWhole) {
  const std::string main = Write("my \"odd\" src/main.pb", "Procedure A()\nEndProcedure\n");
  state_.Sources = CollectSourceSet(main, SourceSetOptions{"/nonexistent/"});
  Build();
  Pages().CurrentList().AddRow(RowFromText("3\n\n\n\nmain.pb"));
  SelectRow(Current(), 0);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  EXPECT_EQ(IdeArguments(), (std::vector<std::string>{main, "-l", "3"}));
}

TEST_F(WindowTest, AboutBoxTwiceThenWithoutLogo) {
  const std::string logo = (folder_ / "LinuxZetrolinLogo.png").string();
  fs::copy_file(std::string(PBZ_TEST_DATA) + "/../resources/LinuxZetrolinLogo.png", logo);
  ShellServices services = DefaultShellServices();
  services.ShowAbout = [logo](GtkWindow* parent) { ShowAboutBox(parent, {logo}); };
  Build(std::move(services));

  struct Seen {
    std::string texts;
    int logoWidth = 0;
  };
  std::vector<Seen> seen;
  const auto record = [&](GtkWidget* dialog) {
    GtkAboutDialog* about = GTK_ABOUT_DIALOG(dialog);
    Seen s;
    s.texts = std::string(gtk_about_dialog_get_program_name(about)) + "|" +
              gtk_about_dialog_get_version(about) + "|" + gtk_about_dialog_get_copyright(about) +
              "|" + gtk_about_dialog_get_comments(about) + "|" +
              gtk_about_dialog_get_website(about);
    EXPECT_NE(std::string(gtk_about_dialog_get_license(about)).find("MIT License"),
              std::string::npos);
    GdkPixbuf* picture = gtk_about_dialog_get_logo(about);
    s.logoWidth = picture ? gdk_pixbuf_get_width(picture) : 0;
    seen.push_back(s);
    gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
    return true;
  };
  {
    DialogScript answer(IsAboutBox, record, 2);
    gtk_button_clicked(GTK_BUTTON(window_->LogoButton()));
    gtk_button_clicked(GTK_BUTTON(window_->LogoButton()));
    EXPECT_EQ(answer.Answered(), 2);
  }
  fs::remove(logo);
  {
    DialogScript answer(IsAboutBox, record, 1);
    DialogScript noMessage(IsMessageBox, ConfirmMessage(nullptr), 0);
    gtk_button_clicked(GTK_BUTTON(window_->LogoButton()));
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_EQ(noMessage.Answered(), 0);
  }
  ASSERT_EQ(seen.size(), 3u);
  const std::string texts =
      "PB Zetrolin|0.20ß|© 2026 The PB Zetrolin developers|Lists PB-Terms recursive & more\n"
      "A PureBasic-Linux-Tool|https://example.org/pbzetrolin";
  for (const Seen& s : seen) EXPECT_EQ(s.texts, texts);
  EXPECT_EQ(seen[0].logoWidth, 64);
  EXPECT_EQ(seen[1].logoWidth, 64);
  EXPECT_EQ(seen[2].logoWidth, 0);
}

TEST_F(WindowTest, AbortCheckReportsStopAndDropsEverythingElse) {
  Build();
  std::vector<std::string> messages;
  DialogScript abort(IsMessageBox, ConfirmMessage(&messages));
  DialogScript noChooser(
      IsFileChooser,
      [](GtkWidget* dialog) {
        ADD_FAILURE() << "Open ran during the listing";
        gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_CANCEL);
        return true;
      },
      0);
  // During the listing: Open and All Proc-Calls clicked, a close request,
  // then Stop, one per tick.
  struct Clicker {
    MainWindow* window;
    int step = 0;
    guint source = 0;
    static gboolean Tick(gpointer data) {
      auto* self = static_cast<Clicker*>(data);
      MainWindow& window = *self->window;
      switch (self->step++) {
        case 0:
          gtk_button_clicked(GTK_BUTTON(window.Button(ButtonId::kOpen)));
          gtk_button_clicked(GTK_BUTTON(window.Button(ButtonId::kAllCalls)));
          return TRUE;
        case 1: {
          GdkEvent* event = gdk_event_new(GDK_DELETE);
          event->any.window =
              GDK_WINDOW(g_object_ref(gtk_widget_get_window(GTK_WIDGET(window.Window()))));
          gdk_event_put(event);
          gdk_event_free(event);
          return TRUE;
        }
        default:
          gtk_button_clicked(GTK_BUTTON(window.Button(ButtonId::kStop)));
          self->source = 0;
          return FALSE;
      }
    }
  } clicker{window_.get()};
  clicker.source = g_timeout_add(60, Clicker::Tick, &clicker);

  int result = 0;
  std::int64_t lines = 0;
  window_->RunListing([&] {
    window_->ScanStarted();
    EXPECT_TRUE(Sensitive(Button(ButtonId::kStop)));
    const gint64 end = g_get_monotonic_time() + 10 * G_USEC_PER_SEC;
    while (g_get_monotonic_time() < end) {
      ++lines;
      if (window_->AbortCheck()) {
        result = 1;
        break;
      }
      g_usleep(50);
    }
  });
  if (clicker.source) g_source_remove(clicker.source);
  EXPECT_EQ(result, 1);
  EXPECT_EQ(clicker.step, 3);
  EXPECT_EQ(messages, (std::vector<std::string>{"PB Zetrolin|Abbruch!"}));
  EXPECT_FALSE(window_->QuitRequested());
  EXPECT_EQ(Pages().PageCount(), 1u);               // All Proc-Calls was dropped
  EXPECT_TRUE(Sensitive(Button(ButtonId::kStop)));  // the listing did not end normally
  // Outside a listing, Stop does nothing and the window works again.
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kStop)));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  EXPECT_EQ(Pages().PageCount(), 2u);
}

// ---------------------------------------------------------------------------
// The listings in the window, against the same listings run in memory (what
// the batch command line prints).

struct Reference {
  SourceSet set;
  ProcedureIndex index;
  MemoryPages pages;
  RunToEnd run;
  explicit Reference(const std::string& main) {
    set = CollectSourceSet(main, SourceSetOptions{"/nonexistent/"});
    pages.OpenResultPage("", "Procedures");
    ListProcedures(set, pages.CurrentList(), run, index);
    pages.RefreshPageSelector();
  }
  const std::vector<Row>& Rows() { return pages.CurrentPage().List.Rows(); }
};

TEST_F(WindowTest, StartUpOnTheExampleListsItsProcedures) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  Reference ref(ExampleMain());
  ASSERT_EQ(Pages().PageCount(), 1u);
  EXPECT_EQ(HeaderText(Current()), "Procedures...");
  EXPECT_EQ(SelectorEntries(window_->Selector()), std::vector<std::string>{"Procedures("});
  const auto rows = Shown(Current());
  EXPECT_EQ(rows, Expected(ref.Rows()));
  ASSERT_EQ(rows.size(), 15u);
  // Written out: the first row of main.pb and of format.pbi, in their colours.
  EXPECT_EQ(TextToInteger(rows[0].cells[kLine]), 19);
  EXPECT_EQ(rows[0].cells[kFunction],
            "ProcedureC.i OnListKeyPress(*Widget, *Event.GdkEventKey, *UserData)");
  EXPECT_EQ(rows[0].cells[kFile], "main.pb");
  EXPECT_EQ(rows[0].rowBackground, "#ffffe6");
  EXPECT_EQ(TextToInteger(rows[4].cells[kLine]), 4);
  EXPECT_EQ(rows[4].cells[kFunction], "Procedure.s TrimmedField(Text.s, Index.i)");
  EXPECT_EQ(rows[4].cells[kFile], "format.pbi");
  EXPECT_EQ(rows[4].rowBackground, "#b9ffff");
  EXPECT_EQ(Current().List->SelectedIndex(), std::optional<std::size_t>(14));
  EXPECT_FALSE(Sensitive(Button(ButtonId::kStop)));
  SendEvent();
  EXPECT_FALSE(Sensitive(Button(ButtonId::kBack)));
}

TEST_F(WindowTest, OpenAnotherFileReplacesAllPages) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("AddContact("));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  ASSERT_EQ(Pages().PageCount(), 3u);
  const std::string other = Write("other.pb", "; other\nProcedure Solo()\nEndProcedure\n");
  DialogScript choose(IsFileChooser, ChooseFile(other));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kOpen)));
  EXPECT_EQ(choose.Answered(), 1);
  EXPECT_EQ(state_.MainFile, other);
  ASSERT_EQ(Pages().PageCount(), 1u);
  EXPECT_EQ(CurrentIndex(), 0u);
  EXPECT_EQ(HeaderText(Current()), "Procedures...");
  EXPECT_EQ(SelectorEntries(window_->Selector()), std::vector<std::string>{"Procedures("});
  const auto rows = Shown(Current());
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(TextToInteger(rows[0].cells[kLine]), 2);
  EXPECT_EQ(rows[0].cells[kFunction], "Procedure Solo()");
  EXPECT_EQ(rows[0].cells[kFile], "other.pb");
  EXPECT_EQ(state_.Sources.size(), 1u);
}

TEST_F(WindowTest, JumpToLineOnAListedProcedure) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  const auto& rows = Current().List->Rows();
  int wanted = -1;
  for (std::size_t k = 0; k < rows.size(); ++k) {
    if (rows[k].cells[kFunction] == "Procedure.s FormatPhone(Phone.s)")
      wanted = static_cast<int>(k);
  }
  ASSERT_GE(wanted, 0);
  SelectRow(Current(), wanted);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kJumpToLine)));
  // The path as the source set holds it (the include folder joined with "/").
  const auto path = FindSourceByFileName(state_.Sources, "format.pbi");
  ASSERT_TRUE(path);
  EXPECT_TRUE(fs::equivalent(*path, std::string(PBZ_EXAMPLES) + "/include/format.pbi"));
  EXPECT_EQ(IdeArguments(), (std::vector<std::string>{*path, "-l", "8"}));
}

TEST_F(WindowTest, StartUpWithAProcedureWordAndDoubleClicksUpTheChain) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("AddContact("));
  Reference ref(ExampleMain());
  ShowProcedureCalls("AddContact(", ref.set, ref.pages, ref.run);

  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(CurrentIndex(), 1u);
  EXPECT_EQ(Current().Kind, "Proc: ");
  EXPECT_EQ(HeaderText(Current()), "Proc: AddContact(...");
  EXPECT_FALSE(gtk_widget_get_visible(Pages().Page(0).Container));
  EXPECT_EQ(SelectorEntries(window_->Selector()),
            (std::vector<std::string>{"Procedures(", "AddContact("}));
  EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
  const int inLoad = RowWhere(Current(), "34", "storage.pbi");
  ASSERT_GE(inLoad, 0);
  EXPECT_EQ(Current().List->Rows()[inLoad].cells[kFunction],
            "    25 Procedure.i LoadContacts(FileName.s)");
  EXPECT_EQ(RowWhere(Current(), "58", "main.pb") >= 0, true);

  // A separator row leads nowhere.
  ASSERT_EQ(Current().List->Rows()[0].cells, (std::array<std::string, 5>{}));
  DoubleClickRow(Current(), 0);
  EXPECT_EQ(Pages().PageCount(), 2u);

  // A call row inside LoadContacts lists the calls of LoadContacts.
  DoubleClickRow(Current(), inLoad);
  ASSERT_EQ(Pages().PageCount(), 3u);
  EXPECT_EQ(HeaderText(Current()), "Proc: LoadContacts(FileName.s)...");
  ref.pages.CurrentPage().List.Select(static_cast<std::size_t>(inLoad));
  ShowProcedureCalls("", ref.set, ref.pages, ref.run);
  EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
  EXPECT_FALSE(Shown(Current()).empty());
}

TEST_F(WindowTest, SearchListsCallsAndOffersTheTermAgain) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  {
    DialogScript search(IsInputBox, TypeIntoInputBox("FormatPhone(", nullptr));
    DialogScript noMessage(IsMessageBox, ConfirmMessage(nullptr), 0);
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
    EXPECT_EQ(search.Answered(), 1);
    EXPECT_EQ(noMessage.Answered(), 0);
  }
  Reference ref(ExampleMain());
  ShowProcedureCalls("FormatPhone(", ref.set, ref.pages, ref.run);
  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(HeaderText(Current()), "Proc: FormatPhone(...");
  EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
  EXPECT_GE(RowWhere(Current(), "14", "format.pbi"), 0);
  EXPECT_GE(RowWhere(Current(), "16", "storage.pbi"), 0);

  std::vector<std::string> offered;
  DialogScript again(IsInputBox, TypeIntoInputBox("", &offered));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
  EXPECT_EQ(offered, std::vector<std::string>{"FormatPhone("});
  EXPECT_EQ(Pages().PageCount(), 2u);
}

TEST_F(WindowTest, StartUpWithAWordThatIsNoProcedureSearchesTheTerm) {
  state_.MainFile = ExampleMain();
  Build();
  std::vector<std::string> messages;
  DialogScript notFound(IsMessageBox, ConfirmMessage(&messages));
  ASSERT_TRUE(window_->StartUp("Count("));
  EXPECT_EQ(messages, std::vector<std::string>{
                          "PB Zetrolin|Procedure 'Count(' not found!\nSearch for terms..."});
  Reference ref(ExampleMain());
  ShowProcedureCalls("Count(", ref.set, ref.pages, ref.run);
  TermSearchListing("Count", ref.set, ref.pages, ref.run);
  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(CurrentIndex(), 1u);
  EXPECT_EQ(Current().Kind, "Terms: ");
  EXPECT_EQ(Current().Title, "Count(");
  EXPECT_EQ(HeaderText(Current()), "Terms: Count...");
  EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
  EXPECT_GE(RowWhere(Current(), "35", "storage.pbi"), 0);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  EXPECT_EQ(SelectorEntries(window_->Selector()),
            (std::vector<std::string>{"Procedures(", "Count(", "All Procedure-Calls...("}));
}

TEST_F(WindowTest, StartUpWithParenthesesOnlyEndsAfterTheMessage) {
  state_.MainFile = ExampleMain();
  Build();
  std::vector<std::string> messages;
  DialogScript notFound(IsMessageBox, ConfirmMessage(&messages));
  ASSERT_TRUE(window_->StartUp("(("));
  EXPECT_EQ(messages,
            std::vector<std::string>{"PB Zetrolin|Procedure '((' not found!\nSearch for terms..."});
  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(Current().Kind, "Proc: ");
  EXPECT_EQ(Current().List->RowCount(), 0u);
}

TEST_F(WindowTest, SearchForAWordWithoutCallsSearchesTheTermSilently) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  {
    DialogScript search(IsInputBox, TypeIntoInputBox("Quit(", nullptr));
    DialogScript noMessage(IsMessageBox, ConfirmMessage(nullptr), 0);
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
    EXPECT_EQ(search.Answered(), 1);
    EXPECT_EQ(noMessage.Answered(), 0);
  }
  EXPECT_EQ(state_.LastSearchTerm, "Quit");
  Reference ref(ExampleMain());
  ShowProcedureCalls("Quit(", ref.set, ref.pages, ref.run);
  TermSearchListing("Quit", ref.set, ref.pages, ref.run);
  ASSERT_EQ(Pages().PageCount(), 2u);
  EXPECT_EQ(HeaderText(Current()), "Terms: Quit...");
  EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
  EXPECT_FALSE(Shown(Current()).empty());

  // Typed without "(": the entry shows the whole title from the next refresh on.
  {
    std::vector<std::string> offered;
    DialogScript search(IsInputBox, TypeIntoInputBox("Quit", &offered));
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kSearch)));
    EXPECT_EQ(offered, std::vector<std::string>{"Quit"});
  }
  ASSERT_EQ(Pages().PageCount(), 3u);
  EXPECT_EQ(HeaderText(Current()), "Terms: Quit...");
  EXPECT_EQ(SelectorEntries(window_->Selector())[2], "Quit(");
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  EXPECT_EQ(SelectorEntries(window_->Selector()),
            (std::vector<std::string>{"Procedures(", "Quit(", "Quit", "All Procedure-Calls...("}));
}

TEST_F(WindowTest, AllProcedureCallsFillThePageAndTheClipboard) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  Reference ref(ExampleMain());
  DeclareList declares;
  std::string block;
  ref.pages.OpenResultPage("", "All Procedure-Calls...");
  ListAllProcedureCalls(ref.index, ref.set, ref.pages, ref.run, declares,
                        [&](const std::string& text) { block = text; });
  ASSERT_NE(block.find("Declare ShowAbout()\r\n"), std::string::npos) << block;

  for (std::size_t run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
    ASSERT_EQ(Pages().PageCount(), run + 1);
    EXPECT_EQ(HeaderText(Current()), "All Procedure-Calls......");
    EXPECT_EQ(Shown(Current()), Expected(ref.Rows()));
    EXPECT_FALSE(Sensitive(Button(ButtonId::kStop)));
    EXPECT_EQ(ReadClipboardElsewhere(), ToDisplay(block));
  }
}

TEST_F(WindowTest, NothingToDeclareKeepsTheClipboard) {
  state_.MainFile = Write("main.pb", "Procedure A()\nEndProcedure\nA()\n");
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  gtk_clipboard_set_text(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "keep me", -1);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  EXPECT_EQ(Pages().PageCount(), 2u);
  EXPECT_FALSE(Current().List->Rows().empty());
  EXPECT_EQ(ReadClipboardElsewhere(), "keep me");
}

TEST_F(WindowTest, StopDuringAllProcedureCalls) {
  // Enough lines that the listing is still running when Stop is clicked.
  std::string text;
  for (int k = 0; k < 40; ++k) text += "Procedure P" + std::to_string(k) + "()\nEndProcedure\n";
  for (int k = 0; k < 100000; ++k) text += "P1() : x + 1\n";
  state_.MainFile = Write("main.pb", text);
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  std::vector<std::string> messages;
  DialogScript abort(IsMessageBox, ConfirmMessage(&messages));
  struct StopLater {
    GtkWidget* button;
    guint source = 0;
    static gboolean Click(gpointer data) {
      auto* self = static_cast<StopLater*>(data);
      self->source = 0;
      gtk_button_clicked(GTK_BUTTON(self->button));
      return FALSE;
    }
  } stop{Button(ButtonId::kStop)};
  stop.source = g_timeout_add(100, StopLater::Click, &stop);
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  if (stop.source) g_source_remove(stop.source);
  EXPECT_EQ(messages, std::vector<std::string>{"PB Zetrolin|Abbruch!"});
  EXPECT_FALSE(Sensitive(Button(ButtonId::kStop)));  // all calls disables it also after a stop
  Reference ref(state_.MainFile);
  DeclareList declares;
  ref.pages.OpenResultPage("", "All Procedure-Calls...");
  ListAllProcedureCalls(ref.index, ref.set, ref.pages, ref.run, declares,
                        [](const std::string&) {});
  EXPECT_LT(Current().List->RowCount(), ref.Rows().size());
}

}  // namespace
}  // namespace pbz

namespace pbz {
namespace {

// The newest row of a listing is fully in view when the listing ends, also
// when the scroll bars appear only because of the rows it added.
TEST_F(WindowTest, TheNewestRowIsFullyInViewAfterAllProcCalls) {
  state_.MainFile = ExampleMain();
  Build();
  ASSERT_TRUE(window_->StartUp("("));
  gtk_button_clicked(GTK_BUTTON(Button(ButtonId::kAllCalls)));
  Pump(300);
  GtkTreeView* view = Current().List->View();
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  ASSERT_TRUE(gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view), &model, &iter));
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  // The last call row is selected; only the closing row follows it.
  EXPECT_EQ(gtk_tree_path_get_indices(path)[0] + 2, gtk_tree_model_iter_n_children(model, nullptr));
  GdkRectangle cell{};
  gtk_tree_view_get_cell_area(view, path, nullptr, &cell);
  gtk_tree_path_free(path);
  int top = 0;
  int bottom = 0;
  gtk_tree_view_convert_bin_window_to_tree_coords(view, 0, cell.y, nullptr, &top);
  gtk_tree_view_convert_bin_window_to_tree_coords(view, 0, cell.y + cell.height, nullptr, &bottom);
  GdkRectangle visible{};
  gtk_tree_view_get_visible_rect(view, &visible);
  EXPECT_GE(top, visible.y);
  EXPECT_LE(bottom, visible.y + visible.height);
}

}  // namespace
}  // namespace pbz
