// The term search listing.
#pragma once

#include <string>

#include "core/row.h"
#include "core/scan_control.h"
#include "pages/page_host.h"
#include "scan/source_set.h"

namespace pbz {

inline const Rgb kTermBandYellow{255, 255, 240};
inline const Rgb kTermBandYellowDeclaration{255, 255, 190};
inline const Rgb kTermBandCyan{195, 255, 255};
inline const Rgb kTermBandCyanDeclaration{145, 255, 255};

// Relabels the current page as a "Terms: " page and appends a row for every
// line in which term occurs as a whole word.
void TermSearchListing(const std::string& term, const SourceSet& set, PageHost& pages,
                       ScanControl& control);

}  // namespace pbz
