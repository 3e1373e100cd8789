// The channel curve of a run: what each speed point reads through the recording
// delay, the smoothing and the calibration, on a steady run whose revolutions all
// take the same time, so a delay is a whole number of revolutions plus a bit.
#include "evaluation/ChannelCurve.h"

#include <gtest/gtest.h>

#include "RecordedRun.h"
#include "evaluation/ChannelCalibrationRules.h"

namespace dyno {
namespace {

constexpr int kPeriods = 400;  // so the run has 399 speed points
constexpr int kPoints = kPeriods - 1;
const ChannelCalibration kAfr{"AFR", "AFR", 0.0, 10.0, 1023.0, 20.0, 1};

class ChannelCurveOfARun : public ::testing::Test {
  protected:
    void SetUp() override {
        evaluation_testing::describeDyno(session(), {});
        auto run = session().run(1);
        for (int i = 0; i < kPeriods; ++i) {
            const auto at = static_cast<std::size_t>(i);
            run.rollerPeriods[at] = 100000;
            run.analogSamples[0][at] = static_cast<std::uint16_t>(3 * i + 7);  // a ramp
            run.analogSamples[2][at] = i % 2 == 0 ? 100 : 200;
            run.analogSamples[3][at] = 140;  // what a saved session holds for channel 4
        }
        report = evaluateRunInto(session(), 1, {}, *workspace, curves);
        ASSERT_EQ(report.evalCount, kPoints);
        revolutionSeconds = workspace->timeAxis()[1];
        ASSERT_GT(revolutionSeconds, 0.0);
    }

    TestSession& session() { return model->slot(1); }
    ChannelCurveSource source() { return {session(), 1, workspace->timeAxis(), report.evalCount}; }
    double afrOfSample(int k) const { return 10.0 + (3.0 * k + 7.0) * 10.0 / 1023.0; }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::unique_ptr<EvaluationWorkspace> workspace = EvaluationWorkspace::create();
    EvaluatedCurves curves;
    EvaluationReport report;
    double revolutionSeconds = 0.0;
    ChannelCurve curve;
};

TEST_F(ChannelCurveOfARun, WithoutDelayEachPointReadsTheSampleOfTheRevolutionAfterIt) {
    ASSERT_EQ(evaluateChannelCurve(source(), 1, kAfr, 0.0, curve), ChannelCurveStatus::drawn);
    EXPECT_EQ(curve.pointCount, kPoints);
    for (const int i : {0, 1, 200, kPoints - 1}) {
        EXPECT_DOUBLE_EQ(curve.values[static_cast<std::size_t>(i)], afrOfSample(i + 1)) << i;
    }
    EXPECT_EQ(curve.values[kPoints], 0.0);
}

TEST_F(ChannelCurveOfARun, ADelayJustBelowAndJustAboveThreeRevolutionsReadsThreeOrFourLater) {
    ASSERT_EQ(evaluateChannelCurve(source(), 1, kAfr, 2.9 * revolutionSeconds, curve),
              ChannelCurveStatus::drawn);
    EXPECT_DOUBLE_EQ(curve.values[10], afrOfSample(13));
    EXPECT_EQ(curve.pointCount, kPoints - 2) << "the last two points' samples were never recorded";

    ASSERT_EQ(evaluateChannelCurve(source(), 1, kAfr, 3.1 * revolutionSeconds, curve),
              ChannelCurveStatus::drawn);
    EXPECT_DOUBLE_EQ(curve.values[10], afrOfSample(14));
    EXPECT_EQ(curve.pointCount, kPoints - 3);
    EXPECT_DOUBLE_EQ(curve.values[kPoints - 4], afrOfSample(kPeriods - 1));
    EXPECT_EQ(curve.values[kPoints - 3], 0.0);
}

TEST_F(ChannelCurveOfARun, SmoothingOverTwoSamplesEvensOutAnAlternatingInput) {
    const ChannelCalibration counts{"Raw", "counts", 0.0, 0.0, 1.0, 1.0, 1};
    ASSERT_EQ(evaluateChannelCurve(source(), 3, counts, 0.0, curve), ChannelCurveStatus::drawn);
    EXPECT_EQ(curve.values[0], 200.0);
    EXPECT_EQ(curve.values[1], 100.0);

    ChannelCalibration smoothed = counts;
    smoothed.smoothingSamples = 2;
    ASSERT_EQ(evaluateChannelCurve(source(), 3, smoothed, 0.0, curve), ChannelCurveStatus::drawn);
    EXPECT_EQ(curve.values[0], 150.0);
    EXPECT_EQ(curve.values[1], 150.0);
    EXPECT_EQ(curve.values[kPoints - 1], 200.0) << "the last recorded sample stands alone";
}

TEST_F(ChannelCurveOfARun, AChannelThatReadsOneValueThroughoutGivesNoCurve) {
    EXPECT_EQ(evaluateChannelCurve(source(), 2, kAfr, 0.0, curve), ChannelCurveStatus::notRecorded);
    EXPECT_EQ(curve.pointCount, 0);
    EXPECT_EQ(curve.constantSample, 0);

    EXPECT_EQ(evaluateChannelCurve(source(), 4, kAfr, 0.0, curve), ChannelCurveStatus::notRecorded);
    EXPECT_EQ(curve.constantSample, 140);
    EXPECT_EQ(curve.values[0], 0.0);
}

TEST_F(ChannelCurveOfARun, AnUnusableCalibrationOrAnEmptyRunGivesNoCurve) {
    ChannelCalibration flat = kAfr;
    flat.recordedHigh = flat.recordedLow;
    EXPECT_EQ(evaluateChannelCurve(source(), 1, flat, 0.0, curve), ChannelCurveStatus::refused);
    EXPECT_EQ(curve.pointCount, 0);

    const ChannelCurveSource empty{session(), 0, workspace->timeAxis(), 0};
    EXPECT_EQ(evaluateChannelCurve(empty, 1, kAfr, 0.0, curve), ChannelCurveStatus::emptyRun);
    EXPECT_THROW((void)evaluateChannelCurve(source(), 6, kAfr, 0.0, curve), std::out_of_range);
}

TEST_F(ChannelCurveOfARun, EngineSpeedCountsAsRecordedOnlyWhenARunHasIt) {
    EXPECT_FALSE(isEngineSpeedRecorded(session(), 1, report.evalCount));
    session().run(1).rpmSamples[kPoints - 1] = 9000;
    EXPECT_TRUE(isEngineSpeedRecorded(session(), 1, report.evalCount));
    EXPECT_FALSE(isEngineSpeedRecorded(session(), 1, kPoints - 1));
}

}  // namespace
}  // namespace dyno
