#include "calls/all_calls.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "calls/all_calls_hits.h"
#include "calls/all_calls_order.h"
#include "core/text.h"
#include "match/normalise.h"

namespace pbz {

namespace {

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

// The procedure text of a definition line: what follows the keyword and its
// blank, leading blanks removed. A TAB after the keyword counts like a space,
// as it does for the procedure listing; a line without any blank is taken
// whole, which gives a call term that cannot match an ordinary call.
std::string_view ProcedureTextOf(std::string_view definitionLine) {
  const std::size_t blank = definitionLine.find_first_of(" \t");
  if (blank == std::string_view::npos) return definitionLine;
  return TrimLeadingBlanks(definitionLine.substr(blank + 1));
}

// Decides whether a procedure needs a declaration: its earliest call stands
// before its definition and no Declare line stands before that call.
class EarlyCallCheck {
 public:
  using Position = CompileOrder::Position;
  EarlyCallCheck(const CompileOrder& order, Position definition)
      : order_(order), definition_(definition) {}

  void NoteCall(Position position, bool isDeclaration) {
    std::optional<Position>& earliest = isDeclaration ? earliestDeclaration_ : earliestCall_;
    if (!earliest || order_.Before(position, *earliest)) earliest = position;
  }

  bool NeedsDeclaration() const {
    if (!earliestCall_ || !order_.Before(*earliestCall_, definition_)) return false;
    return !(earliestDeclaration_ && order_.Before(*earliestDeclaration_, *earliestCall_));
  }

 private:
  const CompileOrder& order_;
  Position definition_;
  std::optional<Position> earliestCall_;
  std::optional<Position> earliestDeclaration_;
};

// One block of the page: header row, a row per line that calls the procedure,
// closing row, then the count and the marks on the header row. Returns false
// when the user stopped the scan; the block then stays as far as it got.
//
// The calls come from memory, but the user can stop the listing at any line
// of the pass over the whole set that this block stands for: the lines
// between two calls are counted as one run (AbortCheckLines), each call line
// on its own after its row is added, so a stop leaves exactly the rows that a
// line-by-line pass would have left.
bool ListCallsOfProcedure(const ProcedureEntry& procedure, const std::vector<EntryHits>& calls,
                          const CallHitIndex& hits, const CompileOrder& order, const SourceSet& set,
                          PageHost& pages, ScanControl& control, DeclareList& declares) {
  ResultSink& list = pages.CurrentList();

  Row header;
  header.cells[kLine] = std::to_string(procedure.LineNumber);
  header.cells[kCalls] = procedure.DefinitionLine;
  header.cells[kFile] = procedure.FileName;
  header.background = kHeaderGrey;
  list.AddRow(header);
  pages.CurrentBlockRow() = static_cast<std::int64_t>(list.RowCount() - 1);

  EarlyCallCheck early(order, order.At(procedure.Source, procedure.LineNumber));
  std::int64_t count = 0;
  std::int64_t linesDone = 0;
  for (const EntryHits& entry : calls) {
    const std::string fileName(FileNamePart(set[entry.Entry].Path));
    const std::int64_t before = hits.LinesBefore(entry.Entry);
    for (const CallHit& hit : *entry.Hits) {
      const std::int64_t visit = before + hit.Line;
      if (control.AbortCheckLines(visit - 1 - linesDone)) return false;
      Row call;
      call.cells[kLine] = std::to_string(hit.Line);
      call.cells[kCalls] = hit.Prepared;
      call.cells[kFunction] = hit.Enclosing;
      call.cells[kFile] = fileName;
      if (hit.CaseDiffers) call.text[kCalls] = kCaseDiffersRed;
      list.AddRow(call);
      ++count;
      early.NoteCall(order.At(entry.Entry, hit.Line), hit.Declaration);
      if (control.AbortCheck()) return false;
      linesDone = visit;
    }
  }
  if (control.AbortCheckLines(hits.TotalLines() - linesDone)) return false;

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

  if (!index.empty()) {
    // Procedures of the same name (a file included twice) share their calls.
    std::vector<std::string> terms;
    std::vector<std::size_t> termOf;
    termOf.reserve(index.size());
    std::unordered_map<std::string, std::size_t> termIds;
    for (const ProcedureEntry& procedure : index) {
      std::string term = CallTermOf(ProcedureTextOf(procedure.DefinitionLine));
      const auto found = termIds.emplace(term, terms.size());
      if (found.second) terms.push_back(std::move(term));
      termOf.push_back(found.first->second);
    }
    // The calls of a term are let go after its last procedure, so they give
    // way to the rows as the page fills.
    std::vector<std::size_t> lastUse(terms.size(), 0);
    for (std::size_t p = 0; p < index.size(); ++p) lastUse[termOf[p]] = p;
    CallHitIndex hits(set, terms, control);
    const CompileOrder order(set);
    for (std::size_t p = 0; p < index.size(); ++p) {
      if (!ListCallsOfProcedure(index[p], hits.EntriesWithHits(termOf[p]), hits, order, set, pages,
                                control, declares)) {
        break;
      }
      if (lastUse[termOf[p]] == p) hits.Release(termOf[p]);
    }
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
