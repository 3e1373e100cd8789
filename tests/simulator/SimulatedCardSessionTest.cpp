// Whole card sessions between the card sequence and the simulated card: three runs
// into slot 1 that evaluate to the vehicle's power, the fixed-gearing ratio, the
// station's factor, and riders who stop hard after a run or set off late.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>

#include <algorithm>

#include "acquisition/CardRecordingViews.h"
#include "acquisition/card/CardSequence.h"
#include "evaluation/DynoPreparation.h"
#include "evaluation/RunEvaluation.h"
#include "simulator/SimulatedCard.h"

namespace dyno::test {
namespace {

using ::testing::IsEmpty;

// The test's time per port access: coarse enough to run quickly under the
// sanitizers (a tenth of the accesses of a real card), fine enough for the roller's
// periods (20 card ticks on 100,000 and more).
constexpr std::int64_t kAccessNs = 10'000;

struct CardSessionCase {
    const char* vehicle;
    DynoModel model;
};

class CardSessionRig {
  protected:
    CardStart startFor(const VehicleProfile& vehicle, DynoModel dynoModel) const {
        CardStart start;
        start.remoteButtonMask = remoteButtonMaskFor(dynoModel);
        const DynoPreparation dyno =
            prepareDyno(DynoConstantsInForce{}, dynoModel, Electronics::Card, BarMarkerTexts{});
        const TestType type =
            vehicle.ignitionDegrees == 720 ? TestType::Degrees720 : TestType::Degrees360;
        start.rpm = prepareRpm(TestTypeButtons(type), "360", dynoModel, RpmConstants{}).constants;
        start.channels = {true, true, false, false, true};
        start.session.dynoModel = dynoModel;
        start.session.electronics = Electronics::Card;
        start.session.rollerCode = dynoModel == DynoModel::K80 ? 50 : 0;
        start.session.speedDialConstant = dyno.constants.speedDialConstant;
        start.session.gearbox = vehicle.transmission == Transmission::FixedGearing
                                    ? GearboxType::FixedGearing
                                    : GearboxType::Variomatic;
        start.weather.isStationConnected = true;
        return start;
    }

    CardOutcome runSession(const VehicleProfile& vehicle, DynoModel dynoModel, CardStart start) {
        SimulatedCardOptions options;
        options.dynoModel = dynoModel;
        options.rollerCode = start.session.rollerCode;
        options.accessNs = kAccessNs;
        options.rider = rider;
        card = std::make_unique<SimulatedCard>(vehicle, options);
        CardSequence sequence({*card, *card, display, display, markers, messages}, slot1());
        return sequence.run(start);
    }

    TestSession& slot1() { return model->slot(1); }

    // Every run of slot 1 is whole: an even number of periods that evaluate to the
    // vehicle's power and end by speed after the pull.
    void expectRunsEvaluateToThePower(const VehicleProfile& vehicle) {
        auto workspace = EvaluationWorkspace::create();
        for (int run = 0; run < 3; ++run) {
            SCOPED_TRACE(run);
            const int samples = slot1().leadingPeriods(run);
            EXPECT_EQ(samples % 2, 0);
            const EvaluationReport report =
                evaluate(*model, 1, run, EvaluationOptions{}, *workspace);
            ASSERT_GT(report.evalCount, 100);
            const auto& curves = slot1().curves;
            const auto count = static_cast<long>(report.evalCount - 1);
            const double peak =
                *std::max_element(curves.powerCurve.begin(), curves.powerCurve.begin() + count);
            const double top =
                *std::max_element(curves.speedCurve.begin(), curves.speedCurve.begin() + count);
            const double expected = vehicle.peakWheelPowerHp(curves.speedCurve[0], top);
            EXPECT_NEAR(peak, expected, expected * 0.02);
            // The rider brakes after the pull: the run ends once the needle falls
            // below 13.
            EXPECT_LT(curves.speedCurve[static_cast<std::size_t>(count - 1)], top / 2);
            if (vehicle.transmission == Transmission::FixedGearing) {
                EXPECT_NEAR(slot1().values.rpmPer100(run), vehicle.rpmPerKmhLow, 1.0);
            }
            EXPECT_GT(slot1().analogSamples[static_cast<std::size_t>(run)][4][20], 0);
        }
    }

    RiderHabits rider;
    RecordingDisplay display;
    RecordingCardDisplay markers{display};
    RecordingMessages messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<SimulatedCard> card;
};

class SimulatedCardSession : public CardSessionRig,
                             public ::testing::TestWithParam<CardSessionCase> {};

TEST_P(SimulatedCardSession, ThreeRunsEvaluateToTheVehiclesPower) {
    const VehicleProfile& vehicle = *findVehicleProfile(GetParam().vehicle);
    const CardOutcome outcome =
        runSession(vehicle, GetParam().model, startFor(vehicle, GetParam().model));

    ASSERT_EQ(outcome.kind, CardOutcome::Kind::Finished) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 3);
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(slot1().header.dynoModel(), static_cast<int>(GetParam().model));
    EXPECT_EQ(slot1().header.electronicsType(), 0);

    expectRunsEvaluateToThePower(vehicle);
    // The station's default air gives a factor near 1 that is not exactly 1.
    EXPECT_NE(slot1().values.stationCorrection(), 0.0);
    EXPECT_NEAR(slot1().values.stationCorrection(), 1.0, 0.05);
    ASSERT_TRUE(outcome.station) << "the air boxes show what the factor came from";
    EXPECT_EQ(outcome.station->correction.factor, slot1().values.stationCorrection());
}

INSTANTIATE_TEST_SUITE_P(Vehicles, SimulatedCardSession,
                         ::testing::Values(CardSessionCase{"scooter50", DynoModel::K70},
                                           CardSessionCase{"bike125", DynoModel::K80}),
                         [](const ::testing::TestParamInfo<CardSessionCase>& vehicleCase) {
                             return std::string(vehicleCase.param.vehicle);
                         });

// A rider who brakes hard to a standstill at the end of each run (km/h per second
// of the parameter) and keeps the roller still for 6 s: the still roller ends each
// run by speed, whichever half of a revolution it stopped in.
class HardStopAfterEachRun : public CardSessionRig, public ::testing::TestWithParam<double> {};

TEST_P(HardStopAfterEachRun, KeepsEveryRun) {
    const VehicleProfile& vehicle = *findVehicleProfile("scooter50");
    rider.brakeKmhPerS = GetParam();
    rider.standstillS = 6.0;
    const CardOutcome outcome =
        runSession(vehicle, DynoModel::K70, startFor(vehicle, DynoModel::K70));
    ASSERT_EQ(outcome.kind, CardOutcome::Kind::Finished) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 3);
    expectRunsEvaluateToThePower(vehicle);
    EXPECT_EQ(card->ride().pullsStarted(), 3);
}

INSTANTIATE_TEST_SUITE_P(Braking, HardStopAfterEachRun,
                         ::testing::Values(7.0, 8.5, 9.5, 11.0, 13.0, 16.0),
                         [](const ::testing::TestParamInfo<double>& braking) {
                             return "KmhPerS" +
                                    std::to_string(static_cast<int>(braking.param * 10));
                         });

// Standing still after a hard stop, the rider presses the remote for the next run
// and sets off 6 s later.
class LateStartOfARun : public CardSessionRig, public ::testing::Test {};

TEST_F(LateStartOfARun, KeepsTheRunAndTheOnesAfterIt) {
    const VehicleProfile& vehicle = *findVehicleProfile("bike125");
    rider.brakeKmhPerS = 12.0;
    rider.standstillS = 3.0;
    rider.lateStartS = 6.0;
    const CardOutcome outcome =
        runSession(vehicle, DynoModel::K80, startFor(vehicle, DynoModel::K80));
    ASSERT_EQ(outcome.kind, CardOutcome::Kind::Finished) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 3);
    expectRunsEvaluateToThePower(vehicle);
    EXPECT_EQ(card->ride().pullsStarted(), 3);
}

}  // namespace
}  // namespace dyno::test
