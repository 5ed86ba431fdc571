#include "pages/page_host.h"

namespace pbz {

std::string PageHeaderText(const std::string& kind, const std::string& title) {
  return kind + title + "...";
}

std::string PageSelectorEntry(const std::string& kind, const std::string& title) {
  if (kind == kKindTerms) return title;
  return title.substr(0, title.find('(')) + "(";
}

void MemoryPages::OpenResultPage(const std::string& kind, const std::string& title) {
  if (current_) pages_[*current_]->Visible = false;
  auto page = std::make_unique<Page>();
  page->Kind = kind;
  page->Title = title;
  page->Header = PageHeaderText(kind, title);
  page->Visible = true;
  pages_.push_back(std::move(page));
  current_ = pages_.size() - 1;
}

void MemoryPages::RefreshPageSelector() {
  entries_.clear();
  for (const auto& page : pages_) entries_.push_back(PageSelectorEntry(page->Kind, page->Title));
  if (pages_.empty()) {
    active_.reset();
    current_.reset();
  } else {
    active_ = pages_.size() - 1;
    current_ = pages_.size() - 1;
  }
}

ResultSink& MemoryPages::CurrentList() {
  return CurrentPage().List;
}

void MemoryPages::RelabelCurrentPage(const std::string& kind, const std::string& subject) {
  Page& page = CurrentPage();
  page.Kind = kind;
  page.Header = PageHeaderText(kind, subject);
}

std::string MemoryPages::SelectedRowText() {
  if (!current_) return {};
  const MemoryList& list = CurrentPage().List;
  if (!list.Selected()) return {};
  const Row& row = list.Rows()[*list.Selected()];
  return row.cells[kLine] + " " + row.cells[kFunction];
}

void MemoryPages::HideCurrentPage() {
  if (current_) CurrentPage().Visible = false;
}

void MemoryPages::ShowCurrentPage() {
  if (current_) CurrentPage().Visible = true;
}

std::int64_t& MemoryPages::CurrentBlockRow() {
  return CurrentPage().BlockRow;
}

void MemoryPages::CloseCurrentPage() {
  if (!current_) return;
  const std::size_t k = *current_;
  pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(k));
  if (k == 0) {
    current_.reset();
  } else {
    current_ = k - 1;
  }
}

void MemoryPages::SwitchTo(std::size_t k) {
  if (k >= pages_.size()) return;
  HideCurrentPage();
  current_ = k;
  ShowCurrentPage();
}

}  // namespace pbz
