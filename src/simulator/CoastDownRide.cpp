#include "simulator/CoastDownRide.h"

#include <algorithm>
#include <random>

namespace dyno {

namespace {

// Newtons at a speed in km/h give watts over 3.6, and 735.49875 W are one metric hp.
constexpr double kNewtonKmhPerHp = 3.6 * 735.49875;
constexpr double kGeneratorSpan = 4294967296.0;  // the 32-bit generator's range

}  // namespace

double runPowerFactor(const CoastDownRide& ride, std::uint32_t seed, int run) {
    std::mt19937 draws(seed);
    std::uint32_t draw = 0;
    // mt19937 draws 32-bit values into a wider result type: nothing is lost.
    for (int r = 0; r <= run % 3; ++r) draw = static_cast<std::uint32_t>(draws());
    const double unit = static_cast<double>(draw) / kGeneratorSpan;  // 0 .. 1
    return 1.0 + ride.runSpread * (2.0 * unit - 1.0);
}

double lossDecelerationKmhPerS(const RollerLoss& loss, double speedKmh, double massFactor) {
    // The power formula's loss power, mass factor x slowing x (speed + offset), is
    // then the force times (speed + offset): the inertia it names is the one that
    // slows.
    return loss.forceN(speedKmh) / (massFactor * kNewtonKmhPerHp);
}

double pullingWheelPowerHp(const VehicleProfile& vehicle, double speedKmh) {
    if (vehicle.powerCurve.empty()) return 0.0;
    const PowerPoint& first = vehicle.powerCurve.front();
    if (vehicle.engineRpmAt(speedKmh) >= first.rpm) return vehicle.wheelPowerHpAt(speedKmh);
    // Both transmissions start on their low ratio.
    const double clutchInKmh = first.rpm / vehicle.rpmPerKmhLow;
    return first.powerHp * std::max(speedKmh, 0.0) / clutchInKmh;
}

double pullingEngineRpm(const VehicleProfile& vehicle, double speedKmh) {
    const double firstRpm = vehicle.powerCurve.empty() ? 0.0 : vehicle.powerCurve.front().rpm;
    return std::max(vehicle.engineRpmAt(speedKmh), firstRpm);
}

double CoastDownTruth::lossPowerHp(double speedKmh) const {
    return ride.loss.forceN(speedKmh) * (speedKmh + speedOffsetKmh) / kNewtonKmhPerHp;
}

double CoastDownTruth::wheelPowerHp(int run, double speedKmh) const {
    return runFactor(run) * pullingWheelPowerHp(*vehicle, speedKmh);
}

double CoastDownTruth::peakEnginePowerHp(int run, double fromKmh, double toKmh) const {
    double peak = 0.0;
    constexpr int kSteps = 10'000;
    for (int i = 0; i <= kSteps; ++i) {
        peak = std::max(peak, enginePowerHp(run, fromKmh + (toKmh - fromKmh) * i / kSteps));
    }
    return peak;
}

}  // namespace dyno
