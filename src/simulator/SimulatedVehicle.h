#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "simulator/CoastDownRide.h"
#include "simulator/LambdaProbe.h"
#include "simulator/VehicleProfile.h"

namespace dyno {

// What the K40 electronics measure at one moment: the roller period and ignition
// period in ticks of their 2.5 MHz counter, and the five 10-bit analog inputs.
struct K40Reading {
    std::uint32_t rollerPeriodTicks = 0;
    std::uint32_t ignitionPeriodTicks = 0;
    std::array<std::uint16_t, 5> analog{};
};

// One roller revolution of a recorded run.
struct SimulatedRevolution {
    double endTimeS = 0.0;  // since the remote was pressed
    double speedKmh = 0.0;  // mean over the revolution
    double engineRpm = 0.0;
    K40Reading reading;
};

// A vehicle on the K40's 0.616 m roller. Under full throttle the wheel power drives
// the roller as the evaluation models it: power = roller mass factor x acceleration
// (km/h per second) x (speed + the K40's speed offset), so evaluating a simulated run
// gives back the profile's power. Deterministic for a given seed.
//
// On a coast-down ride the runs set off near a standstill, each with its own power
// factor, and after the pull the roller coasts down on the ride's losses, recorded
// revolution by revolution until it is slower than the ride's end speed or the run
// holds `maxRevolutions` (0.616 m each: a fast bike's coast-down fills them first).
class SimulatedVehicle {
  public:
    SimulatedVehicle(const VehicleProfile& profile, double rollerWeightKg, std::uint32_t seed,
                     const CoastDownRide& ride = {}, const LambdaProbe& lambda = {});

    const VehicleProfile& profile() const { return profile_; }
    // The losses and engine power the runs of a coast-down ride were driven by.
    CoastDownTruth coastDownTruth() const { return {&profile_, ride_, seed_, speedOffsetKmh_}; }
    // The lambda controller on channel 3, whose afrAt() is the mixture's truth.
    const LambdaProbe& lambdaProbe() const { return lambda_; }

    // At the launch speed, waiting for the rider to press the remote.
    K40Reading waitingReading();

    // A full-throttle run from the launch speed until the engine stops pulling
    // (acceleration below 0.5 km/h per second), at most `maxRevolutions`; on a
    // coast-down ride from the start speed, and on through the coast-down.
    std::vector<SimulatedRevolution> fullThrottleRun(std::size_t maxRevolutions);

  private:
    double accelerationKmhPerS(double speedKmh) const;
    double coastDownAccelerationKmhPerS(double speedKmh, bool isCoasting, double powerFactor) const;
    K40Reading readingAt(double speedKmh, double engineRpm, double throttle, double timeS);
    std::uint32_t noise(std::uint32_t span);

    const VehicleProfile& profile_;
    double massFactor_;
    double speedOffsetKmh_;
    std::mt19937 random_;
    CoastDownRide ride_;
    LambdaProbe lambda_;
    std::uint32_t seed_;
    int runsDriven_ = 0;
};

}  // namespace dyno
