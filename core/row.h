// A result row as a value, and the sink that listings write rows into.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pbz {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend bool operator==(Rgb x, Rgb y) { return x.r == y.r && x.g == y.g && x.b == y.b; }
  friend bool operator!=(Rgb x, Rgb y) { return !(x == y); }
};

enum Column : std::size_t { kLine = 0, kCalls = 1, kCount = 2, kFunction = 3, kFile = 4 };
inline constexpr std::size_t kColumnCount = 5;

// Text colour of the "Calls" cell of a hit whose letter case differs from
// the term, in every listing.
inline constexpr Rgb kCaseDiffersRed{220, 0, 0};

// Five cells ("Line", "Calls", "Count", "(in) Function", "in File"), a row
// background and optional per-cell text and background colours.
struct Row {
  std::array<std::string, kColumnCount> cells;
  std::optional<Rgb> background;
  std::array<std::optional<Rgb>, kColumnCount> text;
  std::array<std::optional<Rgb>, kColumnCount> cellBackground;

  friend bool operator==(const Row& a, const Row& b) {
    return a.cells == b.cells && a.background == b.background && a.text == b.text &&
           a.cellBackground == b.cellBackground;
  }
};

// A row from one text whose cells are separated by LF; missing cells are empty
// and anything after a fifth LF stays in the last cell.
Row RowFromText(std::string_view text);

// Where a listing puts its rows: the window's list, the batch printer or a test.
class ResultSink {
 public:
  virtual ~ResultSink() = default;
  // Appends the row, selects it and brings it into view (AddResultRow).
  virtual void AddRow(const Row& row) = 0;
  // Appends the row; the selection stays where it was.
  virtual void AppendRow(const Row& row) = 0;
  // Replaces an earlier row (a count written in later, a colour changed).
  virtual void UpdateRow(std::size_t index, const Row& row) = 0;
  virtual std::size_t RowCount() const = 0;
};

// Rows kept in memory: the model behind the batch command line and the tests.
class MemoryList : public ResultSink {
 public:
  void AddRow(const Row& row) override;
  void AppendRow(const Row& row) override;
  void UpdateRow(std::size_t index, const Row& row) override;
  std::size_t RowCount() const override { return rows_.size(); }

  const std::vector<Row>& Rows() const { return rows_; }
  std::optional<std::size_t> Selected() const { return selected_; }
  void Select(std::optional<std::size_t> index) { selected_ = index; }

 private:
  std::vector<Row> rows_;
  std::optional<std::size_t> selected_;
};

}  // namespace pbz
