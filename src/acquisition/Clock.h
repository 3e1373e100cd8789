#pragma once

#include <cstdint>
#include <functional>

namespace dyno {

// Time for the acquisition: a millisecond tick count and timers that call back later
// instead of sleeping, so a wait inside a sequence never freezes the window. The
// real side uses the system clock and the toolkit's timers; tests use ManualClock.
class Clock {
  public:
    using TimerId = std::uint64_t;
    static constexpr TimerId kNoTimer = 0;

    virtual ~Clock() = default;
    virtual std::int64_t nowMs() const = 0;
    // Calls `action` once, on the thread that owns the clock, after `delayMs`.
    // Timers due at the same time run in the order they were asked for.
    virtual TimerId callAfter(std::int64_t delayMs, std::function<void()> action) = 0;
    // Forgets a timer that has not run yet; unknown or finished ids are ignored.
    virtual void cancel(TimerId id) = 0;
};

}  // namespace dyno
