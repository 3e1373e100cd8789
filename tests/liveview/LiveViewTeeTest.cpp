// The tee passes every call on to the page and copies what the rider sees into the
// feed, with slot 1 copied and stamped each time a run has arrived whole.
#include <gtest/gtest.h>

#include "acquisition/RecordingViews.h"
#include "acquisition/RiderTexts.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/k40/K40TestSequence.h"
#include "liveview/LiveFeed.h"
#include "liveview/LiveViewTee.h"

namespace dyno {
namespace {

class LiveViewTeeTest : public ::testing::Test {
  protected:
    LiveViewTeeTest() {
        tee.attach(&feed);
        setup.rollerWeightKg = 212.5;
        tee.beginSession(setup, false);
    }

    test::RecordingDisplay page;
    TestSession slot1;
    LiveFeed feed;
    LiveViewTee tee{page, page, slot1};
    SessionSetup setup;
};

TEST_F(LiveViewTeeTest, EveryCall_ReachesThePageUnchanged) {
    tee.showDigit(2);
    tee.showRemoteText(kTestRunningText, Rgb::Yellow, Rgb::Red);
    tee.showRemoteTextInLastColours("Rpm check running");
    tee.drawNeedle(Dial::Rpm, 40, Rgb::Black);
    tee.moveK40Marker(1, 3, 9);
    EXPECT_EQ(page.log, (std::vector<std::string>{"digit 2", "text Test running FFFF00/FF0000",
                                                  "text Rpm check running in the last colours",
                                                  "needle rpm 40 000000", "marker 1 3->9"}));
}

TEST_F(LiveViewTeeTest, ErasingNeedle_LeavesTheDrawnPosition) {
    tee.drawNeedle(Dial::Speed, 120, Rgb::Yellow);
    tee.drawNeedle(Dial::Speed, 120, Rgb::Black);
    tee.drawNeedle(Dial::Rpm, 77, Rgb::Yellow);
    EXPECT_EQ(feed.readings().speedPosition, 120);
    EXPECT_EQ(feed.readings().rpmPosition, 77);
}

TEST_F(LiveViewTeeTest, DataOk_CopiesSlot1WithTheRunsSoFarStamped) {
    slot1.rollerPeriods[5] = 4321;
    tee.showDigit(2);
    EXPECT_EQ(feed.arrivedRuns().runs, 0);
    tee.showRemoteText(kDataOkText, Rgb::Lime, Rgb::Green);
    const ArrivedRuns runs = feed.arrivedRuns();
    ASSERT_TRUE(runs.session);
    EXPECT_EQ(runs.runs, 2);
    EXPECT_FALSE(runs.isSessionOver);
    EXPECT_EQ(runs.session->rollerPeriods[5], 4321);
    EXPECT_DOUBLE_EQ(runs.session->values.values[SessionValues::kRollerWeight], 212.5);
    // Slot 1 itself is stamped by the sequence at the session's end, not by the tee.
    EXPECT_DOUBLE_EQ(slot1.values.values[SessionValues::kRollerWeight], 0.0);
    slot1.rollerPeriods[5] = 1;
    EXPECT_EQ(feed.arrivedRuns().session->rollerPeriods[5], 4321);
}

TEST_F(LiveViewTeeTest, CardRunEndAndSessionEnd_CountAsArrivals) {
    tee.showDigit(1);
    tee.showRemoteText(kPressRemoteForNextText, Rgb::Yellow, Rgb::Lime);
    EXPECT_EQ(feed.arrivedRuns().runs, 1);
    tee.showDigit(3);
    tee.showRemoteText(kSessionFinishedText, Rgb::Yellow, Rgb::Red);
    EXPECT_EQ(feed.arrivedRuns().runs, kRunsPerSession);
    EXPECT_TRUE(feed.arrivedRuns().isSessionOver);
    EXPECT_EQ(feed.arrivedRuns().revision, 3u);  // the start's clearing, then two arrivals
}

TEST_F(LiveViewTeeTest, StoppedSession_KeepsTheRunsThatArrived) {
    tee.showDigit(1);
    tee.showRemoteText(kDataOkText, Rgb::Lime, Rgb::Green);
    tee.showDigit(2);
    tee.showRemoteText(kK40TestStoppedText, Rgb::Yellow, Rgb::Red);
    EXPECT_EQ(feed.arrivedRuns().runs, 1);
    EXPECT_TRUE(feed.arrivedRuns().isSessionOver);
}

TEST_F(LiveViewTeeTest, SessionEnd_SendsSlot1AsTheEndLeftIt) {
    tee.showDigit(3);
    tee.showRemoteText(kSessionFinishedText, Rgb::Lime, Rgb::Green);
    // The card applies the station's correction after telling the rider.
    slot1.correctionFactor = 1.042;
    tee.sessionEnded(kRunsPerSession);
    const ArrivedRuns runs = feed.arrivedRuns();
    ASSERT_TRUE(runs.session);
    EXPECT_EQ(runs.runs, kRunsPerSession);
    EXPECT_TRUE(runs.isSessionOver);
    EXPECT_DOUBLE_EQ(runs.session->correctionFactor, 1.042);
    tee.sessionEnded(0);
    EXPECT_EQ(feed.arrivedRuns().revision, runs.revision) << "a session without runs sends none";
}

TEST_F(LiveViewTeeTest, RevCounterCheck_HasNoRuns) {
    tee.beginSession(setup, true);
    tee.showDigit(1);
    tee.showRemoteText(kSessionFinishedText, Rgb::Lime, Rgb::Green);
    EXPECT_FALSE(feed.arrivedRuns().session);
    EXPECT_EQ(feed.readings().instruction, kSessionFinishedText);
}

TEST_F(LiveViewTeeTest, Detached_OnlyPassesOn) {
    tee.attach(nullptr);
    tee.showDigit(1);
    tee.showRemoteText(kDataOkText, Rgb::Lime, Rgb::Green);
    EXPECT_EQ(feed.readings().runNumber, 0);
    EXPECT_FALSE(feed.arrivedRuns().session);
    EXPECT_EQ(page.log.size(), 2u);
}

}  // namespace
}  // namespace dyno
