#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace dyno {

// Holds a simulated card to the wall clock: the card's time never runs ahead of the
// wall clock (`timeLapse` times faster). When the card has fallen behind by more than
// a moment (a slow computer, or the card idle between sessions) the count starts
// afresh rather than rushing to catch up.
class WallClockPacer {
  public:
    explicit WallClockPacer(int timeLapse) : timeLapse_(std::max(timeLapse, 1)) {}

    void operator()(std::int64_t simulatedUs) {
        using namespace std::chrono;
        const auto now = steady_clock::now();
        const auto due = anchorWall_ + microseconds((simulatedUs - anchorUs_) / timeLapse_);
        if (!isAnchored_ || now - due > kLargestLag) {
            anchorWall_ = now;
            anchorUs_ = simulatedUs;
            isAnchored_ = true;
            return;
        }
        if (due > now) std::this_thread::sleep_until(due);
    }

  private:
    static constexpr std::chrono::milliseconds kLargestLag{200};
    int timeLapse_;
    bool isAnchored_ = false;
    std::chrono::steady_clock::time_point anchorWall_{};
    std::int64_t anchorUs_ = 0;
};

}  // namespace dyno
