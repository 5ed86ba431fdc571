#include "scan/procedures.h"

#include <optional>

#include "core/text.h"
#include "scan/source_file.h"

namespace pbz {

bool IsProcedureLine(std::string_view prepared) {
  constexpr std::string_view kKeyword = "Procedure";
  if (prepared.compare(0, kKeyword.size(), kKeyword) != 0) return false;
  const std::string_view rest = prepared.substr(kKeyword.size());
  // The calling-convention suffixes, longest first so "CDLL" is not taken as "C".
  for (const std::string_view suffix : {"CDLL", "DLL", "C", ""}) {
    if (rest.compare(0, suffix.size(), suffix) != 0) continue;
    if (rest.size() == suffix.size()) return true;
    const char next = rest[suffix.size()];
    if (next == ' ' || next == '\t' || next == '.') return true;
  }
  return false;
}

void ListProcedures(const SourceSet& set, ResultSink& list, ScanControl& control,
                    ProcedureIndex& index) {
  control.ScanStarted();
  index.clear();
  // Starts at cyan so that the first file with rows turns it to yellow; a file
  // without rows takes no turn.
  bool yellow = false;
  bool stopped = false;
  for (std::size_t source = 0; source < set.size() && !stopped; ++source) {
    const std::optional<std::string> content = ReadSourceFile(set[source].Path);
    if (!content) continue;
    const std::string fileName(FileNamePart(set[source].Path));
    std::size_t rows = 0;
    LineSplitter lines(*content);
    std::string_view line;
    for (std::int64_t number = 1; lines.Next(line); ++number) {
      std::string_view prepared = TrimLeadingBlanks(line);
      prepared = prepared.substr(0, prepared.find(';'));
      if (IsProcedureLine(prepared)) {
        if (rows == 0) yellow = !yellow;
        ProcedureEntry entry{std::string(prepared), fileName, number, source};
        Row row;
        row.cells[kLine] = PadLineNumber(number);
        row.cells[kFunction] = entry.DefinitionLine;
        row.cells[kFile] = fileName;
        row.background = yellow ? kProcedureYellow : kProcedureCyan;
        index.push_back(std::move(entry));
        list.AddRow(row);
        ++rows;
      }
      if (control.AbortCheck()) {
        stopped = true;
        break;
      }
    }
  }
  control.ScanEnded();
}

}  // namespace pbz
