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
// A heavy roller coasts for a long time on a small scooter's losses.
constexpr double kLongestCoastDownRunS = 240.0;
constexpr double kIdleRpm = 1500.0;
constexpr double kClosedThrottle = 0.0;
constexpr std::uint16_t kLargestAnalog = 1023;

std::uint32_t ticksOf(double seconds) {
    return static_cast<std::uint32_t>(std::lround(seconds * kClockRate));
}

std::uint16_t analogOf(double value) {
    return static_cast<std::uint16_t>(std::clamp(value, 1.0, double{kLargestAnalog}));
}

}  // namespace

SimulatedVehicle::SimulatedVehicle(const VehicleProfile& profile, double rollerWeightKg,
                                   std::uint32_t seed, const CoastDownRide& ride,
                                   const LambdaProbe& lambda)
    : profile_(profile),
      massFactor_(rollerWeightKg * kRollerWeightToMassFactor),
      speedOffsetKmh_(speedOffsetOf(static_cast<int>(DynoModel::K40), 0).value_or(-5.0)),
      random_(seed),
      ride_(ride),
      lambda_(lambda),
      seed_(seed) {}

std::uint32_t SimulatedVehicle::noise(std::uint32_t span) {
    return span == 0 ? 0 : static_cast<std::uint32_t>(random_() % span);
}

double SimulatedVehicle::accelerationKmhPerS(double speedKmh) const {
    const double effectiveSpeed = std::max(speedKmh + speedOffsetKmh_, 1.0);
    return profile_.wheelPowerHpAt(speedKmh) / (massFactor_ * effectiveSpeed);
}

double SimulatedVehicle::coastDownAccelerationKmhPerS(double speedKmh, bool isCoasting,
                                                      double powerFactor) const {
    if (isCoasting) return -lossDecelerationKmhPerS(ride_.loss, speedKmh, massFactor_);
    const double effectiveSpeed = std::max(speedKmh + speedOffsetKmh_, 1.0);
    return powerFactor * pullingWheelPowerHp(profile_, speedKmh) / (massFactor_ * effectiveSpeed);
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
    // The lambda controller draws its noise as the plain input does, so switching it
    // on leaves every other reading of the run as it was.
    const double lambdaNoise = noise(30);
    reading.analog[2] =
        lambda_.isOn
            ? analogOf(k40CountsOfAfr(lambda_.afrAt(profile_, engineRpm)) + lambdaNoise / 15.0)
            : analogOf(440.0 + 60.0 * throttle + lambdaNoise);
    reading.analog[3] = analogOf(1000.0 * engineRpm / profile_.limiterRpm());
    reading.analog[4] = analogOf(8.0 * speedKmh);
    return reading;
}

K40Reading SimulatedVehicle::waitingReading() {
    if (ride_.isOn) {
        return readingAt(ride_.startSpeedKmh, pullingEngineRpm(profile_, ride_.startSpeedKmh), 0.15,
                         0.0);
    }
    return readingAt(profile_.launchSpeedKmh, profile_.launchRpm, 0.15, 0.0);
}

std::vector<SimulatedRevolution> SimulatedVehicle::fullThrottleRun(std::size_t maxRevolutions) {
    const double powerFactor = ride_.isOn ? runPowerFactor(ride_, seed_, runsDriven_) : 1.0;
    ++runsDriven_;
    std::vector<SimulatedRevolution> run;
    run.reserve(maxRevolutions);
    double speed = ride_.isOn ? ride_.startSpeedKmh : profile_.launchSpeedKmh;
    double timeS = 0.0;
    double turns = 0.0;  // roller revolutions since the last whole one
    double lastRevolutionS = 0.0;
    bool isCoasting = false;
    const double longestS = ride_.isOn ? kLongestCoastDownRunS : kLongestRunS;
    const auto accelerationAt = [&](double v) {
        return ride_.isOn ? coastDownAccelerationKmhPerS(v, isCoasting, powerFactor)
                          : accelerationKmhPerS(v);
    };
    while (run.size() < maxRevolutions && timeS < longestS) {
        // Midpoint step of dv/dt; the roller turns speed / speedFactor times a second.
        const double a1 = accelerationAt(speed);
        const double mid = speed + a1 * kStepS / 2.0;
        const double a2 = accelerationAt(mid);
        const double next = speed + a2 * kStepS;
        const double stepTurns = mid * kStepS / kSpeedFactor;
        if (turns + stepTurns >= 1.0) {
            const double fraction = (1.0 - turns) / stepTurns;
            const double endS = timeS + fraction * kStepS;
            const double periodS = endS - lastRevolutionS;
            const double atSpeed = speed + fraction * (next - speed);
            SimulatedRevolution revolution;
            revolution.endTimeS = endS;
            revolution.speedKmh = kSpeedFactor / periodS;
            double throttle = 1.0;
            if (!ride_.isOn) {
                revolution.engineRpm = profile_.engineRpmAt(atSpeed);
            } else if (isCoasting) {
                revolution.engineRpm = std::max(profile_.engineRpmAt(atSpeed), kIdleRpm);
                throttle = kClosedThrottle;
            } else {
                revolution.engineRpm = pullingEngineRpm(profile_, atSpeed);
            }
            revolution.reading =
                readingAt(revolution.speedKmh, revolution.engineRpm, throttle, endS);
            revolution.reading.rollerPeriodTicks = ticksOf(periodS) + noise(2);
            run.push_back(revolution);
            lastRevolutionS = endS;
            turns = turns + stepTurns - 1.0;
        } else {
            turns += stepTurns;
        }
        speed = next;
        timeS += kStepS;
        if (isCoasting) {
            if (speed < ride_.endSpeedKmh) break;
        } else if (a2 < kRiderLiftsOffKmhPerS && run.size() > 50) {
            // The rider closes the throttle; on a coast-down ride the roller runs on.
            if (!ride_.isOn) break;
            isCoasting = true;
        }
    }
    return run;
}

}  // namespace dyno
