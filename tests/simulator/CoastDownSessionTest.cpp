// Coast-down rides on the simulated K40 and card, analysed as the Analysis page
// analyses a session: the engine-side peak and the loss power match the losses and
// the engine the simulator drove the roller with, and the runs are apart as seeded.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "acquisition/CardRecordingViews.h"
#include "acquisition/ManualClock.h"
#include "acquisition/RecordingViews.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/k40/K40Link.h"
#include "evaluation/DynoPreparation.h"
#include "evaluation/SessionAnalysis.h"
#include "simulator/SimulatedCard.h"
#include "simulator/SimulatedK40.h"

namespace dyno::test {
namespace {

constexpr std::int64_t kCardAccessNs = 10'000;  // as the card session tests

CoastDownRide coastDownRide() {
    CoastDownRide ride;
    ride.isOn = true;
    return ride;
}

// The scooter's session on the simulated K40, recorded into slot 1.
CoastDownTruth recordK40Session(SessionModel& model, std::uint32_t seed) {
    const VehicleProfile& vehicle = *findVehicleProfile("scooter50");
    ManualClock clock;
    RecordingDisplay display;
    RecordingMessages messages;
    AcquisitionState state;
    SimulatedK40Options options;
    options.seed = seed;
    options.coastDown = coastDownRide();
    SimulatedK40 electronics(clock, vehicle, options);
    K40Link link({electronics, clock, display, display, display, messages}, model, state);
    K40Start start;
    start.portName = "SIM";
    start.dial = K40DialConstants{7'096'320.0, 2'400'000, 150'000'000};
    start.session.rollerWeightKg = 184.0;
    start.session.gearbox = GearboxType::Variomatic;
    EXPECT_EQ(link.start(start), K40Link::Outcome::Done);
    clock.runUntilIdle();
    EXPECT_EQ(state.runIndex, 3);
    return electronics.coastDownTruth();
}

// The scooter's session on the simulated K70 card, recorded into slot 1.
CoastDownTruth recordCardSession(SessionModel& model) {
    const VehicleProfile& vehicle = *findVehicleProfile("scooter50");
    CardStart start;
    start.remoteButtonMask = remoteButtonMaskFor(DynoModel::K70);
    start.rpm =
        prepareRpm(TestTypeButtons(TestType::Degrees360), "360", DynoModel::K70, RpmConstants{})
            .constants;
    start.session.dynoModel = DynoModel::K70;
    start.session.electronics = Electronics::Card;
    start.session.speedDialConstant =
        prepareDyno(DynoConstantsInForce{}, DynoModel::K70, Electronics::Card, BarMarkerTexts{})
            .constants.speedDialConstant;
    start.session.gearbox = GearboxType::Variomatic;
    SimulatedCardOptions options;
    options.accessNs = kCardAccessNs;
    options.rider.coastDown = coastDownRide();
    SimulatedCard card(vehicle, options);
    RecordingDisplay display;
    RecordingCardDisplay markers{display};
    RecordingMessages messages;
    CardSequence sequence({card, card, display, display, markers, messages}, model.slot(1));
    const CardOutcome outcome = sequence.run(start);
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Finished) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 3);
    return card.ride().coastDownTruth();
}

// Each run starts near a standstill, its coast-down is usable, its engine-side peak
// is the engine's within 2 % and its losses are the ride's within 5 % from 30 % to
// 90 % of its peak speed.
void expectAnalysisFindsTheTruth(const TestSession& session, const CoastDownTruth& truth) {
    auto workspace = AnalysisWorkspace::create();
    analyseSession(session, EvaluationOptions{}, *workspace);
    for (int r = 0; r < kRunsPerSession; ++r) {
        SCOPED_TRACE(r);
        const RunAnalysis& run = workspace->run(r);
        // Not the launch speeds of 19 km/h and more: the card's first run is the
        // fastest, the sequence times a revolution before it records.
        EXPECT_LT(run.curves.speedCurve[0], 12.0);
        ASSERT_EQ(run.loss.verdict, CoastDownVerdict::kUsable)
            << coastDownVerdictText(run.loss.verdict);
        ASSERT_TRUE(run.engine.hasEngineSide);
        const double factor = run.loss.scale.correctionFactor;
        const auto points = static_cast<std::size_t>(run.engine.points);
        const auto [slowest, fastest] =
            std::minmax_element(run.engine.speed.begin(), run.engine.speed.begin() + points);
        const double peak = factor * truth.peakEnginePowerHp(r, *slowest, *fastest);
        EXPECT_NEAR(run.engine.peakPower, peak, peak * 0.02);
        for (double share = 0.3; share <= 0.9; share += 0.05) {
            const double v = share * run.loss.peakSpeed;
            ASSERT_TRUE(run.loss.covers(v)) << v;
            const double loss = factor * truth.lossPowerHp(v);
            EXPECT_NEAR(run.loss.lossPowerAt(v), loss, loss * 0.05) << v;
        }
    }
    // The mean losses are the ride's too where the runs' are, the mean curve has
    // them at every speed all three coast-downs cover, and the mean engine power is the mean wheel
    // power plus them.
    const MeanEngineSide& mean = workspace->meanEngineSide();
    const SessionStatistics& statistics = workspace->statistics();
    ASSERT_TRUE(mean.hasEngineSide);
    EXPECT_EQ(mean.coastDowns, 3);
    EXPECT_GT(mean.lastPoint - mean.firstPoint, kMeanCurvePoints / 2);
    const double factor = workspace->run(0).loss.scale.correctionFactor;
    for (int k = mean.firstPoint; k <= mean.lastPoint; ++k) {
        const auto at = static_cast<std::size_t>(k);
        const double v = statistics.meanCurveSpeed[at];
        for (int r = 0; r < kRunsPerSession; ++r) ASSERT_TRUE(workspace->run(r).loss.covers(v));
        const double loss = factor * truth.lossPowerHp(v);
        const double share = v / workspace->run(0).loss.peakSpeed;
        if (share >= 0.3 && share <= 0.9) {
            EXPECT_NEAR(mean.lossPower[at], loss, loss * 0.05) << v;
        }
        EXPECT_DOUBLE_EQ(mean.enginePower[at], statistics.meanCurvePower[at] + mean.lossPower[at]);
    }
    if (mean.firstPoint > 0) {
        const double below =
            statistics.meanCurveSpeed[static_cast<std::size_t>(mean.firstPoint - 1)];
        EXPECT_FALSE(workspace->run(0).loss.covers(below) && workspace->run(1).loss.covers(below) &&
                     workspace->run(2).loss.covers(below));
    }
}

TEST(CoastDownSession, TheK40sAnalysisFindsTheEngineAndTheLossesItWasDrivenBy) {
    auto model = SessionModel::create();
    const CoastDownTruth truth = recordK40Session(*model, 1);
    expectAnalysisFindsTheTruth(model->slot(1), truth);
}

TEST(CoastDownSession, TheCardsAnalysisFindsTheEngineAndTheLossesItWasDrivenBy) {
    auto model = SessionModel::create();
    const CoastDownTruth truth = recordCardSession(*model);
    expectAnalysisFindsTheTruth(model->slot(1), truth);
}

TEST(CoastDownSession, TheRunsArePowerfulAsTheSeedDrewThem) {
    auto model = SessionModel::create();
    const CoastDownTruth truth = recordK40Session(*model, 7);
    auto workspace = AnalysisWorkspace::create();
    analyseSession(model->slot(1), EvaluationOptions{}, *workspace);
    const auto& runs = workspace->statistics().runs;
    // The seed's factors are far enough apart to tell, and the peaks follow them.
    EXPECT_GT(std::abs(truth.runFactor(1) - truth.runFactor(0)), 0.005);
    for (int r = 1; r < kRunsPerSession; ++r) {
        const auto at = static_cast<std::size_t>(r);
        EXPECT_NEAR(runs[at].peakWheelPower / runs[0].peakWheelPower,
                    truth.runFactor(r) / truth.runFactor(0), 0.003)
            << r;
    }
    EXPECT_NE(runPowerFactor(truth.ride, 8, 1), truth.runFactor(1));
    EXPECT_EQ(runPowerFactor(truth.ride, 7, 4), truth.runFactor(1));
}

}  // namespace
}  // namespace dyno::test
