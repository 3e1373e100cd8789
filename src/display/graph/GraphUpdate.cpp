#include "display/graph/GraphUpdate.h"

#include "display/graph/GraphFrame.h"
#include "display/graph/GraphLegend.h"
#include "evaluation/RunEvaluation.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

GraphScale readScale(const ScaleTexts& texts) {
    return {leadingInteger(texts.startKmh), leadingInteger(texts.endKmh),
            leadingInteger(texts.startHp),  leadingInteger(texts.endHp),
            leadingInteger(texts.startRpm), leadingInteger(texts.endRpm)};
}

// Drawn for every plotted slot whose Tq box is ticked, while "Display Air/Rolling
// resistance curve" is ticked and the speed runs across.
bool isAirCurveDrawn(const GraphState& state, bool isSpeedPlotDrawn) {
    if (!isSpeedPlotDrawn || !state.flags.showAirCurve) return false;
    for (const DisplaySelection& selection : state.selections) {
        if (selection.selectedRun() >= 0 && selection.torqueShown) return true;
    }
    return false;
}

}  // namespace

std::vector<int> takeOneShots(GraphControls& controls) {
    for (std::size_t s = 0; s < controls.clearTicked.size(); ++s) {
        if (controls.clearTicked[s]) controls.runChoice[s] = -1;
        controls.clearTicked[s] = false;
    }
    std::vector<int> copies;
    for (std::size_t box = 0; box < controls.copyTicked.size(); ++box) {
        if (controls.copyTicked[box]) copies.push_back(static_cast<int>(box) + 2);
        controls.copyTicked[box] = false;
    }
    return copies;
}

GraphUpdateResult updateGraph(GraphState& state, GraphControls& controls, SessionModel& model,
                              EvaluationWorkspace& workspace, GraphCanvas& canvas,
                              const std::function<void()>& storeRemarksOfSession1) {
    GraphUpdateResult result;
    GraphFlags& flags = state.flags;
    if (!flags.keepScale) state.scale = readScale(controls.scaleTexts);
    flags.keepScale = false;
    flags.showAirCurve = controls.showAirCurve;
    flags.powerInKw = controls.powerInKw;
    flags.speedInMph = controls.speedInMph;
    flags.speedOnXAxis = true;
    flags.rpmAxisShown = controls.speedAndRpm;

    result.copiedInto = takeOneShots(controls);
    for (int target : result.copiedInto) {
        if (storeRemarksOfSession1) storeRemarksOfSession1();
        model.copySlot1Into(target);
    }

    for (std::size_t s = 0; s < state.selections.size(); ++s) {
        DisplaySelection& selection = state.selections[s];
        for (int r = 0; r < kRunsPerSession; ++r) {
            selection.runShown[static_cast<std::size_t>(r)] = controls.runChoice[s] == r;
        }
        selection.powerShown = controls.powerTicked[s];
        selection.torqueShown = controls.torqueTicked[s];
    }

    result.scaleProblem = scaleProblem(state.scale, flags.rpmAxisShown);
    const bool drawable = result.scaleProblem == ScaleProblem::none;
    if (drawable) {
        drawSpeedFrame(canvas, state.scale);
        if (flags.rpmAxisShown && controls.fixedGearing) {
            flags.speedOnXAxis = false;
            drawRpmFrame(canvas, state.scale);
            clearRpmLabels(canvas);
        } else if (flags.rpmAxisShown) {
            drawRpmScale(canvas, state.scale);
        } else {
            clearRpmLabels(canvas);
        }
    } else {
        drawScaleHint(canvas, result.scaleProblem);
    }

    // The losses curve reads its two values only when it is drawn; the print shows
    // those of the last drawing.
    if (isAirCurveDrawn(state, drawable && (!controls.fixedGearing || flags.speedOnXAxis))) {
        state.airResistance = leadingNumber(controls.airResistanceText);
        state.rollingResistance = leadingNumber(controls.rollingResistanceText);
    }
    const EvaluationOptions options{flags.speedInMph, flags.powerInKw, flags.rpmAxisShown,
                                    controls.useTypedRollerWeight, controls.typedRollerWeightKg};
    PlotSettings plot;
    plot.scale = state.scale;
    plot.speedInMph = flags.speedInMph;
    plot.rpmAxisShown = flags.rpmAxisShown;
    plot.speedOnXAxis = flags.speedOnXAxis;
    plot.showAirCurve = flags.showAirCurve;
    plot.fixedGearing = controls.fixedGearing;
    plot.airResistance = state.airResistance;
    plot.rollingResistance = state.rollingResistance;

    for (int s = 1; s <= kSessionSlots; ++s) {
        const auto index = static_cast<std::size_t>(s - 1);
        DisplaySelection& selection = state.selections[index];
        const int run = selection.selectedRun();
        if (run < 0) continue;
        evaluate(model, s, run, options, workspace);
        selection.plotted = true;
        selection.plottedRun = run;
        selection.legendShown = true;
        // Without a drawable scale the legend still shows the run's maximum.
        if (drawable) {
            plotSession(canvas.graph, s, model.slot(s), run, selection, plot, state.buffers,
                        state.tables[index]);
        }
    }

    result.remarkLines =
        drawLegend(canvas.legend, canvas.texts, model, state.selections, flags.powerInKw);
    return result;
}

}  // namespace dyno
