// All procedure calls with their counts, and the declaration block.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/row.h"
#include "core/scan_control.h"
#include "pages/page_host.h"
#include "scan/procedures.h"
#include "scan/source_set.h"

namespace pbz {

struct DeclareEntry {
  std::string DefinitionLine;
  std::string FileName;
};
using DeclareList = std::vector<DeclareEntry>;

inline const Rgb kHeaderGrey{220, 220, 220};
inline const Rgb kNeverCalledOrange{255, 185, 0};
inline const Rgb kCalledBeforeRed{220, 0, 0};

// Receives the declaration block (8-bit text, CR LF after every line).
using ClipboardSetter = std::function<void(const std::string&)>;

// Fills the current page with one block per procedure, rebuilds declares,
// then runs CopyDeclareBlock with setClipboard.
void ListAllProcedureCalls(const ProcedureIndex& index, const SourceSet& set, PageHost& pages,
                           ScanControl& control, DeclareList& declares,
                           const ClipboardSetter& setClipboard);

// Sorts declares by file, inserts the file header entries and returns the
// block text; empty (and declares unchanged) when the list is empty.
std::string CopyDeclareBlock(DeclareList& declares);

}  // namespace pbz
