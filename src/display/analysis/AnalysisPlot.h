#pragma once

#include <QColor>
#include <array>

#include "display/analysis/ChannelOverlay.h"
#include "display/graph/GraphCanvas.h"
#include "display/graph/GraphScale.h"
#include "evaluation/AnalysisWorkspace.h"
#include "model/SessionLayout.h"

namespace dyno {

// What the Analysis page draws of an analysed session: its runs, or their mean,
// and which of the three powers.
struct AnalysisPlotChoice {
    std::array<bool, kRunsPerSession> runs{true, true, true};
    bool asMean = false;  // the session's mean curves instead of its runs'
    bool wheelPower = true;
    bool lossPower = true;
    bool enginePower = true;
};

// Where the curves sit on the graph's 600 x 400 pixels: speed across, power up, on
// the graph's own scale.
class AnalysisMapping {
  public:
    explicit AnalysisMapping(const GraphScale& scale);
    double x(double speed) const { return (speed - startSpeed_) * pixelsPerSpeed_; }
    double y(double power) const { return 399.0 - (power - startPower_) * pixelsPerPower_; }

  private:
    double startSpeed_, startPower_, pixelsPerSpeed_, pixelsPerPower_;
};

// Runs 1..3 are drawn in the colours of slots 1..3, the mean in slot 4's; the wheel
// power as a thin line, the engine-side power thick, the losses dashed.
QColor analysisRunColour(int run);  // 0..2, or kRunsPerSession for the mean

// The graph's frame and grid on `scale` (speed and power in the analysis' units),
// the chosen curves, the shown channels of the chosen runs over them, and the key to
// them in the legend box. A scale that cannot be drawn shows the graph's hint
// instead, as the Graphs page does.
void drawAnalysis(GraphCanvas& canvas, const GraphScale& scale, const AnalysisWorkspace& analysis,
                  const AnalysisPlotChoice& choice, const ChannelOverlay& channels = {});

}  // namespace dyno
