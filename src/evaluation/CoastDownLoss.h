#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "evaluation/EvaluationConstants.h"
#include "evaluation/RollerPower.h"
#include "model/TestSession.h"

namespace dyno {

// The coast-down is the end of a run after its peak speed: the throttle is closed
// and the roller slows on what the tyre, the transmission and the roller's own
// bearings take from it. The same losses act while the engine pulls, so the power
// they take at a speed is what the engine makes beyond the power at the roller.

// What a run's coast-down gives.
enum class CoastDownVerdict : std::uint8_t {
    kUsable,
    kEmptyRun,             // no roller periods at all
    kTooShort,             // shorter than kMinCoastDownSeconds after the throttle settles
    kTooFewRevolutions,    // fewer than kMinCoastDownRevolutions roller revolutions
    kSpeedRangeTooNarrow,  // the roller slowed by less than kMinCoastDownSpeedFall
    kRollerNotSlowing,     // somewhere in its range the roller did not slow on its own
};

// One line naming the verdict, for the Analysis page and dynotool.
std::string_view coastDownVerdictText(CoastDownVerdict verdict);

// Closing the throttle, the engine's and the belt's drag fade in over a moment; the
// first second after the peak is not the coast-down yet.
inline constexpr double kCoastDownSettleSeconds = 1.0;
// Under two seconds the roller has slowed by a few tenths of a km/h: period jitter
// of a few clock ticks is then as large as the slowing itself.
inline constexpr double kMinCoastDownSeconds = 2.0;
// The deceleration fit has three coefficients; each needs tens of revolutions for
// the revolution-to-revolution jitter of the speed changes to average out.
inline constexpr int kMinCoastDownRevolutions = 60;
// Bearing and tyre drag (constant) and the part growing with speed can only be told
// apart over a real speed band; a quarter of the peak speed reaches from the top of
// the run down past the speeds where a scooter makes its peak power.
inline constexpr double kMinCoastDownSpeedFall = 0.25;

// The loss curve is handed out at this many evenly spaced speeds.
inline constexpr int kLossCurvePoints = 100;

struct CoastDownLoss {
    CoastDownVerdict verdict = CoastDownVerdict::kEmptyRun;

    // Speed points as the speed curve numbers them (point i: revolution i+1).
    int peakIndex = 0;   // the run's peak speed: the acceleration ends here
    int firstIndex = 0;  // the first and last speed points of the fitted coast-down
    int lastIndex = 0;
    double peakSpeed = 0.0;  // shown speed unit
    double seconds = 0.0;    // duration of the fitted coast-down
    int revolutions = 0;

    // The speed range the coast-down covers; loss figures exist only inside it.
    double lowSpeed = 0.0;
    double highSpeed = 0.0;

    // Smoothing: the deceleration (shown speed unit per second) fitted as
    // c[0] + c[1] x + c[2] x^2 with x = speed / peakSpeed, the shape the losses
    // take: constant drag of bearings and tyre, rising drag of belt and air.
    std::array<double, 3> decelerationFit{};
    RollerPowerScale scale;

    // The loss power (hp or kW) and loss tractive-force figure against speed, at
    // kLossCurvePoints speeds from lowSpeed to highSpeed; `points` is 0 unless usable.
    int points = 0;
    std::array<double, kLossCurvePoints> speed{};
    std::array<double, kLossCurvePoints> lossPower{};
    std::array<double, kLossCurvePoints> lossTorque{};

    bool isUsable() const { return verdict == CoastDownVerdict::kUsable; }
    bool covers(double atSpeed) const {
        return isUsable() && atSpeed >= lowSpeed && atSpeed <= highSpeed;
    }
    // The fitted figures at a speed; meaningful where covers() holds.
    double decelerationAt(double atSpeed) const;
    double lossPowerAt(double atSpeed) const {
        return scale.powerOf(decelerationAt(atSpeed), atSpeed);
    }
    double lossTorqueAt(double atSpeed) const { return scale.torqueOf(decelerationAt(atSpeed)); }
};

// Finds the coast-down of a run from its evaluated speed curve (its first
// `speedPoints` points, the evaluation's evalCount) and the roller periods the
// curve was made from, fits its deceleration and writes the verdict and, when
// usable, the loss curve on `scale` into `loss`. Never allocates.
void findCoastDownLoss(std::span<const double> speedCurve, int speedPoints,
                       ConstRollerPeriods periods, const EvaluationConstants& constants,
                       const RollerPowerScale& scale, CoastDownLoss& loss);

}  // namespace dyno
