#include "batch/format.h"

#include <cstdint>
#include <string>
#include <unordered_map>

#include "core/text.h"

namespace pbz {

namespace {

// Collects output and hands it to the stream in large blocks: one write per
// block instead of one per row keeps big listings fast.
class BlockWriter {
 public:
  explicit BlockWriter(std::ostream& out) : out_(out) { buffer_.reserve(kBlock + 4096); }
  BlockWriter(const BlockWriter&) = delete;
  BlockWriter& operator=(const BlockWriter&) = delete;
  ~BlockWriter() { Flush(); }

  std::string& Buffer() { return buffer_; }
  // Called after each row.
  void RowDone() {
    if (buffer_.size() >= kBlock) Flush();
  }
  void Flush() {
    if (buffer_.empty()) return;
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  std::ostream& out_;
  std::string buffer_;
};

const char kHexDigits[] = "0123456789abcdef";

void AppendColour(std::string& s, Rgb colour) {
  s += "\"#";
  for (const std::uint8_t part : {colour.r, colour.g, colour.b}) {
    s += kHexDigits[part >> 4];
    s += kHexDigits[part & 0x0F];
  }
  s += '"';
}

// text is valid UTF-8 here (ToDisplay), so only quotes, backslashes and
// control characters need escapes.
void AppendJsonString(std::string& s, std::string_view text) {
  s += '"';
  for (const char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    switch (ch) {
      case '"':
        s += "\\\"";
        break;
      case '\\':
        s += "\\\\";
        break;
      case '\b':
        s += "\\b";
        break;
      case '\f':
        s += "\\f";
        break;
      case '\n':
        s += "\\n";
        break;
      case '\r':
        s += "\\r";
        break;
      case '\t':
        s += "\\t";
        break;
      default:
        if (byte < 0x20) {
          s += "\\u00";
          s += kHexDigits[byte >> 4];
          s += kHexDigits[byte & 0x0F];
        } else {
          s += ch;
        }
    }
  }
  s += '"';
}

// A JSON object from column index to colour for the cells that have one;
// nothing at all when none has. skip leaves out colours equal to it.
void AppendColourMap(std::string& s, const char* key,
                     const std::array<std::optional<Rgb>, kColumnCount>& colours,
                     const std::optional<Rgb>& skip) {
  bool any = false;
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    if (!colours[k] || colours[k] == skip) continue;
    s += any ? "," : ",\"";
    if (!any) {
      s += key;
      s += "\":{";
    }
    any = true;
    s += '"';
    s += static_cast<char>('0' + k);
    s += "\":";
    AppendColour(s, *colours[k]);
  }
  if (any) s += '}';
}

void AppendJsonRow(std::string& s, const Row& row) {
  s += "{\"cells\":[";
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    if (k > 0) s += ',';
    AppendJsonString(s, ToDisplay(row.cells[k]));
  }
  s += ']';
  if (row.background) {
    s += ",\"background\":";
    AppendColour(s, *row.background);
  }
  AppendColourMap(s, "text", row.text, std::nullopt);
  AppendColourMap(s, "cell_background", row.cellBackground, row.background);
  s += "}\n";
}

// One row per line: a TAB or a line end inside a cell must not split it.
void AppendTsvCell(std::string& s, std::string_view text) {
  for (const char ch : text) {
    switch (ch) {
      case '\t':
        s += "\\t";
        break;
      case '\\':
        s += "\\\\";
        break;
      case '\n':
        s += "\\n";
        break;
      case '\r':
        s += "\\r";
        break;
      default:
        s += ch;
    }
  }
}

void AppendTsvRow(std::string& s, const Row& row) {
  for (std::size_t k = 0; k < kColumnCount; ++k) {
    if (k > 0) s += '\t';
    AppendTsvCell(s, ToDisplay(row.cells[k]));
  }
  s += '\n';
}

// The lookup of Jump to Line (first entry whose file-name part equals the
// name, A-Z without case), built once: asking the set row by row would cost
// rows times files on a program with many files.
class PathByFileName {
 public:
  explicit PathByFileName(const SourceSet& set) {
    for (const SourceFileEntry& entry : set)
      paths_.try_emplace(Folded(FileNamePart(entry.Path)), entry.Path);
  }
  const std::string* Find(std::string_view name) const {
    const auto found = paths_.find(Folded(name));
    return found == paths_.end() ? nullptr : &found->second;
  }

 private:
  static std::string Folded(std::string_view text) {
    std::string folded(text);
    for (char& ch : folded) ch = FoldAscii(ch);
    return folded;
  }
  std::unordered_map<std::string, std::string> paths_;  // try_emplace keeps the first
};

// PATH:LINE:TEXT. The path stays as the bytes on disk so that an editor can
// open it; only the text is converted for display.
void AppendGrepRow(std::string& s, const Row& row, const PathByFileName& paths) {
  const std::int64_t line = TextToInteger(row.cells[kLine]);
  const std::string& fileName = row.cells[kFile];
  if (line <= 0 || fileName.empty()) return;
  const std::string* path = paths.Find(fileName);
  s += path ? *path : fileName;
  s += ':';
  s += std::to_string(line);
  s += ':';
  const std::string& text = row.cells[kCalls].empty() ? row.cells[kFunction] : row.cells[kCalls];
  for (const char ch : ToDisplay(text)) {
    // A line end would start a bogus entry of its own.
    s += (ch == '\n' || ch == '\r') ? ' ' : ch;
  }
  s += '\n';
}

}  // namespace

std::optional<Format> ParseFormat(std::string_view name) {
  if (name == "tsv") return Format::kTsv;
  if (name == "jsonl") return Format::kJsonl;
  if (name == "grep") return Format::kGrep;
  return std::nullopt;
}

void PrintRows(const std::vector<Row>& rows, Format format, const SourceSet& set,
               std::ostream& out) {
  BlockWriter writer(out);
  std::string& s = writer.Buffer();
  std::optional<PathByFileName> paths;
  if (format == Format::kGrep) paths.emplace(set);
  for (const Row& row : rows) {
    switch (format) {
      case Format::kTsv:
        AppendTsvRow(s, row);
        break;
      case Format::kJsonl:
        AppendJsonRow(s, row);
        break;
      case Format::kGrep:
        AppendGrepRow(s, row, *paths);
        break;
    }
    writer.RowDone();
  }
}

}  // namespace pbz
