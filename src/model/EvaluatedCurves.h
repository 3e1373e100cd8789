#pragma once

#include <array>

#include "model/FixedText.h"
#include "model/SessionLayout.h"

namespace dyno {

// Curves of the run currently selected for a slot, written by the evaluation.
// Entries beyond the evaluated length read 0.0.
struct EvaluatedCurves {
    using Curve = std::array<double, kSamplesPerRun>;
    // "%.2f" of the largest value. Room for any figure a real run can produce.
    using MaximumText = FixedText<32>;

    Curve speedCurve{};   // km/h, or mph when speed is shown as mph
    Curve rpmCurve{};     // engine rpm; filled only when the graph shows "Speed + Rpm"
    Curve powerCurve{};   // corrected power, hp or kW
    Curve torqueCurve{};  // corrected tractive-force figure
    MaximumText maxSpeedText;
    MaximumText maxPowerText;
    MaximumText maxTorqueText;
};

}  // namespace dyno
