// The card's test and rev counter check against a scripted bus: the counter pairs,
// the accesses of one sample pair, how runs end (a still roller too), the needles,
// rpm, cancelling, the edge time limit and the late rider. The scripted rider reacts
// to what the Speed page shows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "acquisition/CardRecordingViews.h"
#include "acquisition/ScriptedCardBus.h"
#include "acquisition/card/CardSequence.h"
#include "model/SessionModel.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

constexpr std::uint8_t kReleased = 0x11;  // both remote bits high
constexpr std::uint16_t kFull = 0xFFFF;

class CardSequenceTest : public ::testing::Test {
  protected:
    CardSequenceTest() {
        start.session.speedDialConstant = 600.0;  // needle = 600 / average period
        start.remoteButtonDelayMs = 400;
        start.edgeTimeoutMs = 50;
        start.session.electronics = Electronics::Card;
        // Every pair counts 3 (rising) and 4 (falling) ticks unless a test says else.
        setPeriods(3, 4);
        bus.status = [this](int n) { return riderStatus(n); };
    }

    void setPeriods(std::uint16_t rising, std::uint16_t falling) {
        bus.queueCounts(0x1B9, {kFull});
        bus.queueCounts(0x1BA, {static_cast<std::uint16_t>(kFull - rising)});
        bus.queueCounts(0x1B5, {kFull});
        bus.queueCounts(0x1B6, {static_cast<std::uint16_t>(kFull - falling)});
    }

    // Roller: 16 polls high, 16 low; ignition: 2 high, 2 low. The rider presses the
    // remote while asked to, and during run r once it holds pressAtSamples[r].
    std::uint8_t riderStatus(int n) {
        if (onPoll) onPoll(n);
        std::uint8_t status = kReleased;
        if ((n / 16) % 2 == 0) status |= cardport::kRollerBit;
        if (n % 4 < 2) status |= cardport::kIgnitionBit;
        const std::string& shown = lastText();
        const bool isAsked = shown.rfind("text Press remote", 0) == 0 && isRiderReady;
        const int run = currentRun();
        const bool isRunDone =
            shown.rfind("text Test running", 0) == 0 && run >= 0 &&
            slot1().leadingPeriods(run) >= pressAtSamples[static_cast<std::size_t>(run)];
        if (isAsked || isRunDone) status &= static_cast<std::uint8_t>(~pressMask);
        return status;
    }

    // What the rider last saw: the label's text and the run number.
    class RiderView final : public SequenceView {
      public:
        explicit RiderView(RecordingDisplay& display) : display_(display) {}
        void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override {
            display_.showRemoteText(text, shadow, font);
            lastText = display_.log.back();
        }
        void showRemoteTextInLastColours(std::string_view text) override {
            display_.showRemoteTextInLastColours(text);
            lastText = display_.log.back();
        }
        void showDigit(int digit) override {
            display_.showDigit(digit);
            run = digit - 1;
        }
        std::string lastText;
        int run = -1;

      private:
        RecordingDisplay& display_;
    };

    const std::string& lastText() const { return rider.lastText; }
    int currentRun() const { return rider.run; }

    CardOutcome runSequence() { return sequence.run(start); }
    TestSession& slot1() { return model->slot(1); }

    std::vector<std::string> withoutStatusPolls(std::vector<std::string> log) const {
        log.erase(std::remove(log.begin(), log.end(), "r 1b0"), log.end());
        return log;
    }

    ScriptedCardBus bus;
    RecordingDisplay display;
    RiderView rider{display};
    RecordingCardDisplay markers{display};
    RecordingMessages messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    CardSequence sequence{{bus, bus, rider, display, markers, messages}, model->slot(1)};
    CardStart start;
    std::array<int, 3> pressAtSamples{2, 2, 2};
    std::uint8_t pressMask = kReleased;
    bool isRiderReady = true;
    std::function<void(int)> onPoll;
};

TEST(CardCounters, ElapsedCountIsTheTwoCountersFrom65535) {
    EXPECT_EQ(elapsedCount(kFull, kFull), 0u);
    EXPECT_EQ(elapsedCount(kFull, kFull - 7), 7u);
    EXPECT_EQ(elapsedCount(kFull - 2, kFull - 7), 2u * 65536 + 7);
    EXPECT_EQ(elapsedCount(0, 0), 0xFFFFFFFFu);
}

TEST(CardCounters, APairIsReadAgainWhenItsLowCounterWrappedBetweenTheReads) {
    ScriptedCardBus bus;
    CardAccess access(bus, 0x1B0, 0);
    // Roller rising, high counter first: the low counter wraps after the first high
    // read, so the high count has moved on by the check.
    bus.queueCounts(0x1B9, {kFull - 1, kFull - 2});
    bus.queueCounts(0x1BA, {10, kFull - 5});
    EXPECT_EQ(access.readHighFirst(cardport::kRollerRising), 2u * 65536 + 5);
    EXPECT_THAT(bus.log, ElementsAre("r 1b9", "r 1b9", "r 1ba", "r 1ba", "r 1b9", "r 1b9", "r 1ba",
                                     "r 1ba"));
    // Ignition, low counter first: no wrap between the two low reads, no more reads.
    bus.log.clear();
    bus.queueCounts(0x1B4, {kFull - 100, kFull - 101});
    bus.queueCounts(0x1B8, {kFull - 3});
    EXPECT_EQ(access.readLowFirst(cardport::kIgnition), 3u * 65536 + 100);
    EXPECT_THAT(bus.log, ElementsAre("r 1b4", "r 1b4", "r 1b8", "r 1b8", "r 1b4", "r 1b4"));
}

TEST_F(CardSequenceTest, OneSamplePairMakesExactlyTheseAccesses) {
    start.rpm = {1, 1'920'000, 120'000'000};
    start.channels = {true, false, false, false, false};
    bus.queueCounts(0x1B4, {kFull - 6000});
    bus.queueCounts(0x1B8, {kFull});
    pressAtSamples = {2, 2, 2};
    ASSERT_EQ(runSequence().kind, CardOutcome::Kind::Finished);

    // Run 1 lies between the first two remote delays: the counters armed, then one
    // pair.
    const auto isSleep = [](const std::string& entry) { return entry.rfind("sleep", 0) == 0; };
    const auto delay = std::find_if(bus.log.begin(), bus.log.end(), isSleep);
    const auto first = std::find_if_not(delay, bus.log.end(), isSleep);
    const auto next = std::find_if(first, bus.log.end(), isSleep);
    const auto run = withoutStatusPolls({first, next});
    EXPECT_THAT(run, ElementsAre(
                         // arm: rising pair, then falling pair, low counters first
                         "w 1ba ff", "w 1ba ff", "w 1b9 ff", "w 1b9 ff", "w 1b6 ff", "w 1b6 ff",
                         "w 1b5 ff", "w 1b5 ff",
                         // rising read and reload
                         "r 1b9", "r 1b9", "r 1ba", "r 1ba", "r 1b9", "r 1b9", "w 1ba ff",
                         "w 1ba ff", "w 1b9 ff", "w 1b9 ff",
                         // ignition in the roller's high phase
                         "w 1b4 ff", "w 1b4 ff", "w 1b8 ff", "w 1b8 ff", "r 1b4", "r 1b4", "r 1b8",
                         "r 1b8", "r 1b4", "r 1b4",
                         // falling read and reload
                         "r 1b5", "r 1b5", "r 1b6", "r 1b6", "r 1b5", "r 1b5", "w 1b6 ff",
                         "w 1b6 ff", "w 1b5 ff", "w 1b5 ff",
                         // channel 1 on input 3
                         "w 281 3", "w 280 0", "r 280", "r 281", "w 281 3"));
    // 120,000,000 / 6000 at both positions of the pair.
    EXPECT_EQ(slot1().rpmSamples[0], 20000);
    EXPECT_EQ(slot1().rpmSamples[1], 20000);
}

TEST_F(CardSequenceTest, APairOf3And4AveragesTo3) {
    pressAtSamples = {4, 2, 2};
    runSequence();
    // The second pair of run 1 draws the needle at 600 / 3.
    const auto needles = display.linesStartingWith("needle speed");
    EXPECT_NE(std::find(needles.begin(), needles.end(), "needle speed 200 FFFF00"), needles.end());
    EXPECT_EQ(slot1().rollerPeriods[0], 3);
    EXPECT_EQ(slot1().rollerPeriods[1], 4);
}

TEST_F(CardSequenceTest, ARemotePressEndsARunAtOnceAndTheOtherRunsFollow) {
    pressAtSamples = {4, 6, 2};
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Finished);
    EXPECT_EQ(outcome.completedRuns, 3);
    EXPECT_EQ(slot1().leadingPeriods(0), 4);
    EXPECT_EQ(slot1().leadingPeriods(1), 6);
    EXPECT_EQ(slot1().leadingPeriods(2), 2);
    EXPECT_EQ(lastText(), "text Test session finished FFFF00/FF0000");
    EXPECT_THAT(display.linesStartingWith("digit"),
                ElementsAre("digit 0", "digit 1", "digit 2", "digit 3"));
    // Three remote delays between runs, one before the first.
    EXPECT_EQ(bus.sleptMs, 7 * 400);
    EXPECT_EQ(slot1().header.electronicsType(), 0);
}

TEST_F(CardSequenceTest, ARunThatNeverPasses26EndsAt2000Samples) {
    setPeriods(30, 30);  // the needle stays at 20
    pressAtSamples = {5000, 5000, 5000};
    runSequence();
    for (int run = 0; run < 3; ++run) EXPECT_EQ(slot1().leadingPeriods(run), 2000) << run;
}

TEST_F(CardSequenceTest, MphMovesTheNeedlesButNotThePeriods) {
    pressAtSamples = {4, 2, 2};
    start.speedInMph = true;
    runSequence();
    const auto needles = display.linesStartingWith("needle speed");
    // 600 x 0.62137 / 3 = 124.27
    EXPECT_NE(std::find(needles.begin(), needles.end(), "needle speed 124 FFFF00"), needles.end());
    EXPECT_EQ(slot1().rollerPeriods[0], 3);
    EXPECT_EQ(slot1().rollerPeriods[1], 4);
}

TEST_F(CardSequenceTest, WithoutRpmRegistrationNoIgnitionIsMeasuredAndRpmStays0) {
    slot1().rpmSamples.fill(77);
    runSequence();
    EXPECT_TRUE(std::all_of(slot1().rpmSamples.begin(), slot1().rpmSamples.begin() + 8000,
                            [](int rpm) { return rpm == 0; }));
    for (const auto& access : bus.log) {
        EXPECT_TRUE(access.find("1b4") == std::string::npos &&
                    access.find("1b8") == std::string::npos)
            << access;
    }
}

TEST_F(CardSequenceTest, AZeroIgnitionPeriodReadsAsTheTopOfTheDial) {
    start.rpm = {1, 1'920'000, 120'000'000};
    bus.queueCounts(0x1B4, {kFull});
    bus.queueCounts(0x1B8, {kFull});
    pressAtSamples = {4, 2, 2};
    runSequence();
    // Substituted by 1: beyond 320, so the period becomes 1,920,000 / 320.
    EXPECT_EQ(slot1().rpmSamples[0], 20000);
    EXPECT_FALSE(display.linesStartingWith("needle rpm 320 FFFF00").empty());
}

TEST_F(CardSequenceTest, AStopWhileWaitingForTheRemoteKeepsTheCompletedRuns) {
    pressAtSamples = {4, 2, 2};
    onPoll = [this](int) {
        // After run 1 the rider does not come back; the user stops the test.
        if (lastText().rfind("text Press remote for next", 0) == 0) {
            isRiderReady = false;
            if (bus.statusReads > 5000) sequence.requestStop();
        }
    };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Stopped);
    EXPECT_EQ(outcome.completedRuns, 1);
    EXPECT_THAT(outcome.message, HasSubstr("1 completed run kept"));
    EXPECT_EQ(slot1().leadingPeriods(0), 4);
    EXPECT_EQ(slot1().header.electronicsType(), 0);
    EXPECT_EQ(lastText(), "text Test stopped FFFF00/FF0000");
}

// The window starts the sequence on a thread of its own; a Stop pressed before that
// thread has reached run() must not be lost.
TEST_F(CardSequenceTest, AStopAskedBeforeTheSequenceRunsEndsItAtTheFirstWait) {
    sequence.requestStop();
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Stopped);
    EXPECT_EQ(outcome.completedRuns, 0);
    EXPECT_EQ(lastText(), "text Test stopped FFFF00/FF0000");
}

// The pairs count 3 and 4 ticks: the needle at 200 passes 26 at the first pair.
TEST_F(CardSequenceTest, ARollerThatStandsStillAfterPassing26EndsTheRunBySpeedAndKeepsIt) {
    pressAtSamples = {4, 8, 2};
    bus.status = [this](int n) {
        std::uint8_t status = riderStatus(n);
        // A hard stop: the roller stands (high) once run 2 holds four samples, and
        // turns again only for run 3.
        if (currentRun() == 1 && slot1().leadingPeriods(1) >= 4) status |= cardport::kRollerBit;
        return status;
    };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Finished) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 3);
    EXPECT_EQ(slot1().leadingPeriods(0), 4);
    // The rising period of the pair the roller stopped in is not kept.
    EXPECT_EQ(slot1().leadingPeriods(1), 4);
    EXPECT_EQ(slot1().rollerPeriods[2004], 0);
    EXPECT_EQ(slot1().leadingPeriods(2), 2);
    // Ended well before the edge limit of 50 ms (the needle's 13 is 23 µs of the
    // card's 2 MHz clock here).
    EXPECT_LT(bus.accesses, 30'000);
    EXPECT_EQ(lastText(), "text Test session finished FFFF00/FF0000");
}

TEST_F(CardSequenceTest, ARollerThatStopsBeforePassing26EndsTheSessionAndKeepsTheCompletedRuns) {
    setPeriods(30, 30);  // the needle stays at 20
    pressAtSamples = {4, 8, 2};
    // What a session before left in slot 1.
    slot1().header.words[SessionHeader::kElectronicsType] = 1;
    slot1().values.values[SessionValues::kStationCorrection] = 0.5;
    bus.status = [this](int n) {
        std::uint8_t status = riderStatus(n);
        if (currentRun() == 1 && slot1().leadingPeriods(1) >= 4) status |= cardport::kRollerBit;
        return status;
    };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::NoSignal);
    EXPECT_THAT(outcome.message, HasSubstr("No roller signal"));
    EXPECT_THAT(outcome.message, HasSubstr("1 completed run kept"));
    EXPECT_EQ(outcome.completedRuns, 1);
    EXPECT_EQ(slot1().leadingPeriods(0), 4);
    EXPECT_EQ(slot1().leadingPeriods(1), 0);
    // The kept run is stamped as a finished session's: the card, and the factor of
    // no station.
    EXPECT_EQ(slot1().header.electronicsType(), 0);
    EXPECT_EQ(slot1().values.stationCorrection(), 1.0);
    // The time limit is the card timing's: 50 ms of 1 µs accesses.
    EXPECT_GT(bus.accesses, 50'000);
    EXPECT_LT(bus.accesses, 200'000);
}

TEST_F(CardSequenceTest, TheFirstRollerEdgeOfARunIsWaitedForUntilTheRiderSetsOffOrStop) {
    pressAtSamples = {4, 6, 2};
    // Run 2: the rider presses the remote and sets off 120 ms later, over twice the
    // edge limit; run 3: the rider never sets off and the user stops the test.
    int runShownAt = -1;
    bus.status = [this, &runShownAt](int n) {
        std::uint8_t status = riderStatus(n);
        if (currentRun() >= 1 && slot1().leadingPeriods(currentRun()) == 0) {
            if (runShownAt < 0) runShownAt = n;
            if (currentRun() == 2 && n - runShownAt > 150'000) sequence.requestStop();
            if (currentRun() == 2 || n - runShownAt < 120'000) {
                status &= static_cast<std::uint8_t>(~cardport::kRollerBit);
            }
        } else {
            runShownAt = -1;
        }
        return status;
    };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Stopped) << outcome.message;
    EXPECT_EQ(outcome.completedRuns, 2);
    EXPECT_EQ(slot1().leadingPeriods(0), 4);
    EXPECT_EQ(slot1().leadingPeriods(1), 6);
    EXPECT_EQ(slot1().leadingPeriods(2), 0);
    EXPECT_EQ(slot1().header.electronicsType(), 0);
    EXPECT_EQ(lastText(), "text Test stopped FFFF00/FF0000");
}

TEST_F(CardSequenceTest, TheRemoteIsTheModelsBit) {
    start.remoteButtonMask = cardport::kK40RemoteMask;
    pressMask = cardport::kK70K80RemoteMask;  // the rider's press pulls bit 0 only
    onPoll = [this](int n) {
        if (n > 1000) sequence.requestStop();
    };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Stopped);
    EXPECT_EQ(outcome.completedRuns, 0);
}

TEST_F(CardSequenceTest, ARevCounterCheckMovesTheRpmNeedleUntilTheRemoteAndStoresNothing) {
    start.isRevCounterCheck = true;
    // The label's colours are whatever was shown last, by a test or a K40 transfer.
    rider.showRemoteText("Data OK", Rgb::Lime, Rgb::Green);
    start.rpm = {1, 1'920'000, 120'000'000};
    bus.queueCounts(0x1B4, {kFull - 12000});  // 160 on the dial
    bus.queueCounts(0x1B8, {kFull});
    isRiderReady = false;
    onPoll = [this](int n) { isRiderReady = n > 200; };
    const CardOutcome outcome = runSequence();
    EXPECT_EQ(outcome.kind, CardOutcome::Kind::Finished);
    EXPECT_THAT(display.linesStartingWith("text"),
                ElementsAre("text Data OK 00FF00/008000",
                            "text Press remote to end RPM check in the last colours",
                            "text RPM test finished in the last colours"));
    EXPECT_FALSE(display.linesStartingWith("needle rpm 160 FFFF00").empty());
    EXPECT_EQ(slot1().leadingPeriods(0), 0);
    EXPECT_EQ(std::count(bus.log.begin(), bus.log.end(), "r 1b5"), 0) << "no roller read";
}

}  // namespace
}  // namespace dyno::test
