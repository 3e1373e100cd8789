#pragma once

#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "display/curves/CurvePlot.h"
#include "display/curves/PixelTable.h"
#include "display/graph/DisplaySelection.h"
#include "display/graph/GraphAxes.h"
#include "display/graph/GraphCanvas.h"
#include "display/graph/GraphScale.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/SessionModel.h"

// The one redraw of the Graphs page ("Update Display", F2, every control of the
// page, the zoom and the cursor release): read the page, apply the one-shot boxes,
// evaluate the selected runs and draw frame, curves and legend.
namespace dyno {

// The six scale boxes of the Param. page as typed.
struct ScaleTexts {
    std::string startKmh, endKmh, startHp, endHp, startRpm, endRpm;
};

// The controls the update reads, as plain values. The update writes back what it
// changes in them (the Clear and Copy boxes it unticks, the run groups it clears);
// the page then shows these values.
struct GraphControls {
    ScaleTexts scaleTexts;
    // Item index of test1group .. test4group: 0..2 for run " 1" .. " 3", -1 for none.
    std::array<int, kSessionSlots> runChoice{0, -1, -1, -1};
    std::array<bool, kSessionSlots> powerTicked{true, true, true, true};  // Hp (Kw)
    std::array<bool, kSessionSlots> torqueTicked{};                       // Tq
    std::array<bool, kSessionSlots> clearTicked{};                        // reset1 .. reset4
    std::array<bool, 3> copyTicked{};  // "Copy sess. 1->2", "1->3", "1->4"
    bool speedAndRpm = false;          // scalegroup shows "Speed + Rpm"
    bool fixedGearing = false;         // "Fixed Gearing"
    bool showAirCurve = false;
    bool powerInKw = false;
    bool speedInMph = false;
    std::string airResistanceText = "0.030";
    std::string rollingResistanceText = "0.5";
    // "Update loaded tests with Rollerweight" and the weight typed beside it.
    bool useTypedRollerWeight = false;
    double typedRollerWeightKg = 184.0;
};

// The state the page keeps between updates (one, for the life of the window).
struct GraphState {
    GraphScale scale;
    GraphFlags flags;
    std::array<DisplaySelection, kSessionSlots> selections{};
    std::array<PixelTable, kSessionSlots> tables{};
    PlotBuffers buffers;
    // As read when the air/rolling resistance curve was last drawn; the print shows
    // them.
    double airResistance = 0.0;
    double rollingResistance = 0.0;
};

// The Clear and Copy boxes act once: a ticked Clear box leaves its slot's run group
// without selection, and every Clear and Copy box is unticked. Returns the slots
// (in the order 2, 3, 4) that session 1 is to be copied into.
std::vector<int> takeOneShots(GraphControls& controls);

struct GraphUpdateResult {
    std::vector<int> copiedInto;  // slots whose Remarks boxes now show session 1's texts
    std::array<QString, kSessionSlots> remarkLines;  // remarkline1 .. remarkline4
    ScaleProblem scaleProblem = ScaleProblem::none;  // the hint shown instead of the graph
};

// The whole update, in the page's order. `storeRemarksOfSession1` copies the Remarks
// page of session 1 into slot 1 and runs before any copy; the canvas must hold
// painters on all five boxes.
GraphUpdateResult updateGraph(GraphState& state, GraphControls& controls, SessionModel& model,
                              EvaluationWorkspace& workspace, GraphCanvas& canvas,
                              const std::function<void()>& storeRemarksOfSession1 = {});

}  // namespace dyno
