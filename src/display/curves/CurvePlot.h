#pragma once

#include <QPoint>
#include <array>
#include <vector>

#include "display/curves/PixelTable.h"
#include "display/curves/Spline.h"
#include "display/graph/DisplaySelection.h"
#include "display/graph/GraphScale.h"
#include "model/SessionLayout.h"
#include "model/TestSession.h"

class QPainter;

namespace dyno {

// Working buffers of the plot, made once and reused by every slot and update.
struct PlotBuffers {
    std::array<int, kSamplesPerRun> plotX{};  // column of each sample
    std::array<int, kSamplesPerRun> plotY{};  // row of each sample, for the curve at hand
    std::array<SplinePoint, kSamplesPerRun + 100> pointList{};
    std::array<double, kSamplesPerRun + 4> rpmRows{};  // engine-speed rows of each sample
    SplineScratch spline;
};

// What the plot reads besides the session: the scale and the page's choices.
struct PlotSettings {
    GraphScale scale;
    bool speedInMph = false;
    bool rpmAxisShown = false;
    bool speedOnXAxis = true;
    bool showAirCurve = false;
    bool fixedGearing = false;  // "Fixed Gearing"
    // "Airresistance value" and "Rolling resistance" of the Param. page.
    double airResistance = 0.030;
    double rollingResistance = 0.5;
};

enum class PlotOutcome {
    drawn,
    // No power value reaches the bottom of the power axis: nothing drawn, the
    // slot's cursor tables keep their contents.
    powerBelowScale,
    // The torque curve stays below the axis: power (and rpm) are drawn, the torque
    // curve and the cursor tables are not.
    torqueBelowScale,
};

// The first sample of `curve` to plot on an axis starting at `axisStart`: the first
// of samples 0..1997 at or above the start, less one so that the curve enters from
// below; -1 when none reaches the start (the slot's plot then ends).
int firstPlottedSample(const EvaluatedCurves::Curve& curve, double axisStart);

// Draws the curves of `session`'s evaluated run `run` for slot 1..4 onto the graph
// area (power, and as selected engine speed, torque and the air/rolling resistance
// curve) and rebuilds the slot's cursor tables. The curves must have been
// evaluated for that run and the scale must be drawable.
PlotOutcome plotSession(QPainter& graph, int slot, const TestSession& session, int run,
                        const DisplaySelection& selection, const PlotSettings& settings,
                        PlotBuffers& buffers, PixelTable& table);

}  // namespace dyno
