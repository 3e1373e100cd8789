#include "evaluation/RunEvaluation.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <stdexcept>
#include <string_view>

#include "evaluation/AccelerationSmoothing.h"
#include "evaluation/CorrectionApply.h"
#include "evaluation/EvaluationConstants.h"
#include "evaluation/RollerPower.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Largest of the first `count` values, scanning up from 0.0 and replacing only on a
// strictly greater value (values that are not numbers never win).
double runningMaximum(std::span<const double> values, int count) {
    double maximum = 0.0;
    for (int i = 0; i < count; ++i) {
        if (values[at(i)] > maximum) maximum = values[at(i)];
    }
    return maximum;
}

// "%.2f" of the maximum; a figure too wide for the text (only damaged periods give
// one) reads "overflow" rather than a cut-off number.
void writeMaximumText(double maximum, EvaluatedCurves::MaximumText& text,
                      EvaluationWarnings& warnings) {
    char buffer[EvaluatedCurves::MaximumText::capacity - 1];
    const std::size_t length = formatFixedInto(maximum, 2, buffer, sizeof buffer);
    if (length == 0) {
        text.assign("overflow");
        warnings.set(EvaluationWarning::kMaximumTooLarge);
        return;
    }
    text.assign(std::string_view(buffer, length));
}

void clearCurves(EvaluatedCurves& curves) {
    curves.rpmCurve.fill(0.0);
    curves.speedCurve.fill(0.0);
    curves.powerCurve.fill(0.0);
    curves.torqueCurve.fill(0.0);
}

// Speed point i belongs to revolution i+1: the first period only starts the clock.
void computeSpeed(ConstRollerPeriods periods, int periodCount, const EvaluationConstants& constants,
                  EvaluationWorkspace& work, EvaluatedCurves::Curve& speed) {
    auto& time = work.timeAxis();
    auto& frequency = work.rawAccel();
    double elapsedSeconds = 0.0;
    for (int i = 0; i + 1 < periodCount; ++i) {
        const double periodTicks = static_cast<double>(periods[at(i + 1)]);
        elapsedSeconds = periodTicks / constants.clockRateHz + elapsedSeconds;
        time[at(i + 1)] = elapsedSeconds;
        frequency[at(i)] = 1.0 / (periodTicks / constants.clockRateHz);
        speed[at(i)] = constants.speedFactor * frequency[at(i)];
    }
}

// Speed change per second: the speed difference to the next revolution times the
// revolutions per second. Leaves the last frequency (entry periodCount-2) in place.
void computeAcceleration(const EvaluatedCurves::Curve& speed, int periodCount,
                         EvaluationWorkspace& work) {
    auto& accel = work.rawAccel();
    for (int i = 0; i + 2 < periodCount; ++i) {
        accel[at(i)] = (speed[at(i + 1)] - speed[at(i)]) * accel[at(i)];
    }
}

void computePowerAndTorque(const RollerPowerScale& scale, int points,
                           const EvaluationWorkspace& work, EvaluatedCurves& curves) {
    const auto& smooth = work.smoothAccel();
    for (int i = 0; i + 1 < points; ++i) {
        curves.powerCurve[at(i)] = scale.powerOf(smooth[at(i)], curves.speedCurve[at(i)]);
        curves.torqueCurve[at(i)] = scale.torqueOf(smooth[at(i)]);
    }
}

}  // namespace

EvaluationReport evaluateRunInto(const TestSession& session, int run,
                                 const EvaluationOptions& options, EvaluationWorkspace& workspace,
                                 EvaluatedCurves& curves) {
    if (!SessionModel::isRun(run)) throw std::out_of_range("evaluated run must be 0..2");

    clearCurves(curves);
    workspace.clearArrays();

    const int periodCount = session.leadingPeriods(run, kMaxEvaluatedPeriods);
    if (periodCount == 0) return {};

    const EvaluationConstants constants =
        evaluationConstantsOf(session.header, session.values, options);
    EvaluationReport report{0, constants.warnings};

    const ConstTestRun samples = session.run(run);
    computeSpeed(samples.rollerPeriods, periodCount, constants, workspace, curves.speedCurve);
    writeMaximumText(runningMaximum(curves.speedCurve, periodCount - 1), curves.maxSpeedText,
                     report.warnings);
    computeAcceleration(curves.speedCurve, periodCount, workspace);

    const int points = periodCount - 1;
    movingAverageBySpeed(workspace.rawAccel(), curves.speedCurve, points, workspace.smoothAccel());
    workspace.setEvalCount(points);
    report.evalCount = points;
    trailingAverageInPlace(workspace.smoothAccel(), points);
    splinePassInPlace(workspace.smoothAccel(), points);

    if (isFactorUnusable(session.correctionFactor)) {
        report.warnings.set(EvaluationWarning::kCorrectionFactorUnusable);
    }
    computePowerAndTorque(
        rollerPowerScaleOf(constants, options, factorInForce(session.correctionFactor)), points,
        workspace, curves);
    if (options.rpmCurveShown) {
        for (int i = 0; i + 1 < points; ++i) {
            curves.rpmCurve[at(i)] = static_cast<double>(samples.rpmSamples[at(i)]);
        }
    }
    writeMaximumText(runningMaximum(curves.powerCurve, points - 1), curves.maxPowerText,
                     report.warnings);
    writeMaximumText(runningMaximum(curves.torqueCurve, points - 1), curves.maxTorqueText,
                     report.warnings);
    return report;
}

EvaluationReport evaluateRun(TestSession& session, int run, const EvaluationOptions& options,
                             EvaluationWorkspace& workspace) {
    return evaluateRunInto(session, run, options, workspace, session.curves);
}

EvaluationReport evaluate(SessionModel& model, int slot, int run, const EvaluationOptions& options,
                          EvaluationWorkspace& workspace) {
    return evaluateRun(model.slot(slot), run, options, workspace);
}

}  // namespace dyno
