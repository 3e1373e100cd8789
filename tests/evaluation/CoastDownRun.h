#pragma once

// Runs recorded from a known vehicle on the dyno, so the analysis tests can state
// what engine power and losses must come out: an engine torque curve through a
// fixed gearing drives the roller against a loss force a + b v^2 (tyre, belt,
// bearings) until the throttle closes at the lift-off speed; then the same loss
// alone slows the roller through the coast-down. The roller periods carry the
// electronics' jitter of a couple of clock ticks.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "RecordedRun.h"
#include "evaluation/DynoConstants.h"
#include "evaluation/EvaluationConstants.h"
#include "model/TestSession.h"
#include "model/Units.h"

namespace dyno::evaluation_testing {

struct VehicleOnRoller {
    DynoUnderTest dyno{DynoModel::K40, Electronics::UsbSerial, 0, 120.0};  // a light K40 roller
    double peakTorqueNm = 10.0;
    double rpmAtPeakTorque = 4500.0;
    double torqueSpanRpm = 6000.0;   // torque falls to 0 this far either side of its peak
    double rpmPerKmh = 80.0;         // fixed gearing
    double wheelNewtonPerNm = 40.0;  // overall ratio over tyre radius
    double lossConstantN = 70.0;
    double lossPerSpeedSquaredN = 0.08;  // N per (m/s)^2
    double startKmh = 20.0;
    double liftOffKmh = 100.0;
    double coastSeconds = 1.0e9;  // the recording ends this long after lift-off
    double endKmh = 20.0;         // or when the roller has slowed below this
    int periods = 1999;
};

inline EvaluationConstants constantsOf(const DynoUnderTest& dyno) {
    SessionHeader header;
    header.words[SessionHeader::kDynoModel] = static_cast<std::int16_t>(dyno.model);
    header.words[SessionHeader::kElectronicsType] = static_cast<std::int16_t>(dyno.electronics);
    header.words[SessionHeader::kRollerCode] = dyno.rollerCode;
    SessionValues values;
    values.values[SessionValues::kRollerWeight] = dyno.rollerWeightKg;
    return evaluationConstantsOf(header, values, {});
}

// The roller's equivalent mass in kg: the power formula's mass factor is the inertia
// in hp per (km/h per second x km/h), 1 hp = 745.7 W, 1 km/h = 1/3.6 m/s.
inline double equivalentMassKg(const VehicleOnRoller& vehicle) {
    return constantsOf(vehicle.dyno).massFactor * 3.6 * 3.6 * 745.7;
}

inline double engineForceN(const VehicleOnRoller& vehicle, double speedKmh) {
    const double u =
        (speedKmh * vehicle.rpmPerKmh - vehicle.rpmAtPeakTorque) / vehicle.torqueSpanRpm;
    return std::max(0.0, vehicle.peakTorqueNm * (1.0 - u * u)) * vehicle.wheelNewtonPerNm;
}

inline double lossForceN(const VehicleOnRoller& vehicle, double speedKmh) {
    const double v = speedKmh / 3.6;
    return vehicle.lossConstantN + vehicle.lossPerSpeedSquaredN * v * v;
}

// A force at the roller stated as the dyno states power: the acceleration it gives
// the roller's inertia, in the power formula with the roller set's speed offset.
inline double dynoPowerHp(const VehicleOnRoller& vehicle, double forceN, double speedKmh) {
    const EvaluationConstants constants = constantsOf(vehicle.dyno);
    const double accelerationKmhPerS = forceN / equivalentMassKg(vehicle) * 3.6;
    return accelerationKmhPerS * constants.massFactor * (speedKmh + constants.speedOffsetKmh);
}

// The truth of the model: the engine's, the wheel's and the losses' power at a speed.
inline double engineSideHp(const VehicleOnRoller& v, double kmh) {
    return dynoPowerHp(v, engineForceN(v, kmh), kmh);
}
inline double wheelHp(const VehicleOnRoller& v, double kmh) {
    return dynoPowerHp(v, engineForceN(v, kmh) - lossForceN(v, kmh), kmh);
}
inline double lossHp(const VehicleOnRoller& v, double kmh) {
    return dynoPowerHp(v, lossForceN(v, kmh), kmh);
}

// A force at the roller as the tractive-force figure of the torque curve.
inline double dynoTorqueFigure(const VehicleOnRoller& vehicle, double forceN) {
    const double accelerationKmhPerS = forceN / equivalentMassKg(vehicle) * 3.6;
    return accelerationKmhPerS * constantsOf(vehicle.dyno).massFactor * 100.0;
}

// The largest value of a truth over the speeds of the acceleration (steps of
// 0.01 km/h) and the speed where it lies.
struct TruePeak {
    double value = 0.0;
    double kmh = 0.0;
};
template <typename Truth>
TruePeak peakOf(const VehicleOnRoller& vehicle, Truth truth) {
    TruePeak peak;
    for (double kmh = vehicle.startKmh; kmh <= vehicle.liftOffKmh; kmh += 0.01) {
        const double value = truth(vehicle, kmh);
        if (value > peak.value) peak = {value, kmh};
    }
    return peak;
}

inline void recordVehicleRun(TestSession& session, int run, const VehicleOnRoller& vehicle) {
    describeDyno(session, vehicle.dyno);
    const double rollerMetres = speedFactorOf(vehicle.dyno.model).kmh / 3.6;
    const double clockRateHz = clockRateOf(vehicle.dyno.electronics);
    const double massKg = equivalentMassKg(vehicle);
    auto samples = session.run(run);
    std::fill(samples.rollerPeriods.begin(), samples.rollerPeriods.end(), 0);
    std::fill(samples.rpmSamples.begin(), samples.rpmSamples.end(), 0);

    constexpr double kStepS = 1.0e-4;
    std::uint32_t jitterState = 12345u + static_cast<std::uint32_t>(run);
    const auto jitterTicks = [&jitterState] {
        jitterState = jitterState * 1664525u + 1013904223u;
        return static_cast<int>(jitterState >> 29) % 5 - 2;  // -2 .. +2 ticks
    };
    bool throttleOpen = true;
    double speedKmh = vehicle.startKmh;
    double timeS = 0.0;
    double liftOffS = 0.0;
    double metres = 0.0;  // roller travel since the last whole revolution
    double lastRevolutionS = 0.0;
    int recorded = 0;
    while (recorded < vehicle.periods) {
        const auto acceleration = [&](double kmh) {
            const double force =
                (throttleOpen ? engineForceN(vehicle, kmh) : 0.0) - lossForceN(vehicle, kmh);
            return force / massKg * 3.6;  // km/h per second
        };
        const double mid = speedKmh + acceleration(speedKmh) * kStepS / 2.0;
        const double next = speedKmh + acceleration(mid) * kStepS;
        const double stepMetres = mid / 3.6 * kStepS;
        if (metres + stepMetres >= rollerMetres) {
            const double endS = timeS + (rollerMetres - metres) / stepMetres * kStepS;
            const double ticks = (endS - lastRevolutionS) * clockRateHz;
            samples.rollerPeriods[static_cast<std::size_t>(recorded++)] =
                static_cast<std::int32_t>(std::lround(ticks)) + jitterTicks();
            lastRevolutionS = endS;
            metres = metres + stepMetres - rollerMetres;
        } else {
            metres += stepMetres;
        }
        speedKmh = next;
        timeS += kStepS;
        if (throttleOpen && speedKmh >= vehicle.liftOffKmh) {
            throttleOpen = false;
            liftOffS = timeS;
        }
        const bool coastOver = timeS - liftOffS > vehicle.coastSeconds || speedKmh < vehicle.endKmh;
        if (!throttleOpen && coastOver) break;
        if (speedKmh < 1.0) break;  // a roller this slow finishes no more revolutions
    }
}

}  // namespace dyno::evaluation_testing
