#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "RecordedRun.h"
#include "evaluation/RollerInertia.h"
#include "evaluation/RunEvaluation.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

using evaluation_testing::DynoUnderTest;
using evaluation_testing::EvaluationTest;
using evaluation_testing::firstIndexAtOrAbove;
using evaluation_testing::recordRun;
using evaluation_testing::recordSteadyRun;

constexpr std::size_t at(int i) {
    return static_cast<std::size_t>(i);
}

// Power and torque read off at exactly `speed`, interpolated between the two
// curve points around it; with a steady acceleration power is linear in speed.
struct Reading {
    double power;
    double torque;
};
Reading readingAt(const EvaluatedCurves& curves, int points, double speed) {
    const int above = firstIndexAtOrAbove(curves.speedCurve, points, speed);
    EXPECT_GT(above, 0);
    const double v0 = curves.speedCurve[at(above - 1)];
    const double v1 = curves.speedCurve[at(above)];
    const double t = (speed - v0) / (v1 - v0);
    const auto lerp = [&](const EvaluatedCurves::Curve& c) {
        return c[at(above - 1)] + t * (c[at(above)] - c[at(above - 1)]);
    };
    return {lerp(curves.powerCurve), lerp(curves.torqueCurve)};
}

// A K40 on the USB/serial clock with the standard 184 kg roller, accelerated at a
// steady 5 km/h per second from 60 km/h: the smoothing leaves the acceleration as it is.
class SteadyAcceleration : public EvaluationTest {
  protected:
    static constexpr double kAccelKmhPerS = 5.0;

    void SetUp() override {
        recordRun(slot(1), 0, DynoUnderTest{}, 60.0, 600,
                  [](int, double) { return kAccelKmhPerS; });
    }
};

TEST_F(EvaluationTest, SpeedIsTheRollerFactorOverThePeriodOnEitherClock) {
    DynoUnderTest card;
    card.electronics = Electronics::Card;
    recordSteadyRun(slot(1), 0, card, 40'000, 50);
    recordSteadyRun(slot(2), 0, DynoUnderTest{}, 40'000, 50);
    evaluateSlot(1);
    evaluateSlot(2);
    EXPECT_NEAR(slot(1).curves.speedCurve[0], 110.88, 1e-9);
    EXPECT_NEAR(slot(2).curves.speedCurve[0], 138.6, 1e-9);
    EXPECT_EQ(slot(1).curves.maxSpeedText.view(), "110.88");
    EXPECT_EQ(slot(2).curves.maxSpeedText.view(), "138.60");
}

TEST_F(EvaluationTest, FirstPeriodOnlyStartsTheClock) {
    recordSteadyRun(slot(1), 0, DynoUnderTest{}, 50'000, 10);
    slot(1).rollerPeriods[0] = 7;  // would be an absurd speed if it counted
    evaluateSlot(1);
    EXPECT_EQ(slot(1).curves.maxSpeedText.view(), "110.88");
    EXPECT_DOUBLE_EQ(workspace->timeAxis()[0], 0.0);
    EXPECT_DOUBLE_EQ(workspace->timeAxis()[9], 9 * 0.02);
}

TEST_F(EvaluationTest, SteadySpeedGivesNoPowerAndTheLeftoverFrequencyDoesNotLeak) {
    recordSteadyRun(slot(1), 0, DynoUnderTest{}, 50'000, 100);
    const auto report = evaluateSlot(1);
    ASSERT_EQ(report.evalCount, 99);
    // Entry n-2 of the raw array still holds revolutions per second (50 here) ...
    EXPECT_DOUBLE_EQ(workspace->rawAccel()[98], 50.0);
    // ... and is not an acceleration: not a trace of it reaches power or torque.
    for (int i = 0; i < kSamplesPerRun; ++i) {
        ASSERT_EQ(slot(1).curves.powerCurve[at(i)], 0.0) << i;
        ASSERT_EQ(slot(1).curves.torqueCurve[at(i)], 0.0) << i;
    }
    EXPECT_EQ(slot(1).curves.maxPowerText.view(), "0.00");
}

TEST_F(SteadyAcceleration, PowerAndTorqueAt80KmhMatchTheRollerFormula) {
    const auto report = evaluateSlot(1);
    const Reading hp = readingAt(slot(1).curves, report.evalCount - 1, 80.0);
    // 5 km/h/s x 184/6727 x (80 - 5) km/h
    EXPECT_NEAR(hp.power, 10.257, 0.001);
    EXPECT_NEAR(hp.torque, 13.676, 0.001);

    EvaluationOptions kw;
    kw.powerInKw = true;
    evaluateSlot(1, 0, kw);
    const Reading inKw = readingAt(slot(1).curves, report.evalCount - 1, 80.0);
    EXPECT_NEAR(inKw.power, 7.649, 0.001);
    EXPECT_NEAR(inKw.power / hp.power, 0.7457, 1e-12);
    EXPECT_DOUBLE_EQ(inKw.torque, hp.torque);
}

TEST_F(SteadyAcceleration, MphShowsSpeedInMphButKeepsPowerInKmhTerms) {
    const auto kmhReport = evaluateSlot(1);
    const EvaluatedCurves kmh = slot(1).curves;
    EvaluationOptions mphOptions;
    mphOptions.speedInMph = true;
    const auto mphReport = evaluateSlot(1, 0, mphOptions);
    const EvaluatedCurves& mph = slot(1).curves;
    ASSERT_EQ(mphReport.evalCount, kmhReport.evalCount);
    EXPECT_NEAR(mph.speedCurve[100] / kmh.speedCurve[100], 1.37808 / 2.2176, 1e-12);
    // Away from the ends the smoothing is neutral, so power and torque agree up to
    // the rounding of the roller factors (1.60934 against 2.2176 / 1.37808 differs by
    // 1e-4, once in the inertia and once in the speed) and the tick rounding of the
    // periods, which windows of other sizes average differently. Forgetting either
    // factor would be off by 60 %.
    for (int i = 50; i < kmhReport.evalCount - 50; ++i) {
        ASSERT_NEAR(mph.powerCurve[at(i)] / kmh.powerCurve[at(i)], 1.0, 1e-3) << i;
        ASSERT_NEAR(mph.torqueCurve[at(i)] / kmh.torqueCurve[at(i)], 1.0, 1e-3) << i;
    }
}

// About 72 km/h = 45 mph: 14 values are averaged in km/h, 11 in mph. An acceleration
// that repeats every 14 revolutions vanishes in a 14-value mean only.
TEST_F(EvaluationTest, MphSpeedsAreComparedWithTheMphLimitsOfTheSmoothing) {
    constexpr double kPi = 3.14159265358979323846;
    recordRun(slot(1), 0, DynoUnderTest{}, 72.0, 400,
              [](int revolution, double) { return 40.0 * std::sin(2 * kPi * revolution / 14.0); });
    const auto largestPowerInTheMiddle = [&](const EvaluationOptions& options) {
        const auto report = evaluateSlot(1, 0, options);
        double largest = 0.0;
        for (int i = 50; i < report.evalCount - 50; ++i) {
            largest = std::max(largest, std::abs(slot(1).curves.powerCurve[at(i)]));
        }
        return largest;
    };
    EvaluationOptions mph;
    mph.speedInMph = true;
    const double inKmh = largestPowerInTheMiddle({});
    const double inMph = largestPowerInTheMiddle(mph);
    EXPECT_GT(inMph, 1.0);
    EXPECT_LT(inKmh, 0.1 * inMph);
}

TEST_F(SteadyAcceleration, CorrectionFactorScalesPowerAndTorqueOnly) {
    evaluateSlot(1);
    const EvaluatedCurves plain = slot(1).curves;
    slot(1).correctionFactor = 1.05;
    const auto report = evaluateSlot(1);
    const EvaluatedCurves& corrected = slot(1).curves;
    EXPECT_EQ(corrected.speedCurve, plain.speedCurve);
    for (int i = 0; i < report.evalCount - 1; ++i) {
        ASSERT_NEAR(corrected.powerCurve[at(i)], 1.05 * plain.powerCurve[at(i)],
                    1e-12 * std::abs(plain.powerCurve[at(i)]));
        ASSERT_NEAR(corrected.torqueCurve[at(i)], 1.05 * plain.torqueCurve[at(i)],
                    1e-12 * std::abs(plain.torqueCurve[at(i)]));
    }
}

TEST_F(SteadyAcceleration, AFactorThatIsNoNumberEvaluatesAsOneWithTheOutOfLimitsWarning) {
    slot(1).correctionFactor = 1.0;
    evaluateSlot(1);
    const EvaluatedCurves plain = slot(1).curves;
    for (const double stored : {std::nan(""), -std::nan(""), HUGE_VAL, -HUGE_VAL}) {
        slot(1).correctionFactor = stored;
        const auto report = evaluateSlot(1);
        EXPECT_EQ(slot(1).curves.powerCurve, plain.powerCurve);
        EXPECT_EQ(slot(1).curves.torqueCurve, plain.torqueCurve);
        EXPECT_EQ(
            warningTexts(report.warnings),
            std::vector<std::string>{"The correctionfactor is out of limits, changed to 1.00"});
        EXPECT_EQ(std::memcmp(&slot(1).correctionFactor, &stored, sizeof stored), 0)
            << "the stored bytes stay";
    }
}

// The roller's inertia and speed offset can be read back from the curves:
// torque / smoothed acceleration = mass factor x 100, and
// 100 x power / torque - speed = speed offset (hp, any correction factor).
struct RollerReadback {
    double massFactor;
    double speedOffset;
};
RollerReadback readRoller(const TestSession& session, const EvaluationWorkspace& work, int i) {
    const auto& c = session.curves;
    return {c.torqueCurve[at(i)] / work.smoothAccel()[at(i)] / 100.0,
            100.0 * c.powerCurve[at(i)] / c.torqueCurve[at(i)] - c.speedCurve[at(i)]};
}

// The K40 takes the weight stored with the session (250 kg here), the big rollers
// their table entry; the offset follows the dyno and the roller range.
TEST_F(EvaluationTest, InertiaAndSpeedOffsetFollowTheSessionsRoller) {
    struct Case {
        DynoModel model;
        std::int16_t code;
        double massFactor;
        double offset;
    };
    const auto table = [](int code) { return *RollerInertiaTable::massFactorOf(code); };
    for (const Case& c :
         {Case{DynoModel::K40, 23, 250.0 / 6727.0, -5.0}, Case{DynoModel::K70, 3, table(3), 11.0},
          Case{DynoModel::K70, 12, table(12), 11.0}, Case{DynoModel::K70, 23, table(23), -10.0},
          Case{DynoModel::K80, 63, table(63), 11.0}, Case{DynoModel::K80, 83, table(83), -10.0}}) {
        DynoUnderTest dyno{c.model, Electronics::Card, c.code, 250.0};
        recordRun(slot(1), 0, dyno, 40.0, 300, [](int, double) { return 4.0; });
        evaluateSlot(1);
        const auto roller = readRoller(slot(1), *workspace, 150);
        EXPECT_NEAR(roller.massFactor, c.massFactor, 1e-12) << c.code;
        EXPECT_NEAR(roller.speedOffset, c.offset, 1e-9) << c.code;
    }
}

TEST_F(EvaluationTest, TypedRollerWeightReplacesTheInertiaOfEverySession) {
    EvaluationOptions typed;
    typed.useTypedRollerWeight = true;
    typed.typedRollerWeightKg = 210.0;
    for (DynoModel dynoModel : {DynoModel::K40, DynoModel::K70, DynoModel::K80}) {
        DynoUnderTest dyno{dynoModel, Electronics::UsbSerial,
                           dynoModel == DynoModel::K80 ? std::int16_t{71} : std::int16_t{21},
                           150.0};
        recordRun(slot(2), 1, dyno, 40.0, 300, [](int, double) { return 4.0; });
        evaluateSlot(2, 1, typed);
        EXPECT_NEAR(readRoller(slot(2), *workspace, 150).massFactor, 210.0 / 6727.0, 1e-12)
            << static_cast<int>(dynoModel);
    }
}

TEST_F(EvaluationTest, RpmCurveIsFilledOnlyWhenTheGraphShowsRpm) {
    recordRun(
        slot(1), 2, DynoUnderTest{}, 30.0, 200, [](int, double) { return 3.0; },
        [](double speed) { return 100.0 * speed; });
    const auto report = evaluateSlot(1, 2);
    for (double rpm : slot(1).curves.rpmCurve) ASSERT_EQ(rpm, 0.0);

    EvaluationOptions withRpm;
    withRpm.rpmCurveShown = true;
    evaluateSlot(1, 2, withRpm);
    const auto& rpm = slot(1).curves.rpmCurve;
    const auto samples = slot(1).run(2).rpmSamples;
    for (int i = 0; i < report.evalCount - 1; ++i) {
        ASSERT_EQ(rpm[at(i)], static_cast<double>(samples[at(i)])) << i;
    }
    for (int i = report.evalCount - 1; i < kSamplesPerRun; ++i) ASSERT_EQ(rpm[at(i)], 0.0) << i;
}

TEST_F(EvaluationTest, NegativeCurvesLeaveMaximaAtZero) {
    recordRun(slot(1), 0, DynoUnderTest{}, 90.0, 300, [](int, double) { return -6.0; });
    evaluateSlot(1);
    EXPECT_EQ(slot(1).curves.maxPowerText.view(), "0.00");
    EXPECT_EQ(slot(1).curves.maxTorqueText.view(), "0.00");
}

}  // namespace
}  // namespace dyno
