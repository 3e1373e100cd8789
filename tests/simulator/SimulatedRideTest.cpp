// The card's simulated rider: a hard stop holds the roller still, a late start sets
// off long after the remote press and pulls without another.
#include <gtest/gtest.h>

#include "simulator/SimulatedRide.h"

namespace dyno::test {
namespace {

constexpr double kStepS = 0.001;

class RiderHabitsTest : public ::testing::Test {
  protected:
    SimulatedRide rideWith(const RiderHabits& habits) {
        return SimulatedRide(*findVehicleProfile("scooter50"), cardRollerOf(DynoModel::K70, 0),
                             habits);
    }
    // Polls the ride until `isDone` or `limitS`; the time it stopped at.
    template <typename IsDone>
    double rideUntil(SimulatedRide& ride, IsDone isDone, double limitS = 120.0) {
        for (double t = ride.timeS(); t < limitS; t += kStepS) {
            ride.advanceTo(t, true);
            if (isDone()) return t;
        }
        ADD_FAILURE() << "the ride never got there";
        return limitS;
    }
};

TEST_F(RiderHabitsTest, AHardStopHoldsTheRollerStillThenTheRiderRidesBackUp) {
    RiderHabits habits;
    habits.brakeKmhPerS = 9.5;
    habits.standstillS = 6.0;
    SimulatedRide ride = rideWith(habits);
    rideUntil(ride, [&] { return ride.phase() == SimulatedRide::Phase::Braking; });
    const double stoppedAt =
        rideUntil(ride, [&] { return ride.phase() == SimulatedRide::Phase::Standing; });
    EXPECT_EQ(ride.speedKmh(), 0.0);
    const bool roller = ride.isRollerHigh();
    const double setOffAt = rideUntil(ride, [&] {
        EXPECT_EQ(ride.isRollerHigh(), roller) << ride.timeS();
        return ride.phase() != SimulatedRide::Phase::Standing;
    });
    EXPECT_NEAR(setOffAt - stoppedAt, 6.0, 0.01);
    EXPECT_EQ(ride.phase(), SimulatedRide::Phase::Returning);
    EXPECT_EQ(ride.pullsStarted(), 1);
}

TEST_F(RiderHabitsTest, ALateStartPressesOnTheStillRollerAndPullsLater) {
    RiderHabits habits;
    habits.standstillS = 2.0;
    habits.lateStartS = 6.0;
    SimulatedRide ride = rideWith(habits);
    rideUntil(ride, [&] { return ride.phase() == SimulatedRide::Phase::Standing; });
    const double pressedAt = rideUntil(ride, [&] { return ride.isRemotePressed(); });
    EXPECT_EQ(ride.pullsStarted(), 2);
    const double setOffAt =
        rideUntil(ride, [&] { return ride.phase() != SimulatedRide::Phase::Standing; });
    EXPECT_NEAR(setOffAt - pressedAt, 6.0, 0.01);
    rideUntil(ride, [&] { return ride.phase() == SimulatedRide::Phase::Pulling; });
    EXPECT_EQ(ride.pullsStarted(), 2) << "no second press";
    EXPECT_NEAR(ride.speedKmh(), ride.vehicle().launchSpeedKmh, 0.1);
}

}  // namespace
}  // namespace dyno::test
