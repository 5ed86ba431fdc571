// The procedure listing and the procedure index it fills.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/row.h"
#include "core/scan_control.h"
#include "scan/source_set.h"

namespace pbz {

struct ProcedureEntry {
  std::string DefinitionLine;  // indentation removed, cut before its first ";"
  std::string FileName;        // file-name part of the file's Path
  std::int64_t LineNumber = 0;
  std::size_t Source = 0;  // index of the SourceSet entry that holds it
};

using ProcedureIndex = std::vector<ProcedureEntry>;

// A procedure definition line of the procedure listing: "Procedure",
// "ProcedureC", "ProcedureDLL" or "ProcedureCDLL" followed by a space, a TAB,
// a "." or the end of the (prepared) line.
bool IsProcedureLine(std::string_view prepared);

inline const Rgb kProcedureYellow{255, 255, 230};
inline const Rgb kProcedureCyan{185, 255, 255};

// Fills the current page with one row per procedure line and rebuilds index.
void ListProcedures(const SourceSet& set, ResultSink& list, ScanControl& control,
                    ProcedureIndex& index);

}  // namespace pbz
