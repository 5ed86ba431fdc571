#include "calls/calls.h"

#include <optional>
#include <string_view>

#include "core/row.h"
#include "core/text.h"
#include "match/normalise.h"
#include "match/normalise_view.h"
#include "match/word_tests.h"
#include "scan/source_file.h"

namespace pbz {

namespace {

constexpr Rgb kCallBandYellow{255, 255, 230};
constexpr Rgb kCallBandCyan{185, 255, 255};

// The procedure text of a text that holds a procedure start line somewhere:
// what follows the first space or TAB after "Procedure", leading blanks
// removed (a TAB-separated name would otherwise lose everything up to the
// first space inside its parameters). Nothing when the text holds no such line.
std::optional<std::string> ProcedureTextOf(const std::string& text) {
  const std::size_t keyword = text.find("Procedure");
  if (keyword == std::string::npos) return std::nullopt;
  const std::string_view kept = std::string_view(text).substr(keyword);
  if (!IsProcedureStart(kept)) return std::nullopt;
  std::string_view rest;
  const std::size_t blank = kept.find_first_of(" \t");
  if (blank != std::string_view::npos) rest = TrimLeadingBlanks(kept.substr(blank + 1));
  return std::string(rest);
}

}  // namespace

std::int64_t ShowProcedureCalls(const std::string& word, const SourceSet& set, PageHost& pages,
                                ScanControl& control) {
  const std::string text = word.empty() ? pages.SelectedRowText() : "Procedure " + word;
  const std::optional<std::string> procedureText = ProcedureTextOf(text);
  if (!procedureText) return 0;
  pages.HideCurrentPage();
  const std::int64_t result = ListProcedureCalls(*procedureText, set, pages, control);
  pages.ShowCurrentPage();
  return result;
}

std::int64_t ListProcedureCalls(const std::string& procedureText, const SourceSet& set,
                                PageHost& pages, ScanControl& control) {
  control.ScanStarted();
  pages.OpenResultPage(kKindProc, procedureText);
  pages.RefreshPageSelector();
  ResultSink& list = pages.CurrentList();
  const std::string callTerm = CallTermOf(procedureText);

  // A call term without a name ("(") would take every parenthesis after a
  // separator for a call; no procedure has an empty name, so nothing is read.
  const bool nameless = callTerm.size() <= 1;
  const std::string_view name = std::string_view(callTerm).substr(0, callTerm.size() - 1);

  bool yellow = false;
  std::string scratch;
  std::string enclosing;
  for (std::size_t k = 0; k < set.size() && !nameless; ++k) {
    const SourceFileEntry& entry = set[k];
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
        const std::string_view trimmed = TrimLeadingBlanks(line);
        if (FindIgnoreCase(trimmed, name, 0) == std::string_view::npos) {
          // Without the name the line holds no call, and normalising it
          // would only cut its comment, which never reaches into the
          // keywords the procedure tests look at: most lines end here.
          if (IsProcedureStart(trimmed)) {
            inside = true;
            enclosing.assign(PadLineNumber(lineNumber))
                .append(" ")
                .append(NormaliseCallLineInto(line, callTerm, scratch));
          } else if (IsProcedureEnd(trimmed)) {
            inside = false;
          }
          ++lineNumber;
          if (control.AbortCheck()) return 0;
          continue;
        }
        const std::string_view prepared = NormaliseCallLineInto(line, callTerm, scratch);
        if (IsProcedureStart(prepared)) {
          // Start lines are never listed: that leaves out the definition and
          // calls in parameter defaults.
          inside = true;
          enclosing.assign(PadLineNumber(lineNumber)).append(" ").append(prepared);
        } else {
          if (IsProcedureEnd(prepared)) inside = false;
          const int hit = CallWordTest(prepared, callTerm);
          if (hit != 0) {
            if (rowsInFile == 0) list.AddRow(Row{});
            Row row;
            row.cells[kLine] = std::to_string(lineNumber);
            row.cells[kCalls] = std::string(prepared);
            if (inside) row.cells[kFunction] = enclosing;
            row.cells[kFile] = fileName;
            row.background = yellow ? kCallBandYellow : kCallBandCyan;
            if (hit < 0) row.text[kCalls] = kCaseDiffersRed;
            list.AddRow(row);
            ++rowsInFile;
          }
        }
        ++lineNumber;
        // Stop leaves the rows so far and the Stop button enabled.
        if (control.AbortCheck()) return 0;
      }
    }
    if (rowsInFile == 0) yellow = !yellow;
  }
  control.ScanEnded();
  return static_cast<std::int64_t>(list.RowCount());
}

}  // namespace pbz
