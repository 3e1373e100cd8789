#include "simulator/SimulatedVehicle.h"

#include <algorithm>
#include <cmath>

#include "evaluation/DynoConstants.h"
#include "evaluation/RollerInertia.h"

namespace dyno {

namespace {

constexpr double kClockRate = kUsbSerialClockRate;
constexpr double kSpeedFactor = kK40SpeedFactor.kmh;  // km/h per roller revolution per second
constexpr double kStepS = 0.0005;
constexpr double kRiderLiftsOffKmhPerS = 0.5;
constexpr double kLongestRunS = 60.0;
constexpr std::uint16_t kLargestAnalog = 1023;

std::uint32_t ticksOf(double seconds) {
    return static_cast<std::uint32_t>(std::lround(seconds * kClockRate));
}

std::uint16_t analogOf(double value) {
    return static_cast<std::uint16_t>(std::clamp(value, 1.0, double{kLargestAnalog}));
}

}  // namespace

SimulatedVehicle::SimulatedVehicle(const VehicleProfile& profile, double rollerWeightKg,
                                   std::uint32_t seed)
    : profile_(profile),
      massFactor_(rollerWeightKg * kRollerWeightToMassFactor),
      speedOffsetKmh_(speedOffsetOf(static_cast<int>(DynoModel::K40), 0).value_or(-5.0)),
      random_(seed) {}

std::uint32_t SimulatedVehicle::noise(std::uint32_t span) {
    return span == 0 ? 0 : static_cast<std::uint32_t>(random_() % span);
}

double SimulatedVehicle::accelerationKmhPerS(double speedKmh) const {
    const double effectiveSpeed = std::max(speedKmh + speedOffsetKmh_, 1.0);
    return profile_.wheelPowerHpAt(speedKmh) / (massFactor_ * effectiveSpeed);
}

K40Reading SimulatedVehicle::readingAt(double speedKmh, double engineRpm, double throttle,
                                       double timeS) {
    K40Reading reading;
    // The period counter is read to the tick; the last tick is uncertain.
    reading.rollerPeriodTicks = ticksOf(kSpeedFactor / speedKmh) + noise(2);
    const double secondsPerImpulse = 60.0 / engineRpm * profile_.ignitionDegrees / 360.0;
    reading.ignitionPeriodTicks = ticksOf(secondsPerImpulse) + noise(2);
    // Channel 1 throttle, 2 cylinder head temperature, 3 lambda probe, 4 engine
    // speed, 5 road speed: what a workshop typically wires up.
    reading.analog[0] = analogOf(100.0 + 850.0 * throttle + noise(8));
    reading.analog[1] = analogOf(400.0 + 4.0 * timeS + noise(4));
    reading.analog[2] = analogOf(440.0 + 60.0 * throttle + noise(30));
    reading.analog[3] = analogOf(1000.0 * engineRpm / profile_.limiterRpm());
    reading.analog[4] = analogOf(8.0 * speedKmh);
    return reading;
}

K40Reading SimulatedVehicle::waitingReading() {
    return readingAt(profile_.launchSpeedKmh, profile_.launchRpm, 0.15, 0.0);
}

std::vector<SimulatedRevolution> SimulatedVehicle::fullThrottleRun(std::size_t maxRevolutions) {
    std::vector<SimulatedRevolution> run;
    run.reserve(maxRevolutions);
    double speed = profile_.launchSpeedKmh;
    double timeS = 0.0;
    double turns = 0.0;  // roller revolutions since the last whole one
    double lastRevolutionS = 0.0;
    while (run.size() < maxRevolutions && timeS < kLongestRunS) {
        // Midpoint step of dv/dt; the roller turns speed / speedFactor times a second.
        const double a1 = accelerationKmhPerS(speed);
        const double mid = speed + a1 * kStepS / 2.0;
        const double a2 = accelerationKmhPerS(mid);
        const double next = speed + a2 * kStepS;
        const double stepTurns = mid * kStepS / kSpeedFactor;
        if (turns + stepTurns >= 1.0) {
            const double fraction = (1.0 - turns) / stepTurns;
            const double endS = timeS + fraction * kStepS;
            const double periodS = endS - lastRevolutionS;
            SimulatedRevolution revolution;
            revolution.endTimeS = endS;
            revolution.speedKmh = kSpeedFactor / periodS;
            revolution.engineRpm = profile_.engineRpmAt(speed + fraction * (next - speed));
            revolution.reading = readingAt(revolution.speedKmh, revolution.engineRpm, 1.0, endS);
            revolution.reading.rollerPeriodTicks = ticksOf(periodS) + noise(2);
            run.push_back(revolution);
            lastRevolutionS = endS;
            turns = turns + stepTurns - 1.0;
        } else {
            turns += stepTurns;
        }
        speed = next;
        timeS += kStepS;
        if (a2 < kRiderLiftsOffKmhPerS && run.size() > 50) break;
    }
    return run;
}

}  // namespace dyno
