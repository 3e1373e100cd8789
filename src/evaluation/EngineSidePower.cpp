#include "evaluation/EngineSidePower.h"

#include <algorithm>
#include <cstddef>

namespace dyno {

int accelerationPoints(int evalCount, int peakIndex) {
    // The evaluation writes power for points 0 .. evalCount-2.
    return std::clamp(std::min(evalCount - 1, peakIndex + 1), 0, kSamplesPerRun);
}

void computeEngineSide(const EvaluatedCurves& curves, int evalCount, const CoastDownLoss& loss,
                       EngineSideCurves& engine) {
    engine.hasEngineSide = false;
    engine.points = 0;
    engine.peakPower = engine.speedAtPeakPower = engine.peakTorque = 0.0;
    if (!loss.isUsable()) return;

    const int points = accelerationPoints(evalCount, loss.peakIndex);
    for (int i = 0; i < points; ++i) {
        const auto sample = static_cast<std::size_t>(i);
        const double v = curves.speedCurve[sample];
        if (!loss.covers(v)) continue;
        const auto k = static_cast<std::size_t>(engine.points++);
        engine.speed[k] = v;
        const double deceleration = loss.decelerationAt(v);
        engine.power[k] = curves.powerCurve[sample] + loss.scale.powerOf(deceleration, v);
        engine.torque[k] = curves.torqueCurve[sample] + loss.scale.torqueOf(deceleration);
        // The first of equal peaks wins, as with the power curve's maximum.
        if (engine.points == 1 || engine.power[k] > engine.peakPower) {
            engine.peakPower = engine.power[k];
            engine.speedAtPeakPower = v;
        }
        if (engine.points == 1 || engine.torque[k] > engine.peakTorque) {
            engine.peakTorque = engine.torque[k];
        }
    }
    engine.hasEngineSide = engine.points > 0;
}

}  // namespace dyno
