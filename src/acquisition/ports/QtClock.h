#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "acquisition/Clock.h"

namespace dyno {

// The acquisition's clock on the toolkit's event loop: milliseconds since the clock
// was made, and callbacks run by the event loop of the thread that owns the clock.
//
// All pending callbacks sit in one ordered table (due time, then order of asking) and
// a single precise timer is armed for the earliest, so callbacks due at the same
// millisecond run in the order they were asked for, as ManualClock runs them. A
// callback that opens a nested event loop (a message box) does not stop the others:
// the timer is re-armed before each callback runs.
//
// A clock may run faster than the wall clock (`timeLapse` times): the simulated
// electronics then drive a whole session, runs and line included, in a fraction of
// the time, which demos and tests of the real serial path use.
class QtClock final : public Clock {
  public:
    explicit QtClock(int timeLapse = 1);
    ~QtClock() override;
    QtClock(const QtClock&) = delete;
    QtClock& operator=(const QtClock&) = delete;

    std::int64_t nowMs() const override;
    TimerId callAfter(std::int64_t delayMs, std::function<void()> action) override;
    void cancel(TimerId id) override;

    std::size_t pendingTimers() const { return timers_.size(); }

  private:
    using Key = std::pair<std::int64_t, TimerId>;  // due time, then order of asking

    void runDue();
    void arm();

    std::int64_t timeLapse_;
    QElapsedTimer elapsed_;
    QTimer timer_;
    TimerId lastId_ = kNoTimer;
    std::map<Key, std::function<void()>> timers_;
};

}  // namespace dyno
