// The call-line normalisation without a copy for the common line.
#pragma once

#include <string>
#include <string_view>

namespace pbz {

// NormaliseCallLine for scans over many lines: the result is a view into
// line when nothing had to be closed up (most lines), else into scratch.
// The view is valid while line and scratch are unchanged.
std::string_view NormaliseCallLineInto(std::string_view line, std::string_view callTerm,
                                       std::string& scratch);

}  // namespace pbz
