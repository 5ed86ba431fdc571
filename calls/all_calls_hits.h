// The calls of many procedures at once, from one reading of every file: the
// memory behind the all-calls listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/scan_control.h"
#include "scan/source_set.h"

namespace pbz {

// One line that calls a procedure, with the cells the all-calls page shows.
struct CallHit {
  std::int64_t Line = 0;
  std::string Prepared;   // the line as the call test saw it
  std::string Enclosing;  // start line number, a space and the start line; empty outside
  bool CaseDiffers = false;
  bool Declaration = false;  // a Declare line: counted, never an early call
};

// The calls of one term in the file of one set entry.
struct EntryHits {
  std::size_t Entry = 0;
  const std::vector<CallHit>* Hits = nullptr;
};

// Reads every distinct Path of the set once and finds the calls of every
// call term ("Name(") in it, exactly as a line-by-line scan of each file with
// the call normalisation, the procedure start and end tests and the call
// word test would find them. A file's lines give the same calls whichever
// entry names it, so the work is per file, not per entry.
//
// Finding: every "(" of a line is looked at once; the text before it (back
// over spaces, then to the previous space or "(") is split after each call
// separator and each piece is looked up, letters folded, among the names.
// Only lines found so are normalised and tested. Terms whose name ends
// "Procedure" ("e(", "dure(", "Procedure(", "(" ...) can change how a start
// line "Procedure (x)" reads, so they are tested on every line instead.
class CallHitIndex {
 public:
  CallHitIndex(const SourceSet& set, const std::vector<std::string>& terms, ScanControl& control);

  // Line visits of one pass over the set: the lines of every readable entry.
  std::int64_t TotalLines() const { return totalLines_; }
  // The lines of the readable entries before entry.
  std::int64_t LinesBefore(std::size_t entry) const { return linesBefore_[entry]; }
  // The entries, in set order, whose file calls terms[term], with those calls.
  const std::vector<EntryHits>& EntriesWithHits(std::size_t term);
  // Frees the calls of terms[term]; asking for them again finds none.
  void Release(std::size_t term);

 private:
  struct FileHits {
    std::uint32_t File = 0;
    std::vector<CallHit> Hits;
  };

  std::vector<std::vector<FileHits>> hitsByTerm_;
  std::vector<std::vector<EntryHits>> entriesByTerm_;
  std::vector<bool> entriesReady_;
  std::vector<std::vector<std::size_t>> entriesOfFile_;
  std::vector<std::int64_t> linesBefore_;
  std::int64_t totalLines_ = 0;
};

}  // namespace pbz
