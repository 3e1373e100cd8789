#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

#include "acquisition/Clock.h"

namespace dyno {

// A clock whose time moves only when told to: tests advance it to skip the waits of
// a sequence at no cost, and a simulated session run "as fast as possible" drives
// the simulated electronics with runUntilIdle().
class ManualClock final : public Clock {
  public:
    std::int64_t nowMs() const override { return nowMs_; }

    TimerId callAfter(std::int64_t delayMs, std::function<void()> action) override {
        const TimerId id = ++lastId_;
        const std::int64_t due = nowMs_ + (delayMs > 0 ? delayMs : 0);
        timers_.emplace(Key{due, id}, std::move(action));
        return id;
    }

    void cancel(TimerId id) override {
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->first.second == id) {
                timers_.erase(it);
                return;
            }
        }
    }

    // Moves time forward by `ms`, running every timer that falls due on the way,
    // timers set by those timers included, in time order.
    void advance(std::int64_t ms) { runUntil(nowMs_ + ms); }

    // Runs timers in time order until none is left or `maxTimers` have run; returns
    // how many ran. The limit stops a source that never falls silent.
    std::size_t runUntilIdle(std::size_t maxTimers = 10'000'000) {
        std::size_t ran = 0;
        while (!timers_.empty() && ran < maxTimers) {
            runFirst();
            ++ran;
        }
        return ran;
    }

    std::size_t pendingTimers() const { return timers_.size(); }

  private:
    using Key = std::pair<std::int64_t, TimerId>;  // due time, then order of asking

    void runUntil(std::int64_t until) {
        while (!timers_.empty() && timers_.begin()->first.first <= until) runFirst();
        nowMs_ = until;
    }

    void runFirst() {
        auto first = timers_.begin();
        nowMs_ = std::max(nowMs_, first->first.first);
        auto action = std::move(first->second);
        timers_.erase(first);
        action();
    }

    std::int64_t nowMs_ = 0;
    TimerId lastId_ = kNoTimer;
    std::map<Key, std::function<void()>> timers_;
};

}  // namespace dyno
