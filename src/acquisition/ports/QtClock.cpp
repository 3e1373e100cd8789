#include "acquisition/ports/QtClock.h"

#include <algorithm>

namespace dyno {

QtClock::QtClock(int timeLapse) : timeLapse_(std::max(timeLapse, 1)) {
    elapsed_.start();
    timer_.setSingleShot(true);
    // The sequence's waits are 100 ms and 500 ms; a coarse timer may be 5 % late and,
    // worse, reorder timers that fall due together.
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { runDue(); });
}

QtClock::~QtClock() = default;

std::int64_t QtClock::nowMs() const {
    return elapsed_.elapsed() * timeLapse_;
}

Clock::TimerId QtClock::callAfter(std::int64_t delayMs, std::function<void()> action) {
    const TimerId id = ++lastId_;
    timers_.emplace(Key{nowMs() + std::max<std::int64_t>(delayMs, 0), id}, std::move(action));
    arm();
    return id;
}

void QtClock::cancel(TimerId id) {
    const auto it = std::find_if(timers_.begin(), timers_.end(),
                                 [id](const auto& entry) { return entry.first.second == id; });
    if (it == timers_.end()) return;
    timers_.erase(it);
    arm();
}

void QtClock::runDue() {
    while (!timers_.empty() && timers_.begin()->first.first <= nowMs()) {
        auto first = timers_.begin();
        auto action = std::move(first->second);
        timers_.erase(first);
        arm();
        action();
    }
    arm();
}

void QtClock::arm() {
    if (timers_.empty()) {
        timer_.stop();
        return;
    }
    const std::int64_t ahead = std::max<std::int64_t>(timers_.begin()->first.first - nowMs(), 0);
    // Wall-clock milliseconds, rounded up so that a timer never runs early.
    const std::int64_t wait = (ahead + timeLapse_ - 1) / timeLapse_;
    timer_.start(static_cast<int>(std::min<std::int64_t>(wait, 24LL * 3600 * 1000)));
}

}  // namespace dyno
