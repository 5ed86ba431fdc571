// The result pages of the window: each a framed area with a header label and
// a five-column tree view, one visible at a time, listed in the page selector.
#pragma once

#include <gtk/gtk.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/row.h"
#include "pages/gtk_ref.h"
#include "pages/page_host.h"

namespace pbz {

inline constexpr const char* kListFont = "Monospace 9";
inline constexpr int kColumnWidths[kColumnCount] = {56, 380, 55, 300, 200};
inline constexpr const char* kColumnTitles[kColumnCount] = {"Line", "Calls", "Count",
                                                            "(in) Function", "in File"};

// Columns of the list store behind a result list: the five cell texts, the
// row background, then per cell the effective background and the text colour
// (colours as "#rrggbb", NULL when unset).
enum StoreColumn : int {
  kStoreText = 0,
  kStoreRowBackground = 5,
  kStoreCellBackground = 6,
  kStoreCellForeground = 11,
  kStoreColumnCount = 16,
};

// One page's list: rows go into a GtkListStore and are kept as values too, so
// the selected row's cells come back as the bytes the listing wrote.
class GtkResultList : public ResultSink {
 public:
  explicit GtkResultList(GtkTreeView* view);
  ~GtkResultList() override;
  GtkResultList(const GtkResultList&) = delete;
  GtkResultList& operator=(const GtkResultList&) = delete;
  void AddRow(const Row& row) override;
  void AppendRow(const Row& row) override;
  void UpdateRow(std::size_t index, const Row& row) override;
  std::size_t RowCount() const override { return rows_.size(); }

  // Selects the row AddRow added last, puts the cursor on it and scrolls it
  // into view, when AddRow asked for that since the last call. Cheap otherwise.
  void FlushSelection();
  std::optional<std::size_t> SelectedIndex() const;
  const std::vector<Row>& Rows() const { return rows_; }
  GtkTreeView* View() const { return view_; }
  GtkListStore* Store() const { return store_.get(); }

 private:
  void Write(GtkTreeIter* iter, const Row& row, bool insert);
  // Scrolls the cursor row into view once more when the toolkit is idle:
  // the rows just added may bring up scroll bars only when the list is laid
  // out, and a horizontal bar would then cover the newest row.
  static gboolean OnLaidOut(gpointer self) noexcept;

  GtkTreeView* view_;
  RefPtr<GtkListStore> store_;
  std::vector<Row> rows_;
  std::optional<std::size_t> pendingSelection_;  // the row AddRow added last
  guint laidOutSource_ = 0;                      // pending OnLaidOut, 0 when none
};

// The widgets are referenced by the page as well, so a window destroyed from
// outside (its X window killed) leaves no dangling pointer here.
struct ResultPage {
  GtkWidget* Container = nullptr;   // GtkFrame in the window's GtkFixed
  GtkWidget* Inner = nullptr;       // GtkFixed inside the frame
  GtkWidget* Header = nullptr;      // GtkLabel
  GtkWidget* Scroller = nullptr;    // GtkScrolledWindow around the list
  GtkWidget* ResultList = nullptr;  // GtkTreeView
  std::vector<RefPtr<GtkWidget>> Held;
  std::unique_ptr<GtkResultList> List;
  std::int64_t BlockRow = 0;
  std::string Kind;
  std::string Title;
};

class PageStack : public PageHost {
 public:
  // Pages go into windowArea at (0, 34); selector lists them; its "changed"
  // handler (selectorHandler) is blocked while the entries are rebuilt.
  // windowSize gives the window's current inner size.
  PageStack(GtkFixed* windowArea, GtkComboBox* selector,
            std::function<std::pair<int, int>()> windowSize);
  ~PageStack() override;
  PageStack(const PageStack&) = delete;
  PageStack& operator=(const PageStack&) = delete;

  void SetSelectorHandler(gulong handler) { selectorHandler_ = handler; }
  // Called for a double click with the left button on a row of any page.
  void SetRowDoubleClickHandler(std::function<void()> handler) {
    rowDoubleClick_ = std::move(handler);
  }

  void OpenResultPage(const std::string& kind, const std::string& title) override;
  void RefreshPageSelector() override;
  ResultSink& CurrentList() override;
  void RelabelCurrentPage(const std::string& kind, const std::string& subject) override;
  std::string SelectedRowText() override;
  void HideCurrentPage() override;
  void ShowCurrentPage() override;
  std::int64_t& CurrentBlockRow() override;

  // Destroys the current page's widgets; the page before becomes current
  // (none after page 0). Shows nothing, leaves the selector alone.
  void CloseCurrentPage();
  // Closes every page, oldest first; no page is current afterwards.
  void CloseAllPages();
  // The page switch: hide the current page, make page k current, show it.
  void SwitchTo(std::size_t k);
  // Container W x (H - 36), list (W - 4) x (H - 58).
  void FitCurrentPage(int width, int height);
  // Gives the current page's list the keyboard focus.
  void FocusCurrentPage();
  // Lets the current list catch up with its pending selection.
  void FlushSelection();
  // Puts the selector back on the current page without a page switch.
  void SyncSelector();

  std::size_t PageCount() const { return pages_.size(); }
  std::optional<std::size_t> Current() const { return current_; }
  ResultPage& Page(std::size_t k) { return *pages_.at(k); }
  ResultPage* CurrentPage() { return current_ ? pages_[*current_].get() : nullptr; }

 private:
  static gboolean OnListButtonPress(GtkWidget* widget, GdkEventButton* event,
                                    gpointer self) noexcept;

  GtkFixed* area_;
  GtkComboBox* selector_;
  gulong selectorHandler_ = 0;
  std::function<std::pair<int, int>()> windowSize_;
  std::function<void()> rowDoubleClick_;
  std::vector<std::unique_ptr<ResultPage>> pages_;
  std::optional<std::size_t> current_;
};

// Sets the horizontal alignment of one column's header title and cell
// renderers; does nothing for a missing column.
void SetColumnAlignment(GtkTreeView* list, int column, float alignment);

// "#rrggbb" for a colour.
std::string ColourText(Rgb colour);

}  // namespace pbz
