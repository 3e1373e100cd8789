// Whole sessions between the K40 link and the simulated electronics, in process and
// on a manual clock: start-up, three runs into slot 1, evaluation of what arrived,
// the rev counter check, the weather station and a port that vanishes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "acquisition/ManualClock.h"
#include "acquisition/RecordingViews.h"
#include "acquisition/k40/K40Link.h"
#include "evaluation/RunEvaluation.h"
#include "simulator/SimulatedK40.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SimulatedSession : public ::testing::Test {
  protected:
    void plugIn(std::string_view vehicle, SimulatedK40Options options = {}) {
        profile = findVehicleProfile(vehicle);
        ASSERT_NE(profile, nullptr);
        link.reset();  // the link holds the electronics it listens to
        electronics = std::make_unique<SimulatedK40>(clock, *profile, options);
        link = std::make_unique<K40Link>(
            K40Link::Seams{*electronics, clock, display, display, display, messages}, *model,
            state);
    }

    K40Start startOf(const VehicleProfile& vehicle) const {
        K40Start start;
        start.portName = "SIM";
        start.rpmRegistration = 1;
        // The K40's constants for 360 ° or 720 ° between ignition impulses.
        start.dial = vehicle.ignitionDegrees == 360
                         ? K40DialConstants{7'096'320.0, 2'400'000, 150'000'000}
                         : K40DialConstants{7'096'320.0, 4'800'000, 300'000'000};
        start.recording.analogChannels = {true, true, true, true, true};
        start.session.rollerWeightKg = 184.0;
        start.session.gearbox = vehicle.transmission == Transmission::FixedGearing
                                    ? GearboxType::FixedGearing
                                    : GearboxType::Variomatic;
        return start;
    }

    std::size_t riderSaw(const std::string& text) const {
        return display.linesStartingWith("text " + text).size();
    }

    TestSession& slot1() { return model->slot(1); }

    ManualClock clock;
    RecordingDisplay display;
    RecordingMessages messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    AcquisitionState state;
    const VehicleProfile* profile = nullptr;
    std::unique_ptr<SimulatedK40> electronics;
    std::unique_ptr<K40Link> link;
};

class SimulatedVehicleSession : public SimulatedSession,
                                public ::testing::WithParamInterface<const char*> {};

TEST_P(SimulatedVehicleSession, ThreeRunsArriveInSlot1AndEvaluateToTheVehiclesPower) {
    plugIn(GetParam());
    ASSERT_EQ(link->start(startOf(*profile)), K40Link::Outcome::Done);
    clock.runUntilIdle();

    EXPECT_EQ(riderSaw("Test session finished"), 1u);
    EXPECT_EQ(riderSaw("Serial buffer full"), 0u);
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(electronics->overrunBytes(), 0u);
    EXPECT_EQ(state.runIndex, 3);
    ASSERT_EQ(electronics->runs().size(), 3u);
    // One start command and a restart after each run but the last.
    EXPECT_EQ(electronics->commandsReceived().size(), 3u);

    auto workspace = EvaluationWorkspace::create();
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const auto& sent = electronics->runs()[static_cast<std::size_t>(run)];
        const ConstTestRun received = std::as_const(slot1()).run(run);
        ASSERT_GT(sent.size(), 100u);
        ASSERT_EQ(static_cast<std::size_t>(slot1().leadingPeriods(run)), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            ASSERT_EQ(received.rollerPeriods[i],
                      static_cast<std::int32_t>(sent[i].reading.rollerPeriodTicks));
            ASSERT_NEAR(received.rpmSamples[i], sent[i].engineRpm, sent[i].engineRpm * 0.01);
            ASSERT_EQ(received.analogSamples[4][i], sent[i].reading.analog[4]);
        }

        const EvaluationReport report = evaluate(*model, 1, run, EvaluationOptions{}, *workspace);
        ASSERT_GT(report.evalCount, 100);
        const auto& power = slot1().curves.powerCurve;
        const double peak = *std::max_element(power.begin(), power.end());
        const double expected =
            profile->peakWheelPowerHp(sent.front().speedKmh, sent.back().speedKmh);
        EXPECT_NEAR(peak, expected, expected * 0.02);
    }
    EXPECT_EQ(slot1().header.electronicsType(), 1);
    EXPECT_EQ(slot1().values.rollerWeight(), 184.0);
}

INSTANTIATE_TEST_SUITE_P(Vehicles, SimulatedVehicleSession,
                         ::testing::Values("scooter50", "bike125"));

TEST_F(SimulatedSession, FixedGearingGivesTheBikesGearRatio) {
    plugIn("bike125");
    link->start(startOf(*profile));
    clock.runUntilIdle();
    for (int run = 0; run < 3; ++run) {
        EXPECT_NEAR(slot1().values.rpmPer100(run), profile->rpmPerKmhLow, 1.0) << run;
    }
}

TEST_F(SimulatedSession, TheSameSeedRecordsTheSameSessionAndAnotherSeedDoesNot) {
    const auto record = [this](std::uint32_t seed) {
        SimulatedK40Options options;
        options.seed = seed;
        plugIn("scooter50", options);
        link->start(startOf(*profile));
        clock.runUntilIdle();
        return std::vector<std::int32_t>(slot1().rollerPeriods.begin(),
                                         slot1().rollerPeriods.begin() + kRecordedSamples);
    };
    const auto first = record(5);
    EXPECT_EQ(record(5), first);
    EXPECT_NE(record(6), first);
}

TEST_F(SimulatedSession, StartUpAnswersWithFirmwareAndSampleSetting) {
    plugIn("scooter50");
    ASSERT_EQ(link->sendStartUp("SIM", 0), K40Link::Outcome::Done);
    clock.runUntilIdle();
    EXPECT_THAT(display.linesStartingWith("version"), ElementsAre("version 1 5"));
    EXPECT_THAT(display.linesStartingWith("samples"), ElementsAre("samples 2000"));
}

TEST_F(SimulatedSession, TheWeatherStationSetsTheCorrectionOfSlot1) {
    SimulatedK40Options options;
    options.airTemperatureC = 30.0;
    options.airPressureMbar = 960.0;
    options.airHumidityPercent = 60.0;
    plugIn("scooter50", options);
    ASSERT_EQ(link->requestWeather("SIM", 0, K40WeatherSetup{}), K40Link::Outcome::Done);
    clock.runUntilIdle();
    EXPECT_THAT(display.linesStartingWith("station"), ElementsAre("station 960 30 60"));
    const CorrectionResult expected =
        computeCorrection({30.0, 960.0, 60.0}, CorrectionStandard::Eec);
    EXPECT_NEAR(slot1().correctionFactor, expected.factor, 1e-9);
    EXPECT_GT(slot1().correctionFactor, 1.0);  // warm, thin air: power is corrected up
}

TEST_F(SimulatedSession, ARevCounterCheckShowsRpmUntilTheRemoteEndsIt) {
    plugIn("bike125");
    slot1().header.words.fill(-1);
    K40Start start = startOf(*profile);
    start.isRevCounterCheck = true;
    ASSERT_EQ(link->start(start), K40Link::Outcome::Done);
    clock.runUntilIdle();
    EXPECT_EQ(riderSaw("Rpm check running"), 1u);
    EXPECT_EQ(riderSaw("Test session finished"), 1u);
    // The launch rpm of 3000 on the 62.5 rpm-per-position dial.
    EXPECT_THAT(display.linesStartingWith("needle rpm 48 FFFF00"), ::testing::Not(IsEmpty()));
    EXPECT_EQ(slot1().header.dynoModel(), -1);
    EXPECT_TRUE(electronics->runs().empty());
}

TEST_F(SimulatedSession, TheRemoteCanBeLeftToTheTest) {
    SimulatedK40Options options;
    options.remoteDelayMs = -1;
    plugIn("scooter50", options);
    link->start(startOf(*profile));
    clock.advance(60'000);
    EXPECT_EQ(electronics->phase(), SimulatedK40::Phase::WaitingForRemote);
    EXPECT_EQ(riderSaw("Test running"), 0u);
    EXPECT_GT(display.linesStartingWith("needle speed").size(), 100u);  // live needles
    electronics->pressRemote();
    clock.advance(100);
    EXPECT_EQ(riderSaw("Test running"), 1u);
}

TEST_F(SimulatedSession, APulledAdapterKeepsTheRunsReceived) {
    plugIn("scooter50");
    link->start(startOf(*profile));
    while (electronics->runsSent() < 2 || !link->isPaused()) clock.runUntilIdle(1);
    electronics->vanish("Input/output error");
    clock.runUntilIdle();
    EXPECT_THAT(messages.shown, ElementsAre("VKR dyno: Connection to the dyno electronics lost: "
                                            "Input/output error"));
    EXPECT_EQ(static_cast<std::size_t>(slot1().leadingPeriods(0)), electronics->runs()[0].size());
    EXPECT_EQ(static_cast<std::size_t>(slot1().leadingPeriods(1)), electronics->runs()[1].size());
    EXPECT_EQ(riderSaw("Test session finished"), 0u);
    EXPECT_EQ(link->start(startOf(*profile)), K40Link::Outcome::PortFailed);
}

TEST_F(SimulatedSession, AtTheLineRateASessionWithFiveChannelsLosesNothing) {
    SimulatedK40Options options;
    options.isPacedAtLineRate = true;
    plugIn("bike125", options);
    link->start(startOf(*profile));
    clock.runUntilIdle();
    EXPECT_EQ(riderSaw("Test session finished"), 1u);
    EXPECT_EQ(electronics->overrunBytes(), 0u);
    for (int run = 0; run < 3; ++run) {
        EXPECT_EQ(static_cast<std::size_t>(slot1().leadingPeriods(run)),
                  electronics->runs()[static_cast<std::size_t>(run)].size());
        EXPECT_EQ(state.analogCount[0], 0);
    }
    // Seven packets a revolution at 5760 bytes a second take their time.
    std::size_t revolutions = 0;
    for (const auto& run : electronics->runs()) revolutions += run.size();
    EXPECT_GT(clock.nowMs(),
              static_cast<std::int64_t>(static_cast<double>(revolutions * 7 * 5) / 5.76));
}

TEST(SimulatedVehicleTest, ARunEndsWhereTheEngineStopsPulling) {
    const VehicleProfile& bike = *findVehicleProfile("bike125");
    SimulatedVehicle vehicle(bike, 184.0, 1);
    const auto run = vehicle.fullThrottleRun(kSamplesPerRun);
    ASSERT_FALSE(run.empty());
    EXPECT_NEAR(run.front().speedKmh, bike.launchSpeedKmh, 1.0);
    // Past the power peak, short of the limiter at 110 km/h.
    EXPECT_GT(run.back().speedKmh, 100.0);
    EXPECT_LT(run.back().speedKmh, 110.0);
    EXPECT_TRUE(std::is_sorted(run.begin(), run.end(), [](const auto& a, const auto& b) {
        return a.speedKmh < b.speedKmh;
    }));
    SimulatedVehicle shortRun(bike, 184.0, 1);
    EXPECT_EQ(shortRun.fullThrottleRun(40).size(), 40u);
}

}  // namespace
}  // namespace dyno::test
