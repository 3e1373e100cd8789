#pragma once

#include "evaluation/EvaluationConstants.h"
#include "evaluation/EvaluationOptions.h"

namespace dyno {

// The power and tractive-force figures of a roller acceleration at a roller speed,
// as the power curve forms them: the roller's inertia x acceleration x (speed +
// the roller set's speed offset), in the shown units, times the session's
// correction factor. Whatever accelerates or brakes the roller, the engine or the
// losses of a coast-down, is stated on this one scale, so the figures add up.
struct RollerPowerScale {
    double powerFactor = 0.0;       // mass factor in the shown units, x 0.7457 for kW
    double massFactor = 0.0;        // mass factor, x 1.60934 when speed is shown as mph
    double speedToKmh = 1.0;        // 1.60934 when speed is shown as mph
    double speedOffsetKmh = 0.0;    // added to the speed inside the power formula
    double correctionFactor = 1.0;  // the factor in force for the session

    static constexpr double kTorqueScale = 100.0;

    // Power in hp or kW of an acceleration (shown speed unit per second) at a shown speed.
    double powerOf(double acceleration, double speed) const {
        return acceleration * powerFactor * (speed * speedToKmh + speedOffsetKmh) *
               correctionFactor;
    }
    // The tractive-force ("torque") figure of an acceleration.
    double torqueOf(double acceleration) const {
        return acceleration * massFactor * correctionFactor * kTorqueScale;
    }
};

// The scale of a session's constants under the display options; `correctionFactor`
// is the factor in force (factorInForce of the stored one).
RollerPowerScale rollerPowerScaleOf(const EvaluationConstants& constants,
                                    const EvaluationOptions& options, double correctionFactor);

}  // namespace dyno
