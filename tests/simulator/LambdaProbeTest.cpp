// The simulated lambda controller on channel 3: what it records is the mixture's
// truth on the K40's AFR scale, and switching it on changes nothing else of a run.
#include "simulator/LambdaProbe.h"

#include <gtest/gtest.h>

#include "simulator/SimulatedVehicle.h"

namespace dyno {
namespace {

// The AFR the K40's 10-bit reading stands for (AFR 10 at 0, AFR 20 at 1023).
double afrOfCounts(std::uint16_t counts) {
    return 10.0 + counts * 10.0 / 1023.0;
}

TEST(LambdaProbe, ChannelThreeRecordsTheMixtureRichLowAndLeanerAtTheTop) {
    const VehicleProfile& bike = *findVehicleProfile("bike125");
    LambdaProbe probe;
    probe.isOn = true;
    SimulatedVehicle vehicle(bike, 184.0, 7, {}, probe);
    const auto run = vehicle.fullThrottleRun(2000);
    ASSERT_GT(run.size(), 100u);
    for (const SimulatedRevolution& revolution : run) {
        const double truth = probe.afrAt(bike, revolution.engineRpm);
        ASSERT_NEAR(afrOfCounts(revolution.reading.analog[2]), truth, 0.03) << revolution.engineRpm;
    }
    EXPECT_LT(afrOfCounts(run.front().reading.analog[2]), 12.5);
    EXPECT_GT(afrOfCounts(run.back().reading.analog[2]), 13.5);
}

TEST(LambdaProbe, TheMixtureStaysWithinItsEndsOutsideTheRevRange) {
    const VehicleProfile& bike = *findVehicleProfile("bike125");
    const LambdaProbe probe{true, 12.0, 14.0};
    EXPECT_EQ(probe.afrAt(bike, bike.launchRpm - 500.0), 12.0);
    EXPECT_EQ(probe.afrAt(bike, bike.limiterRpm() + 500.0), 14.0);
    EXPECT_DOUBLE_EQ(probe.afrAt(bike, (bike.launchRpm + bike.limiterRpm()) / 2.0), 13.0);
}

TEST(LambdaProbe, SwitchingItOnLeavesEveryOtherReadingOfTheRunAsItWas) {
    const VehicleProfile& scooter = *findVehicleProfile("scooter50");
    SimulatedVehicle plain(scooter, 184.0, 11);
    SimulatedVehicle withProbe(scooter, 184.0, 11, {}, LambdaProbe{true, 12.0, 14.0});
    const auto plainRun = plain.fullThrottleRun(2000);
    const auto probeRun = withProbe.fullThrottleRun(2000);
    ASSERT_EQ(plainRun.size(), probeRun.size());
    bool channelThreeDiffers = false;
    for (std::size_t i = 0; i < plainRun.size(); ++i) {
        const K40Reading& a = plainRun[i].reading;
        const K40Reading& b = probeRun[i].reading;
        ASSERT_EQ(a.rollerPeriodTicks, b.rollerPeriodTicks) << i;
        ASSERT_EQ(a.ignitionPeriodTicks, b.ignitionPeriodTicks) << i;
        for (const std::size_t c : {0u, 1u, 3u, 4u}) ASSERT_EQ(a.analog[c], b.analog[c]) << i;
        channelThreeDiffers = channelThreeDiffers || a.analog[2] != b.analog[2];
    }
    EXPECT_TRUE(channelThreeDiffers);
}

}  // namespace
}  // namespace dyno
