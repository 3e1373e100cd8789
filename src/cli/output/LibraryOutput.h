#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "library/IndexedSession.h"

namespace dyno::cli {

// Local time of an archive's modification, "YYYY-MM-DD HH:MM:SS".
std::string localTimeText(std::int64_t modifiedNs);

// One JSON object per line and archive: path, texts, modification time, dyno model,
// correction factor, per run its samples and maxima (km/h, hp), the mean peak
// engine-side power (hp) and the spread of the runs' peak power (%), null when the
// analysis has none; an unreadable archive carries its reason.
void printLibraryJson(const std::vector<IndexedSession>& sessions, std::ostream& out,
                      bool withAnalysis = false);

// The same as CSV with a header line, one row per archive.
void printLibraryCsv(const std::vector<IndexedSession>& sessions, std::ostream& out,
                     bool withAnalysis = false);

}  // namespace dyno::cli
