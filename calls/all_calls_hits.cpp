#include "calls/all_calls_hits.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "core/text.h"
#include "match/normalise.h"
#include "match/normalise_view.h"
#include "match/word_tests.h"
#include "scan/source_file.h"

namespace pbz {

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// "Declare", "DeclareC", "DeclareDLL" or "DeclareCDLL" followed by a space, a
// TAB or a type dot: the line declares a procedure instead of calling it.
bool IsDeclarationLine(std::string_view prepared) {
  for (std::string_view keyword : {"DeclareCDLL", "DeclareDLL", "DeclareC", "Declare"}) {
    if (StartsWith(prepared, keyword) && prepared.size() > keyword.size()) {
      const char next = prepared[keyword.size()];
      if (next == ' ' || next == '\t' || next == '.') return true;
    }
  }
  return false;
}

// The normalisation closes up " (" only from the first exact "Name " on. A
// name that ends "Procedure" (or no name) finds its key in the start line
// "Procedure (x)" itself and closes it to "Procedure(x)", which is no start
// line any more; for every other name a start line stays a start line.
bool ReshapesStartLines(std::string_view term) {
  const std::string_view name = term.substr(0, term.size() - 1);
  constexpr std::string_view kKeyword = "Procedure";
  return name.size() <= kKeyword.size() &&
         kKeyword.compare(kKeyword.size() - name.size(), name.size(), name) == 0;
}

std::array<bool, 256> CallSeparatorTable() {
  std::array<bool, 256> table{};
  for (const char c : kCallSeparators) table[static_cast<unsigned char>(c)] = true;
  return table;
}

// Names are hashed from their last letter to their first, folded, so that
// the pieces before a "(" can be hashed while walking back from it.
constexpr std::uint64_t kHashSeed = 1469598103934665603ULL;
inline std::uint64_t HashStep(std::uint64_t h, char c) {
  return (h ^ static_cast<unsigned char>(FoldAscii(c))) * 1099511628211ULL;
}

std::uint64_t BackwardHash(std::string_view name) {
  std::uint64_t h = kHashSeed;
  for (std::size_t i = name.size(); i > 0; --i) h = HashStep(h, name[i - 1]);
  return h;
}

// A structural line of a file: a start or end line by its plain text.
struct Landmark {
  std::int64_t Line = 0;
  bool Start = false;
  std::string_view Text;
};

struct Candidate {
  std::uint32_t Term = 0;
  std::int64_t Line = 0;
  std::string_view Text;
  bool operator<(const Candidate& other) const {
    return Term != other.Term ? Term < other.Term : Line < other.Line;
  }
};

// The straightforward per-line scan of one term over one file.
struct ExactScan {
  std::uint32_t Term = 0;
  bool Inside = false;
  std::string Enclosing;
  std::vector<CallHit> Hits;
};

}  // namespace

CallHitIndex::CallHitIndex(const SourceSet& set, const std::vector<std::string>& terms,
                           ScanControl& control)
    : hitsByTerm_(terms.size()), entriesByTerm_(terms.size()), entriesReady_(terms.size()) {
  // The names to look for, by folded backward hash; the reshaping ones aside.
  std::unordered_map<std::uint64_t, std::vector<std::uint32_t>> byHash;
  std::vector<std::uint32_t> exactTerms;
  std::size_t longestName = 0;
  for (std::uint32_t t = 0; t < terms.size(); ++t) {
    const std::string_view term = terms[t];
    if (term.empty() || ReshapesStartLines(term)) {
      exactTerms.push_back(t);
      continue;
    }
    const std::string_view name = term.substr(0, term.size() - 1);
    byHash[BackwardHash(name)].push_back(t);
    longestName = std::max(longestName, name.size());
  }
  static const std::array<bool, 256> separator = CallSeparatorTable();

  // Distinct paths, in order of first appearance.
  std::unordered_map<std::string_view, std::uint32_t> fileOfPath;
  std::vector<std::uint32_t> fileOfEntry(set.size());
  for (std::size_t e = 0; e < set.size(); ++e) {
    const auto found =
        fileOfPath.emplace(set[e].Path, static_cast<std::uint32_t>(entriesOfFile_.size()));
    if (found.second) entriesOfFile_.emplace_back();
    fileOfEntry[e] = found.first->second;
    entriesOfFile_[found.first->second].push_back(e);
  }
  std::vector<std::string_view> pathOfFile(entriesOfFile_.size());
  for (const auto& [path, file] : fileOfPath) pathOfFile[file] = path;

  std::vector<std::int64_t> linesOfFile(entriesOfFile_.size(), 0);
  std::vector<bool> readable(entriesOfFile_.size(), false);
  std::vector<Landmark> landmarks;
  std::vector<Candidate> candidates;
  std::vector<ExactScan> exact(exactTerms.size());
  for (std::size_t k = 0; k < exactTerms.size(); ++k) exact[k].Term = exactTerms[k];
  std::string scratch;

  for (std::uint32_t file = 0; file < entriesOfFile_.size(); ++file) {
    control.KeepAlive();
    // One file in memory at a time.
    const std::optional<std::string> content = ReadSourceFile(std::string(pathOfFile[file]));
    if (!content) continue;
    readable[file] = true;
    landmarks.clear();
    candidates.clear();
    for (ExactScan& scan : exact) {
      scan.Inside = false;
      scan.Enclosing.clear();
      scan.Hits.clear();
    }

    LineSplitter lines(*content);
    std::string_view raw;
    std::int64_t number = 0;
    while (lines.Next(raw)) {
      ++number;
      const std::string_view trimmed = TrimLeadingBlanks(raw);
      // The comment cut never reaches into the keyword, so the plain text
      // tells start and end lines for every name but the reshaping ones.
      if (IsProcedureStart(trimmed)) {
        landmarks.push_back(Landmark{number, true, raw});
      } else if (IsProcedureEnd(trimmed)) {
        landmarks.push_back(Landmark{number, false, raw});
      }

      for (ExactScan& scan : exact) {
        const std::string_view term = terms[scan.Term];
        const std::string_view prepared = NormaliseCallLineInto(raw, term, scratch);
        if (IsProcedureStart(prepared)) {
          scan.Inside = true;
          scan.Enclosing.assign(std::to_string(number)).append(" ").append(prepared);
          continue;
        }
        if (IsProcedureEnd(prepared)) scan.Inside = false;
        const int hit = CallWordTest(prepared, term);
        if (hit == 0) continue;
        scan.Hits.push_back(CallHit{number, std::string(prepared),
                                    scan.Inside ? scan.Enclosing : std::string(), hit < 0,
                                    IsDeclarationLine(prepared)});
      }

      if (byHash.empty()) continue;
      // A call "Name(" in the prepared line is "Name", spaces, "(" here, with
      // a separator or the start of the line before the name.
      const char* data = raw.data();
      const std::size_t size = raw.size();
      for (const char* open = static_cast<const char*>(std::memchr(data, '(', size));
           open != nullptr;
           open = static_cast<const char*>(std::memchr(open + 1, '(', size - (open + 1 - data)))) {
        std::size_t end = static_cast<std::size_t>(open - data);
        while (end > 0 && data[end - 1] == ' ') --end;
        std::uint64_t h = kHashSeed;
        for (std::size_t start = end; start > 0; --start) {
          const char c = data[start - 1];
          if (c == ' ' || c == '(' || end - start + 1 > longestName) break;
          h = HashStep(h, c);
          const std::size_t from = start - 1;
          if (from > 0 && !separator[static_cast<unsigned char>(data[from - 1])]) continue;
          const auto found = byHash.find(h);
          if (found == byHash.end()) continue;
          const std::string_view piece(data + from, end - from);
          for (const std::uint32_t t : found->second) {
            const std::string_view term = terms[t];
            if (EqualsIgnoreAsciiCase(piece, term.substr(0, term.size() - 1))) {
              candidates.push_back(Candidate{t, number, raw});
            }
          }
        }
      }
    }
    linesOfFile[file] = number;

    for (ExactScan& scan : exact) {
      if (!scan.Hits.empty())
        hitsByTerm_[scan.Term].push_back(FileHits{file, std::move(scan.Hits)});
    }

    // Each candidate line, once per term, gets the exact tests; the start
    // and end lines before it say whether it lies in a procedure.
    std::sort(candidates.begin(), candidates.end());
    for (std::size_t i = 0; i < candidates.size();) {
      const std::uint32_t t = candidates[i].Term;
      const std::string_view term = terms[t];
      std::vector<CallHit> hits;
      std::int64_t previousLine = 0;
      for (; i < candidates.size() && candidates[i].Term == t; ++i) {
        const Candidate& c = candidates[i];
        if (c.Line == previousLine) continue;
        previousLine = c.Line;
        // The last start or end line above the candidate; searched, not
        // walked, since a file may hold many names with a call or two each.
        const auto above = std::lower_bound(
            landmarks.begin(), landmarks.end(), c.Line,
            [](const Landmark& landmark, std::int64_t line) { return landmark.Line < line; });
        const Landmark* last = above == landmarks.begin() ? nullptr : &*(above - 1);
        const std::string_view prepared = NormaliseCallLineInto(c.Text, term, scratch);
        // A start line is never a call, not even through a default value.
        if (IsProcedureStart(prepared)) continue;
        const bool inside = !IsProcedureEnd(prepared) && last != nullptr && last->Start;
        const int hit = CallWordTest(prepared, term);
        if (hit == 0) continue;
        CallHit row{c.Line, std::string(prepared), std::string(), hit < 0,
                    IsDeclarationLine(prepared)};
        if (inside) {
          row.Enclosing.assign(std::to_string(last->Line))
              .append(" ")
              .append(NormaliseCallLine(last->Text, term));
        }
        hits.push_back(std::move(row));
      }
      if (!hits.empty()) hitsByTerm_[t].push_back(FileHits{file, std::move(hits)});
    }
  }

  linesBefore_.assign(set.size() + 1, 0);
  for (std::size_t e = 0; e < set.size(); ++e) {
    const std::uint32_t file = fileOfEntry[e];
    linesBefore_[e + 1] = linesBefore_[e] + (readable[file] ? linesOfFile[file] : 0);
  }
  totalLines_ = linesBefore_[set.size()];
}

const std::vector<EntryHits>& CallHitIndex::EntriesWithHits(std::size_t term) {
  std::vector<EntryHits>& entries = entriesByTerm_[term];
  if (!entriesReady_[term]) {
    entriesReady_[term] = true;
    for (const FileHits& file : hitsByTerm_[term]) {
      for (const std::size_t e : entriesOfFile_[file.File]) {
        entries.push_back(EntryHits{e, &file.Hits});
      }
    }
    std::sort(entries.begin(), entries.end(),
              [](const EntryHits& a, const EntryHits& b) { return a.Entry < b.Entry; });
  }
  return entries;
}

void CallHitIndex::Release(std::size_t term) {
  std::vector<EntryHits>().swap(entriesByTerm_[term]);
  std::vector<FileHits>().swap(hitsByTerm_[term]);
  entriesReady_[term] = true;
}

}  // namespace pbz
