#include "acquisition/card/DelayCalibration.h"

#include <algorithm>

namespace dyno {

namespace {

// L / 58823: steps in about 17 microseconds.
constexpr double kSettleFactor = 1.7000153001377013e-05;

}  // namespace

DelayCounts delayCountsFor(std::int64_t elapsedMs, std::int64_t loopSteps) {
    const double seconds = static_cast<double>(std::max<std::int64_t>(elapsedMs, 1)) * 0.001;
    const double stepsPerSecond = static_cast<double>(loopSteps) / seconds;
    // Both counts truncate toward zero, as the waits count whole steps.
    return {static_cast<std::int64_t>(stepsPerSecond * 0.0001),
            static_cast<std::int64_t>(stepsPerSecond * kSettleFactor)};
}

DelayCounts calibrateDelayLoops(const std::function<std::int64_t()>& nowMs,
                                std::int64_t loopSteps) {
    const std::int64_t start = nowMs();
    // volatile: the compiler must not fold the loop away; it is the thing measured.
    volatile std::int64_t counter = 0;
    while (counter < loopSteps) counter = counter + 1;
    return delayCountsFor(nowMs() - start, loopSteps);
}

}  // namespace dyno
