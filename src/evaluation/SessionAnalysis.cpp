#include "evaluation/SessionAnalysis.h"

#include <algorithm>
#include <array>
#include <cstddef>

#include "evaluation/CorrectionApply.h"
#include "evaluation/EvaluationConstants.h"
#include "evaluation/RollerPower.h"

namespace dyno {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

RunFigures figuresOf(const RunAnalysis& run) {
    RunFigures figures;
    figures.coastDown = run.loss.verdict;
    const int points = accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex);
    if (points == 0) return figures;
    figures.hasData = true;
    const auto& power = run.curves.powerCurve;
    const auto peak = std::max_element(power.begin(), power.begin() + points);
    figures.peakWheelPower = *peak;
    figures.speedAtPeakPower = run.curves.speedCurve[at(static_cast<int>(peak - power.begin()))];
    const auto& torque = run.curves.torqueCurve;
    figures.peakTorque = *std::max_element(torque.begin(), torque.begin() + points);
    figures.hasEngineSide = run.engine.hasEngineSide;
    figures.peakEnginePower = run.engine.peakPower;
    return figures;
}

}  // namespace

void analyseSession(const TestSession& session, const EvaluationOptions& options,
                    AnalysisWorkspace& workspace) {
    const EvaluationConstants constants =
        evaluationConstantsOf(session.header, session.values, options);
    const RollerPowerScale scale =
        rollerPowerScaleOf(constants, options, factorInForce(session.correctionFactor));
    SessionStatistics& statistics = workspace.statistics();
    std::array<RunPowerCurve, kRunsPerSession> powerCurves{};
    std::array<const CoastDownLoss*, kRunsPerSession> losses{};

    for (int r = 0; r < kRunsPerSession; ++r) {
        RunAnalysis& run = workspace.run(r);
        run.evaluation = evaluateRunInto(session, r, options, workspace.evaluation(), run.curves);
        findCoastDownLoss(run.curves.speedCurve, run.evaluation.evalCount,
                          session.run(r).rollerPeriods, constants, scale, run.loss);
        computeEngineSide(run.curves, run.evaluation.evalCount, run.loss, run.engine);
        statistics.runs[at(r)] = figuresOf(run);
        losses[at(r)] = &run.loss;
        if (statistics.runs[at(r)].hasData) {
            powerCurves[at(r)] = {&run.curves,
                                  accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex)};
        }
    }
    summariseRuns(statistics);
    computeMeanPowerCurve(powerCurves, statistics);
    computeMeanEngineSide(statistics, losses, workspace.meanEngineSide());
}

}  // namespace dyno
