#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>

#include "acquisition/SequenceView.h"
#include "liveview/ArrivedRuns.h"
#include "liveview/LiveReadings.h"

namespace dyno {

// The latest state of the rider's live view, between the acquisition that pushes into
// it and the server that sends it. A push only overwrites the latest values under a
// short lock: nothing is queued, nothing waits for a browser, so the packet dispatch
// and the card's polling go on at their own pace however slow the clients are. The
// server takes what is newest when it sends; values overwritten meanwhile are
// dropped, which is what a live needle wants.
//
// Pushes may come from any thread (the card's sequence runs on a worker).
class LiveFeed {
  public:
    // Milliseconds of the system clock, for the time stamp of each change.
    using WallClock = std::function<std::int64_t()>;

    LiveFeed();
    explicit LiveFeed(WallClock wallClock) : wallClock_(std::move(wallClock)) {}

    void showNeedle(Dial dial, int position);
    void showInstruction(std::string_view text, Rgb shadow, Rgb font);
    void showInstructionInLastColours(std::string_view text);
    void showRunNumber(int runNumber);
    void setSpeedNeedleInMph(bool isInMph);
    void runsArrived(ArrivedRuns runs);

    LiveReadings readings() const;
    // The readings for a send: the oldest change since the last take comes with them.
    LiveReadings takeReadings();
    ArrivedRuns arrivedRuns() const;

  private:
    void changed();

    WallClock wallClock_;
    mutable std::mutex mutex_;
    LiveReadings readings_;
    bool hasUnsentChange_ = false;
    ArrivedRuns runs_;
};

}  // namespace dyno
