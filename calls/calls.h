// Calls of one procedure.
#pragma once

#include <cstdint>
#include <string>

#include "core/scan_control.h"
#include "pages/page_host.h"
#include "scan/source_set.h"

namespace pbz {

// Finds the procedure from word ("Procedure " + word) or, for an empty word,
// from the current page's selected row, and lists its calls on a new page.
// Returns the listing's result, or 0 when no procedure was found (no page).
std::int64_t ShowProcedureCalls(const std::string& word, const SourceSet& set, PageHost& pages,
                                ScanControl& control);

// Opens a "Proc: " page for procedureText and lists every call. Returns the
// page's row count, or 0 when the scan was stopped.
std::int64_t ListProcedureCalls(const std::string& procedureText, const SourceSet& set,
                                PageHost& pages, ScanControl& control);

}  // namespace pbz
