#include "core/row.h"

namespace pbz {

Row RowFromText(std::string_view text) {
  Row row;
  std::size_t cell = 0;
  std::size_t start = 0;
  while (cell + 1 < kColumnCount) {
    const std::size_t lf = text.find('\n', start);
    if (lf == std::string_view::npos) break;
    row.cells[cell++] = std::string(text.substr(start, lf - start));
    start = lf + 1;
  }
  row.cells[cell] = std::string(text.substr(start));
  return row;
}

void MemoryList::AddRow(const Row& row) {
  rows_.push_back(row);
  selected_ = rows_.size() - 1;
}

void MemoryList::AppendRow(const Row& row) {
  rows_.push_back(row);
}

void MemoryList::UpdateRow(std::size_t index, const Row& row) {
  if (index < rows_.size()) rows_[index] = row;
}

}  // namespace pbz
