#pragma once

#include <QStringList>

#include "display/analysis/AnalysisPlot.h"
#include "display/analysis/AnalysisTable.h"
#include "display/analysis/ChannelOverlay.h"

namespace dyno {

// What the Analysis page's cursor reads at column `x` of the graph: the speed there,
// then for each run drawn its wheel and engine-side power, its engine speed (when
// recorded) and each shown channel in its unit, all at the run's point nearest that
// speed; for the mean, its wheel and engine-side power. A run the speed lies outside
// of reads "-".
QStringList analysisReadingAt(int x, const GraphScale& scale, const AnalysisWorkspace& analysis,
                              const AnalysisPlotChoice& choice, const ChannelOverlay& channels,
                              AnalysisUnits units);

}  // namespace dyno
