#include "match/term_search.h"

#include <optional>
#include <string_view>

#include "core/text.h"
#include "match/declaration.h"
#include "match/word_tests.h"
#include "scan/source_file.h"

namespace pbz {

namespace {

// Declaration lines take a darker shade of their file's band.
Rgb TermBand(bool yellow, bool declaration) {
  if (yellow) return declaration ? kTermBandYellowDeclaration : kTermBandYellow;
  return declaration ? kTermBandCyanDeclaration : kTermBandCyan;
}

}  // namespace

void TermSearchListing(const std::string& term, const SourceSet& set, PageHost& pages,
                       ScanControl& control) {
  control.ScanStarted();
  pages.RelabelCurrentPage(kKindTerms, term);
  ResultSink& list = pages.CurrentList();

  bool yellow = false;
  std::string enclosing;
  for (const SourceFileEntry& entry : set) {
    yellow = !yellow;
    bool inside = false;
    enclosing.clear();
    std::int64_t rowsInFile = 0;
    const std::optional<std::string> content = ReadSourceFile(entry.Path);
    if (content) {
      const std::string fileName(FileNamePart(entry.Path));
      LineSplitter lines(*content);
      std::string_view line;
      std::int64_t lineNumber = 1;
      while (lines.Next(line)) {
        const std::string_view prepared = TrimLeadingBlanks(line);
        if (prepared.empty() || prepared.front() != ';') {
          if (IsProcedureStart(prepared)) {
            inside = true;
            enclosing.assign(PadLineNumber(lineNumber)).append(" ").append(prepared);
          } else if (IsProcedureEnd(prepared)) {
            inside = false;
          }
          const TermWordResult hit = TermWordTest(prepared, term);
          if (hit.Value != 0) {
            if (rowsInFile == 0) list.AddRow(Row{});
            Row row;
            row.cells[kLine] = std::to_string(lineNumber);
            row.cells[kCalls] = std::string(prepared);
            row.cells[kCount] = std::string(hit.UsageMark);
            if (inside) row.cells[kFunction] = enclosing;
            row.cells[kFile] = fileName;
            // Inside a procedure every declaration keyword counts, outside
            // only "Global".
            row.background = TermBand(yellow, DeclarationTest(inside, prepared));
            if (hit.Value < 0) row.text[kCalls] = kCaseDiffersRed;
            list.AddRow(row);
            ++rowsInFile;
          }
        }
        ++lineNumber;
        // Stop leaves the rows so far and the Stop button enabled.
        if (control.AbortCheck()) return;
      }
    }
    if (rowsInFile == 0) yellow = !yellow;
  }
  control.ScanEnded();
}

}  // namespace pbz
