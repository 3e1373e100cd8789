#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "CoastDownRun.h"
#include "evaluation/SessionAnalysis.h"

namespace dyno {
namespace {

using evaluation_testing::VehicleOnRoller;

// Three runs of one vehicle whose engine pulled a little differently each time.
class SessionStatisticsOfRuns : public ::testing::Test {
  protected:
    const SessionStatistics& analyse(const std::array<double, kRunsPerSession>& peakTorquesNm) {
        for (int r = 0; r < kRunsPerSession; ++r) {
            runs[static_cast<std::size_t>(r)].peakTorqueNm =
                peakTorquesNm[static_cast<std::size_t>(r)];
            evaluation_testing::recordVehicleRun(model->slot(1), r,
                                                 runs[static_cast<std::size_t>(r)]);
        }
        analyseSession(model->slot(1), {}, *workspace);
        return workspace->statistics();
    }

    // The spread of a truth over the three runs, in % of its mean.
    template <typename Truth>
    double trueSpreadPercent(Truth truth) const {
        std::array<double, kRunsPerSession> peaks{};
        for (std::size_t r = 0; r < peaks.size(); ++r) {
            peaks[r] = evaluation_testing::peakOf(runs[r], truth).value;
        }
        const auto [low, high] = std::minmax_element(peaks.begin(), peaks.end());
        return (*high - *low) / ((peaks[0] + peaks[1] + peaks[2]) / 3.0) * 100.0;
    }

    std::array<VehicleOnRoller, kRunsPerSession> runs{};
    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<AnalysisWorkspace> workspace = AnalysisWorkspace::create();
};

TEST_F(SessionStatisticsOfRuns, ARunSixPercentStrongerIsFlaggedAndSpreadsThePeaks) {
    const SessionStatistics& statistics = analyse({10.0, 10.1, 10.6});
    EXPECT_EQ(statistics.peakWheelPower.runs, 3);
    EXPECT_NEAR(statistics.peakWheelPower.spreadPercent,
                trueSpreadPercent(evaluation_testing::wheelHp), 0.3);
    EXPECT_EQ(statistics.peakEnginePower.runs, 3);
    EXPECT_NEAR(statistics.peakEnginePower.spreadPercent,
                trueSpreadPercent(evaluation_testing::engineSideHp), 0.3);
    EXPECT_EQ(statistics.flaggedRun, 2);

    const double third = evaluation_testing::peakOf(runs[2], evaluation_testing::wheelHp).value;
    const double others = (evaluation_testing::peakOf(runs[0], evaluation_testing::wheelHp).value +
                           evaluation_testing::peakOf(runs[1], evaluation_testing::wheelHp).value) /
                          2.0;
    EXPECT_NEAR(statistics.flaggedDeviationPercent, (third - others) / others * 100.0, 0.3);
}

TEST_F(SessionStatisticsOfRuns, RunsWithinThreePercentOfEachOtherAreNotFlagged) {
    const SessionStatistics& statistics = analyse({10.0, 10.1, 10.2});
    EXPECT_NEAR(statistics.peakWheelPower.spreadPercent,
                trueSpreadPercent(evaluation_testing::wheelHp), 0.3);
    EXPECT_EQ(statistics.flaggedRun, -1);
}

TEST_F(SessionStatisticsOfRuns, OfTwoRunsNeitherIsFlagged) {
    for (int r = 0; r < kRunsPerSession; ++r) {
        evaluation_testing::recordVehicleRun(model->slot(1), r, runs[static_cast<std::size_t>(r)]);
    }
    runs[1].peakTorqueNm = 10.8;
    evaluation_testing::recordVehicleRun(model->slot(1), 1, runs[1]);
    std::fill_n(model->slot(1).run(2).rollerPeriods.begin(), kSamplesPerRun, 0);
    analyseSession(model->slot(1), {}, *workspace);
    EXPECT_EQ(workspace->statistics().peakWheelPower.runs, 2);
    EXPECT_GT(workspace->statistics().peakWheelPower.spreadPercent, 5.0);
    EXPECT_EQ(workspace->statistics().flaggedRun, -1);
}

TEST_F(SessionStatisticsOfRuns, TheMeanCurveIsTheRunsMeanOverTheSpeedsAllCover) {
    runs[0].startKmh = 25.0;
    runs[1].liftOffKmh = 90.0;
    const SessionStatistics& statistics = analyse({10.0, 10.3, 10.6});
    ASSERT_EQ(statistics.meanCurvePoints, kMeanCurvePoints);
    EXPECT_GE(statistics.meanCurveSpeed.front(), 25.0);
    EXPECT_LE(statistics.meanCurveSpeed.back(), 90.0);
    EXPECT_GT(statistics.meanCurveSpeed.back(), 85.0);
    // Away from the ends, where the smoothing pulls every power curve down.
    for (int k = 10; k < kMeanCurvePoints - 10; k += 10) {
        const double kmh = statistics.meanCurveSpeed[static_cast<std::size_t>(k)];
        double truth = 0.0;
        for (const VehicleOnRoller& run : runs)
            truth += evaluation_testing::wheelHp(run, kmh) / 3.0;
        EXPECT_NEAR(statistics.meanCurvePower[static_cast<std::size_t>(k)], truth, 0.02 * truth)
            << "at " << kmh << " km/h";
    }
}

}  // namespace
}  // namespace dyno
