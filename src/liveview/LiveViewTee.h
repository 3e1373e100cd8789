#pragma once

#include <atomic>
#include <string_view>

#include "acquisition/SequenceView.h"
#include "acquisition/SessionSetup.h"
#include "model/TestSession.h"

namespace dyno {

class LiveFeed;

// Sits between a test sequence and the page it draws on, and copies what the rider
// sees into the live view's feed: each needle drawn, the instruction, the run number,
// and slot 1 each time a run has arrived whole. The sequence knows nothing of it.
//
// A run has arrived whole when the sequence says so to the rider: "Data OK" after a
// K40 transfer, "Press remote for next test" after a card run, "Test session finished"
// after the third, "Test stopped" for a session that ended with the runs it had.
//
// Calls come on the sequence's thread (the card's worker, the K40's window thread),
// the thread that writes slot 1: the copy taken there is whole. With no feed attached
// the tee only passes the calls on.
class LiveViewTee final : public SequenceView, public LiveDisplay {
  public:
    LiveViewTee(SequenceView& sequence, LiveDisplay& live, const TestSession& slot1)
        : sequence_(sequence), live_(live), slot1_(slot1) {}

    // The feed stays the caller's and must outlive the tee, or be detached first while
    // no sequence runs.
    void attach(LiveFeed* feed) { feed_.store(feed); }

    // At each start, before the sequence runs: the set-up slot 1 will be stamped
    // with at the session's end, so each run's copy is evaluated as the finished
    // session will be.
    // `isSpeedNeedleInMph`: the sequence draws the speed needle in mph.
    void beginSession(const SessionSetup& setup, bool isRevCounterCheck,
                      bool isSpeedNeedleInMph = false);

    // Once the sequence has ended and slot 1 is whole, with everything its end put in
    // (the card's station correction): the runs kept, as the archive will hold them.
    // On the thread that holds slot 1 now.
    void sessionEnded(int runsKept);

    void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override;
    void showRemoteTextInLastColours(std::string_view text) override;
    void showDigit(int digit) override;
    void drawNeedle(Dial dial, int position, Rgb colour) override;
    void moveK40Marker(int channel, int oldPosition, int position) override;

  private:
    void noticeRunsArrived(LiveFeed& feed, std::string_view text);

    SequenceView& sequence_;
    LiveDisplay& live_;
    const TestSession& slot1_;
    std::atomic<LiveFeed*> feed_{nullptr};
    SessionSetup setup_;
    bool isRevCounterCheck_ = false;
    int runNumber_ = 0;
    int runsArrived_ = 0;
};

}  // namespace dyno
