#pragma once

#include <array>
#include <cstdint>

#include "simulator/VehicleProfile.h"

namespace dyno {

// What takes speed from the roller once the throttle is closed: the bearings and the
// tyre's rolling (constant) and the belt, the tyre's flexing and the air (growing
// with the square of the speed), as one force at the roller's surface.
struct RollerLoss {
    double constantN = 25.0;
    double perSpeedSquaredN = 0.2;  // newtons per (m/s) squared

    double forceN(double speedKmh) const {
        const double metresPerS = speedKmh / 3.6;
        return constantN + perSpeedSquaredN * metresPerS * metresPerS;
    }
};

// The ride of a simulated session that analysis has something true to find in: each
// run sets off from near a standstill, and once the engine stops pulling the rider
// closes the throttle and lets the roller coast down on its losses alone, until it
// is slower than the speed that ends a run. The runs are a little apart in power,
// as a real engine's are, drawn from the session's seed. Off: the rides the
// simulated dyno has always ridden.
struct CoastDownRide {
    bool isOn = false;
    RollerLoss loss;
    // The rider holds this speed until pressing the remote: rolling, clutch in.
    double startSpeedKmh = 3.0;
    // Below this the coast-down is over and the rider brakes. The card has ended its
    // run by then: its needle reads a little above the roller's speed, and the run
    // ends only once the needle is under 13. The K40 records down to here.
    double endSpeedKmh = 8.0;
    // Each run's power lies within this fraction of the vehicle's.
    double runSpread = 0.02;
};

// The power scale of run `run` (0..2, later runs repeat them) of a coast-down ride
// with this seed: 1 plus or minus at most the spread. The same for the same seed on
// every machine: the generator's raw output, not a library distribution.
double runPowerFactor(const CoastDownRide& ride, std::uint32_t seed, int run);

// The roller's slowing (km/h per second, as the evaluation sees it) under the loss
// at a speed, for the evaluation's mass factor.
double lossDecelerationKmhPerS(const RollerLoss& loss, double speedKmh, double massFactor);

// The wheel power (hp) of a full-throttle pull of a coast-down ride: the vehicle's,
// and below the speed where the engine reaches its first power point the clutch
// slips and holds the engine there, pushing with the tractive force of that point.
double pullingWheelPowerHp(const VehicleProfile& vehicle, double speedKmh);
// The engine speed of such a pull: the vehicle's, never below that first point.
double pullingEngineRpm(const VehicleProfile& vehicle, double speedKmh);

// What the simulated dyno knows about a coast-down session and the analysis has to
// find, all on the dyno's power scale (mass factor x slowing x (speed + the roller
// set's speed offset)): the power the losses take and the engine's power per run.
struct CoastDownTruth {
    const VehicleProfile* vehicle = nullptr;
    CoastDownRide ride;
    std::uint32_t seed = 1;
    double speedOffsetKmh = 0.0;

    double runFactor(int run) const { return runPowerFactor(ride, seed, run); }
    double lossPowerHp(double speedKmh) const;
    double wheelPowerHp(int run, double speedKmh) const;
    // Wheel power plus what the losses take: what the engine makes.
    double enginePowerHp(int run, double speedKmh) const {
        return wheelPowerHp(run, speedKmh) + lossPowerHp(speedKmh);
    }
    // The largest engine power met between two road speeds.
    double peakEnginePowerHp(int run, double fromKmh, double toKmh) const;
};

}  // namespace dyno
