#pragma once

#include <cstdint>
#include <functional>

namespace dyno {

// The card's busy waits are counted loops, so at start-up the program measures how
// fast this PC counts: 80,000,000 steps of a plain loop against the millisecond clock.
struct DelayCounts {
    std::int64_t shortDelay = 0;  // loop steps per 100 microseconds
    std::int64_t settleDelay =
        0;  // steps per about 17 microseconds: the A/D converter's settle time
};

inline constexpr std::int64_t kCalibrationLoopSteps = 80'000'000;

// The counts for a loop rate measured as `elapsedMs` for the whole loop. A machine
// that finishes within the clock's resolution reads as 1 ms rather than dividing by 0.
DelayCounts delayCountsFor(std::int64_t elapsedMs, std::int64_t loopSteps = kCalibrationLoopSteps);

// Runs the real loop between two readings of `nowMs`.
DelayCounts calibrateDelayLoops(const std::function<std::int64_t()>& nowMs,
                                std::int64_t loopSteps = kCalibrationLoopSteps);

}  // namespace dyno
