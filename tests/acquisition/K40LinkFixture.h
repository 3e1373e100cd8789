#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "acquisition/ManualClock.h"
#include "acquisition/RecordingViews.h"
#include "acquisition/ScriptedLink.h"
#include "acquisition/k40/K40Link.h"

namespace dyno::test {

// A K40 link on a scripted line, a manual clock and recording views: the set-up every
// protocol and sequence test shares.
class K40LinkFixture : public ::testing::Test {
  protected:
    // The 720 ° constants of a K40.
    static K40Start testStart() {
        K40Start start;
        start.portName = "COM3";
        start.rpmRegistration = 1;
        start.dial = {7'096'320.0, 4'800'000, 300'000'000};
        start.recording.analogChannels = {true, false, true, false, false};
        start.recording.transferDelay = 7;
        start.session.rollerWeightKg = 184.0;
        return start;
    }

    // Starts and lets the 100 ms after the start command pass.
    void startTest(const K40Start& start = testStart()) {
        ASSERT_EQ(link.start(start), K40Link::Outcome::Done);
        clock.advance(kStartCommandSettleMs);
    }

    // Code 32, the rider's press of the remote, and code 31: the electronics send a
    // run's samples only after them.
    void beginTransfer() {
        scripted.feed(event(k40code::kRunStarted));
        scripted.feed(event(k40code::kTransferBegins));
    }

    // Code 40 and the 500 ms after it. The electronics close a run only after its
    // transfer: one is begun if none was (inside one, codes 32 and 31 are ignored).
    void completeRun() {
        beginTransfer();
        scripted.feed(K40Packet::of(k40code::kRunComplete, 0, 0, 0, 0));
        clock.advance(kDataOkPauseMs);
    }

    static K40Packet event(std::uint8_t code) { return K40Packet::of(code, 0, 0, 0, 0); }

    TestSession& slot1() { return model->slot(1); }

    ScriptedLink scripted;
    ManualClock clock;
    RecordingDisplay display;
    RecordingMessages messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    AcquisitionState state;
    K40Link link{{scripted, clock, display, display, display, messages}, *model, state};
};

}  // namespace dyno::test
