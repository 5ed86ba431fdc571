// The batch command line: the listings printed instead of shown.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace pbz {

// args are the program's arguments without the program name. Returns the
// exit status when they ask for the batch command line (--list, --help,
// --version, or any other word starting with "--"); nullopt when the window
// should start with them as the IDE's tool arguments.
std::optional<int> RunBatchCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                       std::ostream& err);

}  // namespace pbz
