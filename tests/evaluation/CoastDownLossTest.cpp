#include <gtest/gtest.h>

#include "CoastDownRun.h"
#include "evaluation/SessionAnalysis.h"

namespace dyno {
namespace {

using evaluation_testing::DynoUnderTest;
using evaluation_testing::VehicleOnRoller;

// Three runs of one vehicle in slot 1, analysed as the Analysis page would.
class CoastDownAnalysis : public ::testing::Test {
  protected:
    const RunAnalysis& analyse(const VehicleOnRoller& vehicle,
                               const EvaluationOptions& options = {},
                               double correctionFactor = 1.0) {
        TestSession& session = model->slot(1);
        for (int r = 0; r < kRunsPerSession; ++r) {
            evaluation_testing::recordVehicleRun(session, r, vehicle);
        }
        session.correctionFactor = correctionFactor;
        analyseSession(session, options, *workspace);
        return workspace->run(0);
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<AnalysisWorkspace> workspace = AnalysisWorkspace::create();
};

// How the displayed units turn the model's truth (km/h, hp) into what the analysis shows.
struct ShownUnits {
    EvaluationOptions options;
    double kmhPerShownSpeed = 1.0;
    double shownPowerPerHp = 1.0;
};
const ShownUnits kKmhAndHp{};
const ShownUnits kMphAndKw{{.speedInMph = true, .powerInKw = true}, kKmhPerMph, kKwPerHp};

void expectLossFollowsModel(const CoastDownLoss& loss, const VehicleOnRoller& vehicle,
                            const ShownUnits& units, double correctionFactor) {
    ASSERT_TRUE(loss.isUsable()) << coastDownVerdictText(loss.verdict);
    const double peakKmh = loss.peakSpeed * units.kmhPerShownSpeed;
    EXPECT_LE(loss.lowSpeed * units.kmhPerShownSpeed, 0.3 * peakKmh);
    EXPECT_GE(loss.highSpeed * units.kmhPerShownSpeed, 0.9 * peakKmh);
    int checked = 0;
    for (int k = 0; k < loss.points; ++k) {
        const double kmh = loss.speed[static_cast<std::size_t>(k)] * units.kmhPerShownSpeed;
        if (kmh < 0.3 * peakKmh || kmh > 0.9 * peakKmh) continue;
        const double truth =
            evaluation_testing::lossHp(vehicle, kmh) * units.shownPowerPerHp * correctionFactor;
        EXPECT_NEAR(loss.lossPower[static_cast<std::size_t>(k)], truth, 0.05 * truth)
            << "at " << kmh << " km/h";
        ++checked;
    }
    EXPECT_GT(checked, kLossCurvePoints / 2);
}

void expectEnginePeakFollowsModel(const EngineSideCurves& engine, const VehicleOnRoller& vehicle,
                                  const ShownUnits& units, double correctionFactor) {
    ASSERT_TRUE(engine.hasEngineSide);
    const auto truth = evaluation_testing::peakOf(vehicle, evaluation_testing::engineSideHp);
    const double truePeak = truth.value * units.shownPowerPerHp * correctionFactor;
    EXPECT_NEAR(engine.peakPower, truePeak, 0.02 * truePeak);
    EXPECT_NEAR(engine.speedAtPeakPower * units.kmhPerShownSpeed, truth.kmh, 3.0);
    const auto trueTorque = evaluation_testing::peakOf(vehicle, [](const auto& v, double kmh) {
        return evaluation_testing::dynoTorqueFigure(v, evaluation_testing::engineForceN(v, kmh));
    });
    // The tractive-force figure is the same in every unit: mph go back into km/h.
    EXPECT_NEAR(engine.peakTorque, trueTorque.value * correctionFactor,
                0.02 * trueTorque.value * correctionFactor);
}

TEST_F(CoastDownAnalysis, LossFollowsTheLossModelFromThirtyToNinetyPercentOfPeakSpeed) {
    const VehicleOnRoller vehicle;
    expectLossFollowsModel(analyse(vehicle, {}, 1.08).loss, vehicle, kKmhAndHp, 1.08);
}

TEST_F(CoastDownAnalysis, EngineSidePeakIsTheEnginesPowerWithinTwoPercent) {
    const VehicleOnRoller vehicle;
    const RunAnalysis& run = analyse(vehicle, {}, 1.08);
    expectEnginePeakFollowsModel(run.engine, vehicle, kKmhAndHp, 1.08);
    // Wheel power plus loss, not the wheel power alone.
    const double wheelPeak = workspace->statistics().runs[0].peakWheelPower;
    EXPECT_GT(run.engine.peakPower, 1.2 * wheelPeak);
}

TEST_F(CoastDownAnalysis, AK80InMphAndKwFollowsTheSameModel) {
    VehicleOnRoller vehicle;
    vehicle.dyno = DynoUnderTest{DynoModel::K80, Electronics::Card, 50, 0.0};
    const RunAnalysis& run = analyse(vehicle, kMphAndKw.options, 0.93);
    expectLossFollowsModel(run.loss, vehicle, kMphAndKw, 0.93);
    expectEnginePeakFollowsModel(run.engine, vehicle, kMphAndKw, 0.93);
}

struct UnusableCoastDown {
    const char* name;
    DynoModel dynoModel;
    std::int16_t rollerCode;
    double coastSeconds;  // recorded after the throttle closes
    CoastDownVerdict verdict;
};

class UnusableCoastDowns : public CoastDownAnalysis,
                           public ::testing::WithParamInterface<UnusableCoastDown> {};

TEST_P(UnusableCoastDowns, GiveTheirReasonAndNoEngineSideFigure) {
    VehicleOnRoller vehicle;
    vehicle.dyno.model = GetParam().dynoModel;
    vehicle.dyno.rollerCode = GetParam().rollerCode;
    vehicle.coastSeconds = GetParam().coastSeconds;
    const RunAnalysis& run = analyse(vehicle);
    EXPECT_EQ(run.loss.verdict, GetParam().verdict) << coastDownVerdictText(run.loss.verdict);
    EXPECT_EQ(run.loss.points, 0);
    EXPECT_FALSE(run.engine.hasEngineSide);
    EXPECT_EQ(run.engine.points, 0);
    const RunFigures& figures = workspace->statistics().runs[0];
    EXPECT_TRUE(figures.hasData);
    EXPECT_GT(figures.peakWheelPower, 5.0);
    EXPECT_FALSE(figures.hasEngineSide);
    EXPECT_EQ(workspace->statistics().peakEnginePower.runs, 0);
}

INSTANTIATE_TEST_SUITE_P(Runs, UnusableCoastDowns,
                         ::testing::Values(
                             // Ends while the throttle is still settling: no coast-down at all.
                             UnusableCoastDown{"EndingAtThePeak", DynoModel::K40, 0, 0.5,
                                               CoastDownVerdict::kTooShort},
                             // Three seconds on the big roller are some 40 revolutions.
                             UnusableCoastDown{"ThreeSecondsOnAK80", DynoModel::K80, 50, 3.5,
                                               CoastDownVerdict::kTooFewRevolutions},
                             // Five seconds from 100 km/h slow the roller by some 13 km/h.
                             UnusableCoastDown{"FiveSecondsOnAK40", DynoModel::K40, 0, 6.0,
                                               CoastDownVerdict::kSpeedRangeTooNarrow}),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(CoastDownAnalysis, AnEmptyRunHasNoFiguresAtAll) {
    analyse(VehicleOnRoller{});
    TestSession& session = model->slot(1);
    std::fill_n(session.run(1).rollerPeriods.begin(), kSamplesPerRun, 0);
    analyseSession(session, {}, *workspace);
    EXPECT_EQ(workspace->run(1).loss.verdict, CoastDownVerdict::kEmptyRun);
    EXPECT_FALSE(workspace->statistics().runs[1].hasData);
    EXPECT_EQ(workspace->statistics().peakWheelPower.runs, 2);
    EXPECT_EQ(workspace->statistics().flaggedRun, -1);
}

}  // namespace
}  // namespace dyno
