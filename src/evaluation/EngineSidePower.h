#pragma once

#include <array>

#include "evaluation/CoastDownLoss.h"
#include "model/EvaluatedCurves.h"
#include "model/SessionLayout.h"

namespace dyno {

// What the engine makes, stated at the roller's scale: the power curve of the
// run's acceleration plus the power its coast-down shows the losses take at the
// same speed. Only speeds where both exist have a point; there is no figure at all
// without a usable coast-down.
struct EngineSideCurves {
    bool hasEngineSide = false;
    int points = 0;  // speed, power and torque hold this many points in run order
    std::array<double, kSamplesPerRun> speed{};   // shown speed unit
    std::array<double, kSamplesPerRun> power{};   // hp or kW
    std::array<double, kSamplesPerRun> torque{};  // tractive-force figure
    double peakPower = 0.0;
    double speedAtPeakPower = 0.0;
    double peakTorque = 0.0;
};

// The number of power-curve points of a run's acceleration: those before its peak
// speed (`peakIndex` as CoastDownLoss numbers it), within the `evalCount` points the
// evaluation left.
int accelerationPoints(int evalCount, int peakIndex);

// Adds the loss to each point of the acceleration whose speed the coast-down covers.
// Never allocates.
void computeEngineSide(const EvaluatedCurves& curves, int evalCount, const CoastDownLoss& loss,
                       EngineSideCurves& engine);

}  // namespace dyno
