#pragma once

#include <cstdint>

#include "evaluation/DynoConstants.h"
#include "simulator/CoastDownRide.h"
#include "simulator/VehicleProfile.h"

namespace dyno {

// The roller of a K70 or K80 as the simulated card's vehicle drives it.
struct CardRoller {
    double speedFactorKmh = kK70SpeedFactor.kmh;  // km/h per roller revolution per second
    // The factor by which the evaluation turns acceleration into power. The card's
    // samples come in pairs half a revolution apart, so the evaluation sees half the
    // roller's acceleration; the roller is driven to match.
    double massFactor = 0.02092050209;
    double speedOffsetKmh = 11.0;
};

// The roller of the model with the given roller code (as the settings form it); the
// standard roller of the model when the code is not one of its own.
CardRoller cardRollerOf(DynoModel model, int rollerCode);

// How the simulated rider rides a card session.
struct RiderHabits {
    // Having held the launch speed this long while the program polls the card, the
    // rider presses the remote briefly and opens the throttle.
    double pressAfterS = 1.5;
    double pressLengthS = 0.15;
    // When the engine stops pulling the rider brakes to below the speed that ends a
    // run, then rides back up to the launch speed.
    double brakeKmhPerS = 25.0;
    double coastSpeedKmh = 5.0;
    double returnKmhPerS = 10.0;
    // A hard stop: the rider brakes to a standstill and keeps the roller still this
    // long before riding back up. 0: braking ends at the coast speed.
    double standstillS = 0.0;
    // A late start, after a hard stop: the rider presses the remote on the still
    // roller and sets off this long after, riding up to the launch speed and opening
    // the throttle there without pressing again. 0: the rider rides back up first
    // and presses at the launch speed.
    double lateStartS = 0.0;
    // On a coast-down ride the rider holds the ride's start speed instead of the
    // launch speed, closes the throttle after the pull and lets the roller coast
    // below the ride's end speed before braking to the start speed again; stops and
    // late starts are not ridden then.
    CoastDownRide coastDown;
};

// A vehicle on the card dyno's roller, ridden by a rider: the roller and ignition
// signals and the remote button at any moment of simulated time, which only moves
// forward. Deterministic.
class SimulatedRide {
  public:
    enum class Phase { Holding, Pulling, Coasting, Braking, Standing, Returning };

    // `seed` draws the runs' power factors of a coast-down ride.
    SimulatedRide(const VehicleProfile& vehicle, const CardRoller& roller, const RiderHabits& rider,
                  std::uint32_t seed = 1);

    // Moves the ride to `timeS`; `isProgramPolling` says the program is reading the
    // status port now (the rider only presses the remote when it is).
    void advanceTo(double timeS, bool isProgramPolling);

    bool isRollerHigh() const { return rollerHigh_; }
    bool isIgnitionHigh() const { return ignitionHigh_; }
    bool isRemotePressed() const { return timeS_ < pressedUntilS_; }

    Phase phase() const { return phase_; }
    double speedKmh() const { return speed_; }
    double engineRpm() const;
    double throttle() const;
    double timeS() const { return timeS_; }
    int pullsStarted() const { return pulls_; }
    const VehicleProfile& vehicle() const { return vehicle_; }
    // The highest speed of the pulls so far.
    double topSpeedKmh() const { return topSpeed_; }
    // The losses and engine power the pulls of a coast-down ride were driven by.
    CoastDownTruth coastDownTruth() const {
        return {&vehicle_, rider_.coastDown, seed_, roller_.speedOffsetKmh};
    }

  private:
    void beginStep();
    void endStep();
    // What the end of a step does in each phase that has more to it than a line.
    void endPullingStep();
    void endBrakingStep();
    void endStandingStep();
    double accelerationKmhPerS() const;
    double pullingPowerHp(double speedKmh) const;
    double launchSpeedKmh() const;
    void pressRemote();

    const VehicleProfile& vehicle_;
    CardRoller roller_;
    RiderHabits rider_;
    std::uint32_t seed_;
    double pullPowerFactor_ = 1.0;  // the pull in progress on a coast-down ride

    Phase phase_ = Phase::Holding;
    double stepStartS_ = 0.0;
    double speed_ = 0.0;         // at the start of the step
    double acceleration_ = 0.0;  // through the step
    double turns_ = 0.0;         // roller revolutions at the start of the step
    double impulses_ = 0.0;      // ignition impulses at the start of the step
    double impulseRate_ = 0.0;   // per second through the step
    double heldS_ = 0.0;         // at the launch speed, or standing still
    double pullS_ = 0.0;
    double pressedUntilS_ = -1.0;
    double timeS_ = 0.0;
    double setOffAtS_ = -1.0;  // a late start pressed: when the rider sets off
    bool isPullDue_ = false;   // the remote is pressed: pull at the launch speed
    double topSpeed_ = 0.0;
    int pulls_ = 0;
    bool rollerHigh_ = true;
    bool ignitionHigh_ = true;
};

}  // namespace dyno
