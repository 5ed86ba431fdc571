// The page stack as the listings see it. The window implements it with
// widgets; MemoryPages implements it in memory for the batch command line
// and the tests.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/row.h"

namespace pbz {

// "Procedures..." for an empty kind, "Proc: Foo(a)..." for a calls page.
std::string PageHeaderText(const std::string& kind, const std::string& title);
// The page selector's entry: the whole title for a "Terms: " page, else the
// title up to its first "(" followed by "(".
std::string PageSelectorEntry(const std::string& kind, const std::string& title);

inline constexpr const char* kKindProc = "Proc: ";
inline constexpr const char* kKindTerms = "Terms: ";

class PageHost {
 public:
  virtual ~PageHost() = default;
  // Hides the current page, appends a new one at the end and makes it current.
  // Does not touch the page selector.
  virtual void OpenResultPage(const std::string& kind, const std::string& title) = 0;
  // Rebuilds the selector entries and makes the newest page current.
  virtual void RefreshPageSelector() = 0;
  // The current page's list; there is always a current page when a listing runs.
  virtual ResultSink& CurrentList() = 0;
  // Sets the current page's Kind and its header to kind + subject + "..."
  // (the term search names its term there); the Title stays.
  virtual void RelabelCurrentPage(const std::string& kind, const std::string& subject) = 0;
  // "Line" cell, a space and "(in) Function" cell of the current page's
  // selected row; empty when no row is selected.
  virtual std::string SelectedRowText() = 0;
  virtual void HideCurrentPage() = 0;
  virtual void ShowCurrentPage() = 0;
  // The all-calls listing's header-row index on the current page.
  virtual std::int64_t& CurrentBlockRow() = 0;
};

// Page stack in memory, with the same rules as the window's.
class MemoryPages : public PageHost {
 public:
  struct Page {
    std::string Kind;
    std::string Title;
    std::string Header;
    std::int64_t BlockRow = 0;
    bool Visible = false;
    MemoryList List;
  };

  void OpenResultPage(const std::string& kind, const std::string& title) override;
  void RefreshPageSelector() override;
  ResultSink& CurrentList() override;
  void RelabelCurrentPage(const std::string& kind, const std::string& subject) override;
  std::string SelectedRowText() override;
  void HideCurrentPage() override;
  void ShowCurrentPage() override;
  std::int64_t& CurrentBlockRow() override;

  // Removes the current page; the page before it becomes current (none for page 0).
  void CloseCurrentPage();
  // The page switch of the selector: make page k current.
  void SwitchTo(std::size_t k);

  const std::vector<std::unique_ptr<Page>>& Pages() const { return pages_; }
  std::optional<std::size_t> Current() const { return current_; }
  const std::vector<std::string>& SelectorEntries() const { return entries_; }
  std::optional<std::size_t> SelectorActive() const { return active_; }
  Page& CurrentPage() { return *pages_.at(current_.value()); }

 private:
  std::vector<std::unique_ptr<Page>> pages_;
  std::optional<std::size_t> current_;
  std::vector<std::string> entries_;
  std::optional<std::size_t> active_;
};

}  // namespace pbz
