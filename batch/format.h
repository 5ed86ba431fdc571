// The three output formats of the batch command line.
#pragma once

#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

#include "core/row.h"
#include "scan/source_set.h"

namespace pbz {

enum class Format { kTsv, kJsonl, kGrep };

// "tsv", "jsonl" or "grep"; nothing for any other name.
std::optional<Format> ParseFormat(std::string_view name);

// Prints rows in the given format, texts converted for display. set is
// needed by the grep format only: it turns the "in File" name into a path.
// Output goes out in large blocks; the caller checks the stream's state.
void PrintRows(const std::vector<Row>& rows, Format format, const SourceSet& set,
               std::ostream& out);

}  // namespace pbz
