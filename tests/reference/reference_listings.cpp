#include "reference/reference_listings.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <vector>

#include "match/normalise.h"
#include "match/word_tests.h"
#include "scan/source_file.h"
#include "scan/source_set.h"

namespace pbz::reference {

namespace {

const Rgb kRed{220, 0, 0};

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// Every leading space and TAB, in any mix.
std::string_view RemoveIndentation(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  return line;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Right-aligned in 6 characters; a longer number is shown whole.
std::string Padded(std::int64_t number) {
  std::string text = std::to_string(number);
  if (text.size() < 6) text.insert(0, 6 - text.size(), ' ');
  return text;
}

// "Procedure", "ProcedureC", "ProcedureDLL" or "ProcedureCDLL", then a space,
// a TAB, a "." or the end of the line.
bool IsProcedureLineText(std::string_view line) {
  for (std::string_view keyword : {"Procedure", "ProcedureC", "ProcedureDLL", "ProcedureCDLL"}) {
    if (!StartsWith(line, keyword)) continue;
    if (line.size() == keyword.size()) return true;
    const char next = line[keyword.size()];
    if (next == ' ' || next == '\t' || next == '.') return true;
  }
  return false;
}

bool IsDeclarationKeywordLine(bool allKeywords, std::string_view line) {
  if (!allKeywords) return StartsWith(line, "Global");
  for (std::string_view keyword :
       {"Protected", "Static", "Shared", "Procedure ", "Procedure.", "Global"}) {
    if (StartsWith(line, keyword)) return true;
  }
  return false;
}

}  // namespace

// --- The procedure listing -------------------------------------------------

void ListProcedures(const SourceSet& set, ResultSink& list, ScanControl& control,
                    ProcedureIndex& index) {
  control.ScanStarted();
  index.clear();
  bool yellow = false;  // starts at cyan
  for (std::size_t source = 0; source < set.size(); ++source) {
    const std::optional<std::string> file = ReadSourceFile(set[source].Path);
    if (!file) continue;
    std::int64_t lineNumber = 1;
    int rowCount = 0;
    LineSplitter lines(*file);
    std::string_view line;
    while (lines.Next(line)) {
      std::string_view prepared = RemoveIndentation(line);
      const std::size_t semicolon = prepared.find(';');
      if (semicolon != std::string_view::npos) prepared = prepared.substr(0, semicolon);
      if (IsProcedureLineText(prepared)) {
        index.push_back(ProcedureEntry{std::string(prepared), FileNameOf(set[source].Path),
                                       lineNumber, source});
        if (rowCount == 0) yellow = !yellow;
        Row row = RowFromText(Padded(lineNumber) + "\n\n\n" + std::string(prepared) + "\n" +
                              FileNameOf(set[source].Path));
        list.AddRow(row);
        ++rowCount;
        Row coloured = row;
        coloured.background = yellow ? Rgb{255, 255, 230} : Rgb{185, 255, 255};
        list.UpdateRow(list.RowCount() - 1, coloured);
      }
      ++lineNumber;
      if (control.AbortCheck()) {
        control.ScanEnded();
        return;
      }
    }
  }
  control.ScanEnded();
}

// --- The term search -------------------------------------------------------

void TermSearchListing(const std::string& term, const SourceSet& set, PageHost& pages,
                       ScanControl& control) {
  control.ScanStarted();
  pages.RelabelCurrentPage("Terms: ", term);
  ResultSink& list = pages.CurrentList();
  bool flag = false;
  for (const SourceFileEntry& entry : set) {
    flag = !flag;
    bool inside = false;
    std::string enclosing;
    bool fileHasRows = false;
    int rowsInFile = 0;
    const std::optional<std::string> file = ReadSourceFile(entry.Path);
    if (file) {
      std::int64_t lineNumber = 1;
      LineSplitter lines(*file);
      std::string_view line;
      while (lines.Next(line)) {
        const std::string prepared(RemoveIndentation(line));
        bool caseDiffers = false;
        if (!StartsWith(prepared, ";")) {
          if (IsProcedureStart(prepared)) {
            inside = true;
            enclosing = Padded(lineNumber) + " " + prepared;
          } else if (IsProcedureEnd(prepared)) {
            inside = false;
          }
          const TermWordResult result = TermWordTest(prepared, term);
          const std::string mark(result.UsageMark);
          if (result.Value != 0) {
            if (result.Value < 0) caseDiffers = true;
            if (!fileHasRows) {
              list.AddRow(Row{});
              fileHasRows = true;
            }
            list.AddRow(RowFromText(std::to_string(lineNumber) + "\n" + prepared));
            ++rowsInFile;
            Row row = RowFromText(std::to_string(lineNumber) + "\n" + prepared);
            int shade = 0;
            if (inside) {
              row.cells[kFunction] = enclosing;
              if (IsDeclarationKeywordLine(true, prepared)) shade = 50;
            } else if (IsDeclarationKeywordLine(false, prepared)) {
              shade = 50;
            }
            row.cells[kFile] = FileNameOf(entry.Path);
            if (!mark.empty()) row.cells[kCount] = mark;
            row.background = flag ? Rgb{255, 255, static_cast<std::uint8_t>(240 - shade)}
                                  : Rgb{static_cast<std::uint8_t>(195 - shade), 255, 255};
            if (caseDiffers) row.text[kCalls] = kRed;
            list.UpdateRow(list.RowCount() - 1, row);
          }
        }
        ++lineNumber;
        if (control.AbortCheck()) return;  // Stop stays enabled
      }
    }
    if (rowsInFile == 0) flag = !flag;
  }
  control.ScanEnded();
}

// --- Calls of one procedure ------------------------------------------------

namespace {

std::string CallTermFromText(std::string_view procedureText) {
  std::string term(procedureText.substr(0, procedureText.find('(')));
  term += "(";
  term.erase(std::remove(term.begin(), term.end(), ' '), term.end());
  return term;
}

std::int64_t ListProcedureCalls(const std::string& procedureText, const SourceSet& set,
                                PageHost& pages, ScanControl& control) {
  control.ScanStarted();
  pages.OpenResultPage("Proc: ", procedureText);
  pages.RefreshPageSelector();
  ResultSink& list = pages.CurrentList();
  const std::string callTerm = CallTermFromText(procedureText);
  bool flag = false;
  for (const SourceFileEntry& entry : set) {
    flag = !flag;
    bool inside = false;
    std::string enclosing;
    bool fileHasRows = false;
    int rowsInFile = 0;
    const std::optional<std::string> file = ReadSourceFile(entry.Path);
    if (file) {
      std::int64_t lineNumber = 1;
      LineSplitter lines(*file);
      std::string_view line;
      while (lines.Next(line)) {
        const std::string prepared = NormaliseCallLine(RemoveIndentation(line), callTerm);
        bool caseDiffers = false;
        if (IsProcedureStart(prepared)) {
          inside = true;
          enclosing = Padded(lineNumber) + " " + prepared;
        } else {
          if (IsProcedureEnd(prepared)) inside = false;
          const int result = CallWordTest(prepared, callTerm);
          if (result != 0) {
            if (result < 0) caseDiffers = true;
            if (!fileHasRows) {
              list.AddRow(Row{});
              fileHasRows = true;
            }
            Row row = RowFromText(std::to_string(lineNumber) + "\n" + prepared);
            ++rowsInFile;
            if (inside) row.cells[kFunction] = enclosing;
            row.cells[kFile] = FileNameOf(entry.Path);
            row.background = flag ? Rgb{255, 255, 230} : Rgb{185, 255, 255};
            if (caseDiffers) row.text[kCalls] = kRed;
            list.AddRow(row);
          }
        }
        ++lineNumber;
        if (control.AbortCheck()) return 0;  // Stop stays enabled
      }
    }
    if (rowsInFile == 0) flag = !flag;
  }
  control.ScanEnded();
  return static_cast<std::int64_t>(list.RowCount());
}

}  // namespace

std::int64_t ShowProcedureCalls(const std::string& word, const SourceSet& set, PageHost& pages,
                                ScanControl& control) {
  const std::string text = word.empty() ? pages.SelectedRowText() : "Procedure " + word;
  const std::size_t keyword = text.find("Procedure");
  if (keyword == std::string::npos) return 0;
  const std::string kept = text.substr(keyword);
  if (!IsProcedureStart(kept)) return 0;
  const std::size_t blank = kept.find_first_of(" \t");
  std::string procedureText = blank == std::string::npos ? "" : kept.substr(blank + 1);
  procedureText.erase(0, procedureText.find_first_not_of(" \t"));
  pages.HideCurrentPage();
  const std::int64_t result = ListProcedureCalls(procedureText, set, pages, control);
  pages.ShowCurrentPage();
  return result;
}

// --- All procedure calls ---------------------------------------------------

namespace {

std::vector<std::int64_t> PositionOf(const SourceSet& set, std::size_t entry, std::int64_t line) {
  std::vector<std::int64_t> position = IncludeChain(set, entry);
  position.push_back(line);
  return position;
}

bool IsDeclareRow(std::string_view prepared) {
  for (std::string_view keyword : {"Declare", "DeclareC", "DeclareDLL", "DeclareCDLL"}) {
    if (StartsWith(prepared, keyword) && prepared.size() > keyword.size() &&
        (prepared[keyword.size()] == ' ' || prepared[keyword.size()] == '\t' ||
         prepared[keyword.size()] == '.')) {
      return true;
    }
  }
  return false;
}

// The text after the keyword and its blank; a TAB after the keyword counts
// like a space, as the procedure listing lets it stand there.
std::string ProcedureTextOfDefinition(const std::string& definitionLine) {
  const std::size_t blank = definitionLine.find_first_of(" \t");
  if (blank == std::string::npos) return definitionLine;
  return std::string(RemoveIndentation(std::string_view(definitionLine).substr(blank + 1)));
}

struct CallRecord {
  std::vector<std::int64_t> Position;
  bool Declaration = false;
};

}  // namespace

void ListAllProcedureCalls(const ProcedureIndex& index, const SourceSet& set, PageHost& pages,
                           ScanControl& control, DeclareList& declares,
                           const ClipboardSetter& setClipboard) {
  bool stop = false;
  control.ScanStarted();
  declares.clear();
  for (const ProcedureEntry& procedure : index) {
    std::int64_t callCount = 0;
    ResultSink& list = pages.CurrentList();
    Row header =
        RowFromText(std::to_string(procedure.LineNumber) + "\n" + procedure.DefinitionLine);
    header.cells[kFile] = procedure.FileName;
    list.AddRow(header);
    pages.CurrentBlockRow() = static_cast<std::int64_t>(list.RowCount()) - 1;
    header.background = Rgb{220, 220, 220};
    list.UpdateRow(static_cast<std::size_t>(pages.CurrentBlockRow()), header);
    const std::string callTerm =
        CallTermFromText(ProcedureTextOfDefinition(procedure.DefinitionLine));
    std::vector<CallRecord> calls;

    for (std::size_t e = 0; e < set.size() && !stop; ++e) {
      bool inside = false;
      std::string enclosing;
      const std::optional<std::string> file = ReadSourceFile(set[e].Path);
      if (!file) continue;
      std::int64_t lineNumber = 1;
      LineSplitter lines(*file);
      std::string_view line;
      while (lines.Next(line)) {
        const std::string prepared = NormaliseCallLine(RemoveIndentation(line), callTerm);
        bool caseDiffers = false;
        if (IsProcedureStart(prepared)) {
          inside = true;
          enclosing = std::to_string(lineNumber) + " " + prepared;
        } else {
          if (IsProcedureEnd(prepared)) inside = false;
          const int result = CallWordTest(prepared, callTerm);
          if (result != 0) {
            if (result < 0) caseDiffers = true;
            Row row = RowFromText(std::to_string(lineNumber) + "\n" + prepared);
            ++callCount;
            calls.push_back(CallRecord{PositionOf(set, e, lineNumber), IsDeclareRow(prepared)});
            if (inside) row.cells[kFunction] = enclosing;
            row.cells[kFile] = FileNameOf(set[e].Path);
            if (caseDiffers) row.text[kCalls] = kRed;
            list.AddRow(row);
          }
        }
        ++lineNumber;
        if (control.AbortCheck()) {
          stop = true;
          break;
        }
      }
    }
    if (stop) break;

    list.AppendRow(Row{});
    header.cells[kCount] = std::to_string(callCount);
    if (callCount == 0) header.background = Rgb{255, 185, 0};
    // Marked when the earliest call that is no Declare line stands before
    // the definition and no Declare line stands before that call.
    const std::vector<std::int64_t> definition =
        PositionOf(set, procedure.Source, procedure.LineNumber);
    const CallRecord* earliest = nullptr;
    for (const CallRecord& call : calls) {
      if (!call.Declaration && (!earliest || call.Position < earliest->Position)) earliest = &call;
    }
    bool marked = earliest && earliest->Position < definition;
    for (const CallRecord& call : calls) {
      if (marked && call.Declaration && call.Position < earliest->Position) marked = false;
    }
    if (marked) {
      header.cellBackground[kLine] = kRed;
      declares.push_back(DeclareEntry{procedure.DefinitionLine, procedure.FileName});
    }
    list.UpdateRow(static_cast<std::size_t>(pages.CurrentBlockRow()), header);
  }
  control.ScanEnded();
  const std::string block = reference::CopyDeclareBlock(declares);
  if (!block.empty() && setClipboard) setClipboard(block);
}

// --- The declaration block -------------------------------------------------

std::string CopyDeclareBlock(DeclareList& declares) {
  if (declares.empty()) return {};
  const auto byteLess = [](const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    });
  };
  const auto byLine = [&](const DeclareEntry& a, const DeclareEntry& b) {
    return byteLess(a.DefinitionLine, b.DefinitionLine);
  };
  std::stable_sort(declares.begin(), declares.end(),
                   [&](const DeclareEntry& a, const DeclareEntry& b) {
                     return byteLess(a.FileName, b.FileName);
                   });
  declares.insert(declares.begin(), DeclareEntry{";" + declares.front().FileName, ""});
  std::string group = declares[1].FileName;
  std::size_t groupStart = 1;
  for (std::size_t i = 1; i < declares.size(); ++i) {
    if (declares[i].FileName == group) {
      if (i + 1 == declares.size()) {
        std::stable_sort(declares.begin() + static_cast<std::ptrdiff_t>(groupStart), declares.end(),
                         byLine);
      }
      continue;
    }
    std::stable_sort(declares.begin() + static_cast<std::ptrdiff_t>(groupStart),
                     declares.begin() + static_cast<std::ptrdiff_t>(i), byLine);
    declares.insert(declares.begin() + static_cast<std::ptrdiff_t>(i),
                    DeclareEntry{"; Declares from: " + declares[i].FileName, ""});
    ++i;  // now at the entry that opened the new group
    group = declares[i].FileName;
    groupStart = i;
  }
  std::string text;
  for (const DeclareEntry& entry : declares) {
    std::string line = entry.DefinitionLine;
    // Only the leading keyword of a definition line changes.
    if (StartsWith(line, "Procedure")) {
      line.replace(0, 9, "Declare");
    }
    text += line + "\r\n";
  }
  return text;
}

}  // namespace pbz::reference
