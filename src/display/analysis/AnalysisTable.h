#pragma once

#include <QString>
#include <array>

#include "evaluation/SessionStatistics.h"

namespace dyno {

// The figures of an analysed session as the Analysis page and its print show them:
// a row per run, the mean and the spread, in the shown units, and one line saying
// whether the runs agree.
inline constexpr int kAnalysisColumns = 6;
inline constexpr int kAnalysisRows = kRunsPerSession + 2;  // the runs, "Mean", "Spread"

using AnalysisRow = std::array<QString, kAnalysisColumns>;

struct AnalysisTable {
    AnalysisRow heading;
    std::array<AnalysisRow, kAnalysisRows> rows;
    QString verdict;
};

struct AnalysisUnits {
    bool powerInKw = false;
    bool speedInMph = false;
};

AnalysisTable analysisTableOf(const SessionStatistics& statistics, AnalysisUnits units);

}  // namespace dyno
