#include <gtest/gtest.h>

#include "acquisition/card/DelayCalibration.h"

namespace dyno {
namespace {

TEST(DelayCalibration, CountsFollowTheMeasuredLoopRateAndTruncate) {
    // 80,000,000 steps in 400 ms: 2e8 steps per second.
    const DelayCounts counts = delayCountsFor(400);
    EXPECT_EQ(counts.shortDelay, 20000);
    EXPECT_EQ(counts.settleDelay, 3400);  // 2e8 / 58823 = 3400.03
    const DelayCounts odd = delayCountsFor(333);
    EXPECT_EQ(odd.shortDelay, 24024);  // 240240240.2 x 0.0001, truncated
}

TEST(DelayCalibration, ALoopFasterThanTheClockReadsAsOneMillisecond) {
    EXPECT_EQ(delayCountsFor(0).shortDelay, delayCountsFor(1).shortDelay);
    EXPECT_EQ(delayCountsFor(-5).shortDelay, delayCountsFor(1).shortDelay)
        << "a clock that steps back must not give negative waits";
}

TEST(DelayCalibration, MeasuresBetweenTwoClockReadings) {
    std::int64_t now = 1000;
    int readings = 0;
    const DelayCounts counts = calibrateDelayLoops(
        [&] {
            ++readings;
            const std::int64_t value = now;
            now += 50;
            return value;
        },
        1'000'000);
    EXPECT_EQ(readings, 2);
    EXPECT_EQ(counts.shortDelay, 2000);  // 1e6 steps in 50 ms
}

}  // namespace
}  // namespace dyno
