// The listings written down as plainly as they are described: every file
// read again for every procedure, one line at a time, nothing remembered.
// They share only the small parts (line reading, the word tests, the call
// normalisation) with the program, so a test can hold the program's faster
// listings against them.
#pragma once

#include <cstdint>
#include <string>

#include "calls/all_calls.h"
#include "core/row.h"
#include "core/scan_control.h"
#include "pages/page_host.h"
#include "scan/procedures.h"
#include "scan/source_set.h"

namespace pbz::reference {

void ListProcedures(const SourceSet& set, ResultSink& list, ScanControl& control,
                    ProcedureIndex& index);

void TermSearchListing(const std::string& term, const SourceSet& set, PageHost& pages,
                       ScanControl& control);

std::int64_t ShowProcedureCalls(const std::string& word, const SourceSet& set, PageHost& pages,
                                ScanControl& control);

void ListAllProcedureCalls(const ProcedureIndex& index, const SourceSet& set, PageHost& pages,
                           ScanControl& control, DeclareList& declares,
                           const ClipboardSetter& setClipboard);

std::string CopyDeclareBlock(DeclareList& declares);

}  // namespace pbz::reference
