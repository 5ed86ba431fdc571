#include "calls/all_calls.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

#include "core/text.h"
#include "match/normalise.h"
#include "match/word_tests.h"
#include "scan/source_file.h"

namespace pbz {

namespace {

// Text colour of the "Calls" cell when the call differs in letter case.
const Rgb kCaseDiffersRed{220, 0, 0};

// Texts compared byte by byte as unsigned values: capitals before small
// letters, a text before any longer text it starts.
bool ByteLess(const std::string& a, const std::string& b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  });
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The declaration of a definition line: only the leading keyword changes, so
// "ProcedureDLL.s Foo()" gives "DeclareDLL.s Foo()" and a procedure named
// ProcedureCount keeps its name.
std::string DeclarationOf(const std::string& definitionLine) {
  constexpr std::string_view kKeyword = "Procedure";
  if (!StartsWith(definitionLine, kKeyword)) return definitionLine;
  return "Declare" + definitionLine.substr(kKeyword.size());
}

// "Declare", "DeclareC", "DeclareDLL" or "DeclareCDLL" followed by a space or
// a type dot: the line declares a procedure instead of calling it.
bool IsDeclarationLine(std::string_view prepared) {
  for (std::string_view keyword : {"DeclareCDLL", "DeclareDLL", "DeclareC", "Declare"}) {
    if (StartsWith(prepared, keyword) && prepared.size() > keyword.size()) {
      const char next = prepared[keyword.size()];
      if (next == ' ' || next == '.') return true;
    }
  }
  return false;
}

// The procedure text of a definition line: what follows the keyword and its
// blank, leading blanks removed. A TAB after the keyword counts like a space,
// as it does for the procedure listing; a line without any blank is taken
// whole, which gives a call term that cannot match an ordinary call.
std::string_view ProcedureTextOf(std::string_view definitionLine) {
  const std::size_t blank = definitionLine.find_first_of(" \t");
  if (blank == std::string_view::npos) return definitionLine;
  return TrimLeadingBlanks(definitionLine.substr(blank + 1));
}

// Where a line stands in the order the compiler reads the program: the
// include-statement lines from the main file down to the file, then the line.
// std::vector's operator< compares element by element, a prefix first.
using CompilePosition = std::vector<std::int64_t>;

CompilePosition PositionOf(const CompilePosition& chain, std::int64_t line) {
  CompilePosition position = chain;
  position.push_back(line);
  return position;
}

// Decides whether a procedure needs a declaration: its earliest call stands
// before its definition and no Declare line stands before that call.
class EarlyCallCheck {
 public:
  explicit EarlyCallCheck(CompilePosition definition) : definition_(std::move(definition)) {}

  void NoteCall(CompilePosition position, bool isDeclaration) {
    std::optional<CompilePosition>& earliest = isDeclaration ? earliestDeclaration_ : earliestCall_;
    if (!earliest || position < *earliest) earliest = std::move(position);
  }

  bool NeedsDeclaration() const {
    if (!earliestCall_ || !(*earliestCall_ < definition_)) return false;
    return !(earliestDeclaration_ && *earliestDeclaration_ < *earliestCall_);
  }

 private:
  CompilePosition definition_;
  std::optional<CompilePosition> earliestCall_;
  std::optional<CompilePosition> earliestDeclaration_;
};

// One block of the page: header row, a row per line that calls the procedure,
// closing row, then the count and the marks on the header row. Returns false
// when the user stopped the scan; the block then stays as far as it got.
bool ListCallsOfProcedure(const ProcedureEntry& procedure, const SourceSet& set,
                          const std::vector<CompilePosition>& chains, PageHost& pages,
                          ScanControl& control, DeclareList& declares) {
  ResultSink& list = pages.CurrentList();

  Row header;
  header.cells[kLine] = std::to_string(procedure.LineNumber);
  header.cells[kCalls] = procedure.DefinitionLine;
  header.cells[kFile] = procedure.FileName;
  header.background = kHeaderGrey;
  list.AddRow(header);
  pages.CurrentBlockRow() = static_cast<std::int64_t>(list.RowCount() - 1);

  const std::string term = CallTermOf(ProcedureTextOf(procedure.DefinitionLine));
  const CompilePosition noChain;
  const CompilePosition& definitionChain =
      procedure.Source < chains.size() ? chains[procedure.Source] : noChain;
  EarlyCallCheck early(PositionOf(definitionChain, procedure.LineNumber));
  std::int64_t count = 0;

  for (std::size_t e = 0; e < set.size(); ++e) {
    const std::optional<std::string> content = ReadSourceFile(set[e].Path);
    if (!content) continue;
    const std::string fileName(FileNamePart(set[e].Path));
    bool insideProcedure = false;
    std::string enclosing;
    LineSplitter lines(*content);
    std::string_view raw;
    std::int64_t lineNumber = 0;
    while (lines.Next(raw)) {
      ++lineNumber;
      const std::string prepared = NormaliseCallLine(TrimLeadingBlanks(raw), term);
      if (IsProcedureStart(prepared)) {
        // A definition line is never a call, not even through a default value.
        insideProcedure = true;
        enclosing = std::to_string(lineNumber) + " " + prepared;
      } else {
        if (IsProcedureEnd(prepared)) insideProcedure = false;
        const int hit = CallWordTest(prepared, term);
        if (hit != 0) {
          Row call;
          call.cells[kLine] = std::to_string(lineNumber);
          call.cells[kCalls] = prepared;
          if (insideProcedure) call.cells[kFunction] = enclosing;
          call.cells[kFile] = fileName;
          if (hit < 0) call.text[kCalls] = kCaseDiffersRed;
          list.AddRow(call);
          ++count;
          early.NoteCall(PositionOf(chains[e], lineNumber), IsDeclarationLine(prepared));
        }
      }
      if (control.AbortCheck()) return false;
    }
  }

  list.AppendRow(Row{});
  header.cells[kCount] = std::to_string(count);
  if (count == 0) header.background = kNeverCalledOrange;
  if (early.NeedsDeclaration()) {
    header.cellBackground[kLine] = kCalledBeforeRed;
    declares.push_back(DeclareEntry{procedure.DefinitionLine, procedure.FileName});
  }
  list.UpdateRow(static_cast<std::size_t>(pages.CurrentBlockRow()), header);
  return true;
}

}  // namespace

void ListAllProcedureCalls(const ProcedureIndex& index, const SourceSet& set, PageHost& pages,
                           ScanControl& control, DeclareList& declares,
                           const ClipboardSetter& setClipboard) {
  control.ScanStarted();
  declares.clear();
  std::vector<CompilePosition> chains;
  chains.reserve(set.size());
  for (std::size_t e = 0; e < set.size(); ++e) chains.push_back(IncludeChain(set, e));

  for (const ProcedureEntry& procedure : index) {
    if (!ListCallsOfProcedure(procedure, set, chains, pages, control, declares)) break;
  }

  control.ScanEnded();
  const std::string block = CopyDeclareBlock(declares);
  if (!block.empty() && setClipboard) setClipboard(block);
}

std::string CopyDeclareBlock(DeclareList& declares) {
  if (declares.empty()) return {};
  std::stable_sort(declares.begin(), declares.end(),
                   [](const DeclareEntry& a, const DeclareEntry& b) {
                     return ByteLess(a.FileName, b.FileName);
                   });

  DeclareList grouped;
  grouped.reserve(declares.size() * 2);
  for (auto first = declares.begin(); first != declares.end();) {
    const std::string fileName = first->FileName;
    const auto last = std::find_if(first, declares.end(), [&](const DeclareEntry& entry) {
      return entry.FileName != fileName;
    });
    std::stable_sort(first, last, [](const DeclareEntry& a, const DeclareEntry& b) {
      return ByteLess(a.DefinitionLine, b.DefinitionLine);
    });
    std::string heading = grouped.empty() ? ";" + fileName : "; Declares from: " + fileName;
    grouped.push_back(DeclareEntry{std::move(heading), std::string()});
    grouped.insert(grouped.end(), std::make_move_iterator(first), std::make_move_iterator(last));
    first = last;
  }
  declares = std::move(grouped);

  std::string text;
  for (const DeclareEntry& entry : declares) {
    text += DeclarationOf(entry.DefinitionLine);
    text += "\r\n";
  }
  return text;
}

}  // namespace pbz
