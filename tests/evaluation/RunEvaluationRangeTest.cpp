#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "RecordedRun.h"
#include "evaluation/RunEvaluation.h"

namespace dyno {
namespace {

using evaluation_testing::DynoUnderTest;
using evaluation_testing::EvaluationTest;
using evaluation_testing::recordRun;
using evaluation_testing::recordSteadyRun;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Index of the last non-zero entry, or -1.
int lastNonZero(const EvaluatedCurves::Curve& curve) {
    for (int i = kSamplesPerRun - 1; i >= 0; --i) {
        if (curve[at(i)] != 0.0) return i;
    }
    return -1;
}

void fillWithGarbage(EvaluatedCurves& curves) {
    curves.speedCurve.fill(-1.0);
    curves.rpmCurve.fill(-2.0);
    curves.powerCurve.fill(-3.0);
    curves.torqueCurve.fill(-4.0);
    curves.maxSpeedText.assign("old speed");
    curves.maxPowerText.assign("old power");
    curves.maxTorqueText.assign("old torque");
}

TEST_F(EvaluationTest, EmptyRunClearsTheCurvesAndKeepsTheMaximumTexts) {
    recordSteadyRun(slot(3), 0, DynoUnderTest{}, 60'000, 300);
    evaluateSlot(3);  // leaves 299 points behind in the shared workspace
    fillWithGarbage(slot(1).curves);
    const auto report = evaluateSlot(1, 1);
    EXPECT_EQ(report.evalCount, 0);
    EXPECT_FALSE(report.warnings.any());
    for (int i = 0; i < kSamplesPerRun; ++i) {
        ASSERT_EQ(slot(1).curves.speedCurve[at(i)], 0.0);
        ASSERT_EQ(slot(1).curves.rpmCurve[at(i)], 0.0);
        ASSERT_EQ(slot(1).curves.powerCurve[at(i)], 0.0);
        ASSERT_EQ(slot(1).curves.torqueCurve[at(i)], 0.0);
        ASSERT_EQ(workspace->rawAccel()[at(i)], 0.0);
    }
    EXPECT_EQ(slot(1).curves.maxSpeedText.view(), "old speed");
    EXPECT_EQ(slot(1).curves.maxPowerText.view(), "old power");
    EXPECT_EQ(slot(1).curves.maxTorqueText.view(), "old torque");
    EXPECT_EQ(workspace->evalCount(), 299);
}

TEST_F(EvaluationTest, OnePeriodGivesNoPointsButZeroMaxima) {
    recordSteadyRun(slot(1), 0, DynoUnderTest{}, 60'000, 1);
    fillWithGarbage(slot(1).curves);
    EXPECT_EQ(evaluateSlot(1).evalCount, 0);
    EXPECT_EQ(lastNonZero(slot(1).curves.speedCurve), -1);
    EXPECT_EQ(slot(1).curves.maxSpeedText.view(), "0.00");
    EXPECT_EQ(slot(1).curves.maxPowerText.view(), "0.00");
}

// The electronics fill a run to its last entry; run 2's neighbour in the session's
// storage (run 3) must never be read as more of run 2.
TEST_F(EvaluationTest, FullRunIsCutAt1999PeriodsAndNeverReadsTheNextRun) {
    TestSession& session = slot(4);
    recordRun(
        session, 2, DynoUnderTest{}, 15.0, kSamplesPerRun, [](int, double) { return 1.5; },
        [](double speed) { return 8000.0 + speed; });
    EvaluationOptions withRpm;
    withRpm.rpmCurveShown = true;

    const auto report = evaluate(*model, 4, 2, withRpm, *workspace);
    const EvaluatedCurves clean = session.curves;
    EXPECT_EQ(report.evalCount, 1998);
    EXPECT_EQ(lastNonZero(clean.speedCurve), 1997);
    EXPECT_EQ(lastNonZero(clean.rpmCurve), 1996);
    EXPECT_EQ(lastNonZero(clean.torqueCurve), 1996);
    EXPECT_EQ(lastNonZero(clean.powerCurve), 1996);

    std::fill(session.rollerPeriods.begin() + 3 * kSamplesPerRun, session.rollerPeriods.end(), 1);
    std::fill(session.rpmSamples.begin() + 3 * kSamplesPerRun, session.rpmSamples.end(), 99999);
    session.rollerPeriods[at(2 * kSamplesPerRun + 1999)] = 1;  // the unused last entry
    evaluate(*model, 4, 2, withRpm, *workspace);
    EXPECT_EQ(session.curves.speedCurve, clean.speedCurve);
    EXPECT_EQ(session.curves.powerCurve, clean.powerCurve);
    EXPECT_EQ(session.curves.rpmCurve, clean.rpmCurve);
}

TEST_F(EvaluationTest, EvaluatingAgainGivesTheSameCurvesWhateverRanInBetween) {
    recordRun(slot(1), 0, DynoUnderTest{}, 20.0, 900, [](int, double v) { return 6.0 - v / 20; });
    recordSteadyRun(slot(2), 0, DynoUnderTest{}, 30'000, 1500);
    EvaluationOptions options;
    options.rpmCurveShown = true;
    evaluateSlot(1, 0, options);
    const EvaluatedCurves first = slot(1).curves;
    const auto firstWork = *workspace;
    evaluateSlot(2, 0, options);
    evaluateSlot(1, 0, options);
    EXPECT_EQ(slot(1).curves.speedCurve, first.speedCurve);
    EXPECT_EQ(slot(1).curves.powerCurve, first.powerCurve);
    EXPECT_EQ(slot(1).curves.torqueCurve, first.torqueCurve);
    EXPECT_EQ(slot(1).curves.rpmCurve, first.rpmCurve);
    EXPECT_EQ(slot(1).curves.maxPowerText, first.maxPowerText);
    EXPECT_EQ(workspace->smoothAccel(), firstWork.smoothAccel());
    EXPECT_EQ(workspace->timeAxis(), firstWork.timeAxis());
}

TEST_F(EvaluationTest, SlotAndRunOutsideTheModelAreRefused) {
    EXPECT_THROW(evaluateSlot(0), std::out_of_range);
    EXPECT_THROW(evaluateSlot(5), std::out_of_range);
    EXPECT_THROW(evaluateSlot(1, 3), std::out_of_range);
    EXPECT_THROW(evaluateSlot(1, -1), std::out_of_range);
}

// A damaged header is evaluated as its fallback would be, with a warning.
TEST_F(EvaluationTest, DamagedHeaderEvaluatesAsItsFallbackAndWarns) {
    struct Case {
        DynoUnderTest damaged;
        DynoUnderTest fallback;
        EvaluationWarning warning;
    };
    const auto dyno = [](int dynoModel, int electronics, int code) {
        return DynoUnderTest{static_cast<DynoModel>(dynoModel),
                             static_cast<Electronics>(electronics), static_cast<std::int16_t>(code),
                             184.0};
    };
    for (const Case& c :
         {Case{dyno(3, 0, 0), dyno(0, 0, 0), EvaluationWarning::kUnknownDynoModel},
          Case{dyno(-1, 1, 12), dyno(0, 1, 12), EvaluationWarning::kUnknownDynoModel},
          Case{dyno(1, 2, 12), dyno(1, 1, 12), EvaluationWarning::kUnknownElectronics},
          Case{dyno(1, 0, 45), dyno(1, 0, 0), EvaluationWarning::kUnknownRollerCode},
          Case{dyno(2, 0, 14), dyno(2, 0, 50), EvaluationWarning::kUnknownRollerCode},
          Case{dyno(2, 1, 99), dyno(2, 1, 50), EvaluationWarning::kUnknownRollerCode}}) {
        const auto accelerate = [](int, double) { return 4.0; };
        recordRun(slot(1), 0, c.fallback, 30.0, 500, accelerate);
        evaluation_testing::describeDyno(slot(1), c.damaged);
        recordRun(slot(2), 0, c.fallback, 30.0, 500, accelerate);
        const auto damaged = evaluateSlot(1);
        const auto fallback = evaluateSlot(2);
        EXPECT_TRUE(damaged.warnings.has(c.warning));
        EXPECT_FALSE(fallback.warnings.any());
        EXPECT_EQ(slot(1).curves.speedCurve, slot(2).curves.speedCurve);
        EXPECT_EQ(slot(1).curves.powerCurve, slot(2).curves.powerCurve);
    }
}

TEST_F(EvaluationTest, DamagedPeriodsGiveNumbersNotCrashes) {
    auto periods = slot(1).run(0).rollerPeriods;
    const std::int32_t wild[] = {std::numeric_limits<std::int32_t>::min(), -1,      1,
                                 std::numeric_limits<std::int32_t>::max(), -40'000, 3};
    for (int i = 0; i < kSamplesPerRun; ++i) periods[at(i)] = wild[i % 6];
    EvaluationOptions options;
    options.rpmCurveShown = true;
    const auto report = evaluateSlot(1, 0, options);
    EXPECT_EQ(report.evalCount, 1998);
    EXPECT_FALSE(slot(1).curves.maxSpeedText.empty());
}

TEST_F(EvaluationTest, MaximumTooLargeForItsTextReadsOverflow) {
    recordRun(slot(1), 0, DynoUnderTest{}, 30.0, 300, [](int, double) { return 4.0; });
    slot(1).correctionFactor = 1e40;  // only a damaged file holds such a factor
    const auto report = evaluateSlot(1);
    EXPECT_TRUE(report.warnings.has(EvaluationWarning::kMaximumTooLarge));
    EXPECT_EQ(slot(1).curves.maxPowerText.view(), "overflow");
    EXPECT_EQ(slot(1).curves.maxSpeedText.view().find("overflow"), std::string_view::npos);
}

}  // namespace
}  // namespace dyno
