#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "evaluation/AccelerationSmoothing.h"

namespace dyno {
namespace {

// Which outputs of the moving average see a single acceleration impulse, and with
// what weight: that is the window's shape at the given speed.
struct Reach {
    int before = 0;  // outputs before the impulse that include it (= window's "after")
    int after = 0;   // outputs after the impulse that include it (= window's "before")
    double weight = 0.0;
};

Reach reachOfImpulseAt(double speed) {
    constexpr int kPoints = 60;
    constexpr int kImpulse = 30;
    std::vector<double> raw(kPoints, 0.0);
    raw[kImpulse] = 1.0;
    std::vector<double> speeds(kPoints + 1, speed);
    std::vector<double> smooth(kPoints, 0.0);
    movingAverageBySpeed(raw, speeds, kPoints, smooth);
    Reach reach;
    for (int i = 0; i < kPoints; ++i) {
        if (smooth[static_cast<std::size_t>(i)] == 0.0) continue;
        reach.weight = smooth[static_cast<std::size_t>(i)];
        if (i < kImpulse) reach.before = std::max(reach.before, kImpulse - i);
        if (i > kImpulse) reach.after = std::max(reach.after, i - kImpulse);
    }
    return reach;
}

TEST(MovingAverage, WindowWidensWithSpeedAndEachLimitBelongsToTheLowerBand) {
    struct Band {
        double speed;
        int before;
        int after;
        int size;
    };
    const double justAbove = 1e-9;
    for (const Band& band :
         {Band{80.0 + justAbove, 8, 8, 17}, Band{80.0, 6, 7, 14}, Band{60.0 + justAbove, 6, 7, 14},
          Band{60.0, 5, 5, 11}, Band{40.0 + justAbove, 5, 5, 11}, Band{40.0, 4, 4, 9},
          Band{30.0 + justAbove, 4, 4, 9}, Band{30.0, 1, 1, 3}, Band{0.0, 1, 1, 3},
          Band{-50.0, 1, 1, 3}}) {
        const Reach reach = reachOfImpulseAt(band.speed);
        // An output i sees the impulse at k when i - before <= k <= i + after.
        EXPECT_EQ(reach.after, band.before) << band.speed;
        EXPECT_EQ(reach.before, band.after) << band.speed;
        EXPECT_DOUBLE_EQ(reach.weight, 1.0 / band.size) << band.speed;
    }
}

TEST(MovingAverage, PositionsOutsideTheAccelerationsCountAsZeroInAFullSizeMean) {
    // 30 outputs: accelerations are raw entries 0..28. Entry 29 would hold the roller
    // frequency in a real run and entries beyond belong to nobody: all must read 0.
    constexpr int kPoints = 30;
    std::vector<double> raw(40, 1.0);
    raw[29] = 1000.0;
    std::vector<double> speeds(41, 100.0);  // 17-value windows everywhere
    std::vector<double> smooth(40, -7.0);
    movingAverageBySpeed(raw, speeds, kPoints, smooth);
    EXPECT_DOUBLE_EQ(smooth[0], 9.0 / 17.0);    // 0..8 inside, eight below 0
    EXPECT_DOUBLE_EQ(smooth[8], 17.0 / 17.0);   // 0..16
    EXPECT_DOUBLE_EQ(smooth[20], 17.0 / 17.0);  // 12..28
    EXPECT_DOUBLE_EQ(smooth[21], 16.0 / 17.0);  // 13..28, 29 left out
    EXPECT_DOUBLE_EQ(smooth[29], 8.0 / 17.0);   // 21..28
    EXPECT_EQ(smooth[30], -7.0);                // beyond the outputs: untouched
}

TEST(MovingAverage, SpeedOfOutputIComesFromSpeedPointIPlusOne) {
    std::vector<double> raw(20, 0.0);
    raw[10] = 1.0;
    std::vector<double> speeds(21, 0.0);
    speeds[6] = 100.0;  // output 5 averages 17 values, reaching index 13
    std::vector<double> smooth(20, 0.0);
    movingAverageBySpeed(raw, speeds, 20, smooth);
    EXPECT_DOUBLE_EQ(smooth[5], 1.0 / 17.0);
    EXPECT_EQ(smooth[6], 0.0);  // speed point 7 is 0: three values, 5..7
}

TEST(MovingAverage, NeverReadsOrWritesPastItsArrays) {
    std::array<double, 12> raw{};
    raw.fill(1.0);
    std::array<double, 5> speeds{};
    speeds.fill(100.0);
    std::array<double, 12> smooth{};
    movingAverageBySpeed(raw, speeds, 5000, smooth);  // sanitizers watch the bounds
    EXPECT_DOUBLE_EQ(smooth[0], 9.0 / 17.0);
    EXPECT_DOUBLE_EQ(smooth[11], 2.0 / 3.0);  // no speed point 12: 3 values, 10..12
}

TEST(TrailingAverage, UsesValuesAlreadyReplacedByThisPass) {
    std::vector<double> values{1.0, 2.0, 3.0, 4.0, 5.0, 99.0};
    trailingAverageInPlace(values, 5);
    // Hand-computed: positions before 0 read 0, the last point (4) keeps its value.
    EXPECT_DOUBLE_EQ(values[0], (0.0 + 0.0 + 1.0 + 2.0) / 4.0);
    EXPECT_DOUBLE_EQ(values[1], (0.0 + 0.75 + 2.0 + 3.0) / 4.0);
    EXPECT_DOUBLE_EQ(values[2], (0.75 + 1.4375 + 3.0 + 4.0) / 4.0);
    EXPECT_DOUBLE_EQ(values[3], (1.4375 + 2.296875 + 4.0 + 5.0) / 4.0);
    EXPECT_EQ(values[4], 5.0);
    EXPECT_EQ(values[5], 99.0);

    // A plain out-of-place average gives a different curve.
    const std::vector<double> input{1.0, 2.0, 3.0, 4.0, 5.0};
    EXPECT_NE(values[2], (input[0] + input[1] + input[2] + input[3]) / 4.0);
}

TEST(SplinePass, ReadsAheadAndTreatsPositionsPastTheSmoothedValuesAsZero) {
    std::vector<double> values{6.0, 12.0, 18.0, 24.0, 30.0, 99.0, 99.0, 99.0};
    const std::vector<double> input = values;
    splinePassInPlace(values, 5);
    EXPECT_DOUBLE_EQ(values[0], (12.0 + 4 * 18.0 + 24.0) / 6.0);
    EXPECT_DOUBLE_EQ(values[1], (18.0 + 4 * 24.0 + 30.0) / 6.0);
    EXPECT_DOUBLE_EQ(values[2], (24.0 + 4 * 30.0) / 6.0);
    EXPECT_DOUBLE_EQ(values[3], 30.0 / 6.0);
    EXPECT_EQ(values[4], 0.0);
    EXPECT_EQ(values[5], 99.0);

    // Reading ahead, the in-place pass equals one over an untouched copy, and differs
    // from a pass that would read the values it already replaced.
    std::vector<double> replacedReader = input;
    for (int i = 4; i >= 0; --i) {
        const auto at = [&](int k) {
            return k < 5 ? replacedReader[static_cast<std::size_t>(k)] : 0.0;
        };
        replacedReader[static_cast<std::size_t>(i)] = (at(i + 1) + 4 * at(i + 2) + at(i + 3)) / 6.0;
    }
    EXPECT_NE(values[0], replacedReader[0]);
}

TEST(SplinePass, MovesACurveTwoSamplesTowardsTheStart) {
    std::vector<double> values(30, 0.0);
    values[12] = 6.0;
    splinePassInPlace(values, 30);
    EXPECT_DOUBLE_EQ(values[10], 4.0);  // centre on input i+2
    EXPECT_DOUBLE_EQ(values[9], 1.0);
    EXPECT_DOUBLE_EQ(values[11], 1.0);
    EXPECT_EQ(values[12], 0.0);
}

}  // namespace
}  // namespace dyno
