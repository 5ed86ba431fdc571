#include "pages/gtk_page_stack.h"

#include <cstdio>
#include <utility>

#include "core/text.h"

namespace pbz {

namespace {

constexpr int kPageTop = 34;

const char* OrNull(const std::string& text) {
  return text.empty() ? nullptr : text.c_str();
}

// Colour texts of one row, kept alive while the store copies them.
struct RowColours {
  std::string rowBackground;
  std::string cellBackground[kColumnCount];
  std::string cellForeground[kColumnCount];

  explicit RowColours(const Row& row) {
    if (row.background) rowBackground = ColourText(*row.background);
    for (std::size_t k = 0; k < kColumnCount; ++k) {
      if (row.cellBackground[k]) {
        cellBackground[k] = ColourText(*row.cellBackground[k]);
      } else {
        cellBackground[k] = rowBackground;
      }
      if (row.text[k]) cellForeground[k] = ColourText(*row.text[k]);
    }
  }
};

GtkWidget* MakeHeaderLabel(const char* title) {
  GtkWidget* label = gtk_label_new(title);
  PangoFontDescription* font = pango_font_description_from_string(kListFont);
  gtk_widget_modify_font(label, font);
  pango_font_description_free(font);
  gtk_widget_show(label);
  return label;
}

GtkWidget* MakeResultList() {
  std::vector<GType> types(kStoreColumnCount, G_TYPE_STRING);
  GtkListStore* store = gtk_list_store_newv(kStoreColumnCount, types.data());
  GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(store));
  g_object_unref(store);  // the view holds it
  GtkTreeView* tree = GTK_TREE_VIEW(view);
  gtk_tree_view_set_headers_visible(tree, TRUE);
  gtk_tree_view_set_headers_clickable(tree, FALSE);
  gtk_tree_selection_set_mode(gtk_tree_view_get_selection(tree), GTK_SELECTION_SINGLE);
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
    g_object_set(renderer, "font", kListFont, nullptr);
    GtkTreeViewColumn* column = gtk_tree_view_column_new();
    gtk_tree_view_column_set_widget(column, MakeHeaderLabel(kColumnTitles[k]));
    gtk_tree_view_column_pack_start(column, renderer, TRUE);
    const int at = static_cast<int>(k);
    gtk_tree_view_column_set_attributes(column, renderer, "text", kStoreText + at,
                                        "cell-background", kStoreCellBackground + at, "foreground",
                                        kStoreCellForeground + at, nullptr);
    gtk_tree_view_column_set_sizing(column, GTK_TREE_VIEW_COLUMN_FIXED);
    gtk_tree_view_column_set_fixed_width(column, kColumnWidths[k]);
    gtk_tree_view_column_set_resizable(column, TRUE);
    gtk_tree_view_column_set_clickable(column, FALSE);
    gtk_tree_view_append_column(tree, column);
  }
  // Fixed row heights: measuring every row with Pango makes long listings slow.
  gtk_tree_view_set_fixed_height_mode(tree, TRUE);
  SetColumnAlignment(tree, 0, 1.0f);
  return view;
}

}  // namespace

std::string ColourText(Rgb colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.r, colour.g, colour.b);
  return text;
}

void SetColumnAlignment(GtkTreeView* list, int column, float alignment) {
  GtkTreeViewColumn* col = gtk_tree_view_get_column(list, column);
  if (!col) return;
  gtk_tree_view_column_set_alignment(col, alignment);
  GList* renderers = gtk_cell_layout_get_cells(GTK_CELL_LAYOUT(col));
  for (GList* item = renderers; item; item = item->next) {
    g_object_set(item->data, "xalign", static_cast<gfloat>(alignment), nullptr);
  }
  g_list_free(renderers);
}

// ---------------------------------------------------------------------------

GtkResultList::GtkResultList(GtkTreeView* view)
    : view_(view),
      store_(RefPtr<GtkListStore>::Share(GTK_LIST_STORE(gtk_tree_view_get_model(view)))) {}

GtkResultList::~GtkResultList() {
  if (laidOutSource_ != 0) g_source_remove(laidOutSource_);
}

void GtkResultList::Write(GtkTreeIter* iter, const Row& row, bool insert) {
  std::string texts[kColumnCount];
  for (std::size_t k = 0; k < kColumnCount; ++k) texts[k] = ToDisplay(row.cells[k]);
  const RowColours colours(row);
  gint columns[kStoreColumnCount];
  GValue values[kStoreColumnCount] = {};
  for (int c = 0; c < kStoreColumnCount; ++c) {
    columns[c] = c;
    g_value_init(&values[c], G_TYPE_STRING);
  }
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    g_value_set_static_string(&values[kStoreText + k], texts[k].c_str());
    g_value_set_static_string(&values[kStoreCellBackground + k], OrNull(colours.cellBackground[k]));
    g_value_set_static_string(&values[kStoreCellForeground + k], OrNull(colours.cellForeground[k]));
  }
  g_value_set_static_string(&values[kStoreRowBackground], OrNull(colours.rowBackground));
  if (insert) {
    gtk_list_store_insert_with_valuesv(store_.get(), iter, -1, columns, values, kStoreColumnCount);
  } else {
    gtk_list_store_set_valuesv(store_.get(), iter, columns, values, kStoreColumnCount);
  }
  for (auto& value : values) g_value_unset(&value);
}

void GtkResultList::AddRow(const Row& row) {
  AppendRow(row);
  // The selection and scroll happen before the toolkit next draws: doing it
  // for every row costs more than the row itself.
  pendingSelection_ = rows_.size() - 1;
}

void GtkResultList::AppendRow(const Row& row) {
  GtkTreeIter iter;
  Write(&iter, row, true);
  rows_.push_back(row);
}

void GtkResultList::UpdateRow(std::size_t index, const Row& row) {
  if (index >= rows_.size()) return;
  GtkTreeIter iter;
  if (!gtk_tree_model_iter_nth_child(GTK_TREE_MODEL(store_.get()), &iter, nullptr,
                                     static_cast<gint>(index))) {
    return;
  }
  Write(&iter, row, false);
  rows_[index] = row;
}

void GtkResultList::FlushSelection() {
  if (!pendingSelection_) return;
  const std::size_t index = *std::exchange(pendingSelection_, std::nullopt);
  if (index >= rows_.size()) return;
  GtkTreePath* path = gtk_tree_path_new_from_indices(static_cast<gint>(index), -1);
  gtk_tree_selection_select_path(gtk_tree_view_get_selection(view_), path);
  gtk_tree_view_set_cursor(view_, path, nullptr, FALSE);
  gtk_tree_view_scroll_to_cell(view_, path, nullptr, FALSE, 0.0f, 0.0f);
  gtk_tree_path_free(path);
  if (laidOutSource_ == 0) {
    laidOutSource_ = g_idle_add_full(G_PRIORITY_LOW, &GtkResultList::OnLaidOut, this, nullptr);
  }
}

gboolean GtkResultList::OnLaidOut(gpointer self) noexcept {
  auto* list = static_cast<GtkResultList*>(self);
  list->laidOutSource_ = 0;
  if (!gtk_widget_get_realized(GTK_WIDGET(list->view_))) return FALSE;
  GtkTreePath* path = nullptr;
  gtk_tree_view_get_cursor(list->view_, &path, nullptr);
  if (path) {
    gtk_tree_view_scroll_to_cell(list->view_, path, nullptr, FALSE, 0.0f, 0.0f);
    gtk_tree_path_free(path);
  }
  return FALSE;
}

std::optional<std::size_t> GtkResultList::SelectedIndex() const {
  GtkTreeModel* model = nullptr;
  GtkTreeIter iter;
  if (!gtk_tree_selection_get_selected(gtk_tree_view_get_selection(view_), &model, &iter)) {
    return std::nullopt;
  }
  GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
  const gint index = gtk_tree_path_get_indices(path)[0];
  gtk_tree_path_free(path);
  if (index < 0 || static_cast<std::size_t>(index) >= rows_.size()) return std::nullopt;
  return static_cast<std::size_t>(index);
}

// ---------------------------------------------------------------------------

PageStack::PageStack(GtkFixed* windowArea, GtkComboBox* selector,
                     std::function<std::pair<int, int>()> windowSize)
    : area_(windowArea), selector_(selector), windowSize_(std::move(windowSize)) {}

PageStack::~PageStack() {
  CloseAllPages();
}

void PageStack::CloseAllPages() {
  while (!pages_.empty()) {
    current_ = 0;
    CloseCurrentPage();
  }
}

gboolean PageStack::OnListButtonPress(GtkWidget* widget, GdkEventButton* event,
                                      gpointer self) noexcept {
  auto* stack = static_cast<PageStack*>(self);
  // Only a double click on the rows, not on the column headers.
  if (event->type != GDK_2BUTTON_PRESS || event->button != 1 ||
      event->window != gtk_tree_view_get_bin_window(GTK_TREE_VIEW(widget)) ||
      !stack->rowDoubleClick_) {
    return FALSE;
  }
  stack->rowDoubleClick_();
  return TRUE;
}

void PageStack::OpenResultPage(const std::string& kind, const std::string& title) {
  HideCurrentPage();
  auto page = std::make_unique<ResultPage>();
  page->Kind = kind;
  page->Title = title;
  const auto [width, height] = windowSize_();

  page->Container = gtk_frame_new(nullptr);
  gtk_frame_set_shadow_type(GTK_FRAME(page->Container), GTK_SHADOW_IN);
  gtk_widget_set_size_request(page->Container, width, height - 36);
  page->Inner = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(page->Container), page->Inner);

  page->Header = gtk_label_new(ToDisplay(PageHeaderText(kind, title)).c_str());
  gtk_misc_set_alignment(GTK_MISC(page->Header), 0.0f, 0.5f);
  gtk_label_set_line_wrap(GTK_LABEL(page->Header), TRUE);
  gtk_widget_set_size_request(page->Header, 800, 20);
  gtk_fixed_put(GTK_FIXED(page->Inner), page->Header, 5, 0);

  page->Scroller = gtk_scrolled_window_new(nullptr, nullptr);
  gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(page->Scroller), GTK_POLICY_AUTOMATIC,
                                 GTK_POLICY_AUTOMATIC);
  gtk_widget_set_size_request(page->Scroller, width - 4, height - 58);
  page->ResultList = MakeResultList();
  gtk_container_add(GTK_CONTAINER(page->Scroller), page->ResultList);
  gtk_fixed_put(GTK_FIXED(page->Inner), page->Scroller, 2, 20);
  page->List = std::make_unique<GtkResultList>(GTK_TREE_VIEW(page->ResultList));
  g_signal_connect(page->ResultList, "button-press-event", G_CALLBACK(OnListButtonPress), this);

  for (GtkWidget* widget :
       {page->Container, page->Inner, page->Header, page->Scroller, page->ResultList}) {
    page->Held.push_back(RefPtr<GtkWidget>::Share(widget));
  }
  gtk_fixed_put(area_, page->Container, 0, kPageTop);
  gtk_widget_show_all(page->Container);
  pages_.push_back(std::move(page));
  current_ = pages_.size() - 1;
}

void PageStack::RefreshPageSelector() {
  // Rebuilding the entries is not the user's choice: no page switch.
  if (selectorHandler_) g_signal_handler_block(selector_, selectorHandler_);
  GtkListStore* entries = GTK_LIST_STORE(gtk_combo_box_get_model(selector_));
  gtk_list_store_clear(entries);
  for (const auto& page : pages_) {
    gtk_combo_box_append_text(selector_,
                              ToDisplay(PageSelectorEntry(page->Kind, page->Title)).c_str());
  }
  gtk_combo_box_set_active(selector_, static_cast<gint>(pages_.size()) - 1);
  if (selectorHandler_) g_signal_handler_unblock(selector_, selectorHandler_);
  if (pages_.empty()) {
    current_.reset();
  } else {
    current_ = pages_.size() - 1;
  }
}

ResultSink& PageStack::CurrentList() {
  return *pages_.at(current_.value())->List;
}

void PageStack::RelabelCurrentPage(const std::string& kind, const std::string& subject) {
  ResultPage* page = CurrentPage();
  if (!page) return;
  page->Kind = kind;
  gtk_label_set_text(GTK_LABEL(page->Header), ToDisplay(PageHeaderText(kind, subject)).c_str());
}

std::string PageStack::SelectedRowText() {
  ResultPage* page = CurrentPage();
  if (!page) return {};
  const auto index = page->List->SelectedIndex();
  if (!index) return {};
  const Row& row = page->List->Rows()[*index];
  return row.cells[kLine] + " " + row.cells[kFunction];
}

void PageStack::HideCurrentPage() {
  if (ResultPage* page = CurrentPage()) gtk_widget_hide(page->Container);
}

void PageStack::ShowCurrentPage() {
  if (ResultPage* page = CurrentPage()) gtk_widget_show(page->Container);
}

std::int64_t& PageStack::CurrentBlockRow() {
  return pages_.at(current_.value())->BlockRow;
}

void PageStack::CloseCurrentPage() {
  if (!current_) return;
  const std::size_t k = *current_;
  ResultPage& page = *pages_[k];
  page.List.reset();
  gtk_widget_destroy(page.Header);
  gtk_widget_destroy(page.Scroller);
  gtk_widget_destroy(page.Container);
  pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(k));
  if (k == 0) {
    current_.reset();
  } else {
    current_ = k - 1;
  }
}

void PageStack::SwitchTo(std::size_t k) {
  if (k >= pages_.size()) return;
  HideCurrentPage();
  current_ = k;
  ShowCurrentPage();
}

void PageStack::FitCurrentPage(int width, int height) {
  ResultPage* page = CurrentPage();
  if (!page) return;
  gtk_widget_set_size_request(page->Container, width, height - 36);
  gtk_widget_set_size_request(page->Scroller, width - 4, height - 58);
}

void PageStack::FocusCurrentPage() {
  if (ResultPage* page = CurrentPage()) gtk_widget_grab_focus(page->ResultList);
}

void PageStack::FlushSelection() {
  if (ResultPage* page = CurrentPage()) page->List->FlushSelection();
}

void PageStack::SyncSelector() {
  if (selectorHandler_) g_signal_handler_block(selector_, selectorHandler_);
  gtk_combo_box_set_active(selector_, current_ ? static_cast<gint>(*current_) : -1);
  if (selectorHandler_) g_signal_handler_unblock(selector_, selectorHandler_);
}

}  // namespace pbz
