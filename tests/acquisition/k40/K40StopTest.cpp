// "Stop" on the Speed page (or Escape) during a K40 session: it ends at once, keeps
// the runs received whole, tells the user how many, and listens to nothing the
// electronics send until the next start.
#include <gmock/gmock.h>

#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class K40Stop : public K40LinkFixture {
  protected:
    void transfer(int samples, std::uint32_t period) {
        beginTransfer();
        scripted.feed(std::vector<K40Packet>(static_cast<std::size_t>(samples),
                                             K40Packet::withV32(k40code::kRollerSample, period)));
    }
};

TEST_F(K40Stop, WhileTheRiderWaitsKeepsTheRunsReceivedAndIgnoresWhatFollows) {
    EXPECT_FALSE(link.stopSession()) << "nothing runs yet";
    startTest();
    EXPECT_TRUE(display.isSessionRunning);
    transfer(60, 50'000);
    completeRun();
    ASSERT_TRUE(link.stopSession());

    EXPECT_THAT(messages.shown,
                ElementsAre("VKR dyno: The test was stopped; 1 completed run kept."));
    EXPECT_EQ(display.linesStartingWith("text").back(), "text Test stopped FFFF00/FF0000");
    EXPECT_FALSE(display.isSessionRunning);
    EXPECT_FALSE(link.isSessionRunning());
    EXPECT_EQ(slot1().leadingPeriods(0), 60);
    EXPECT_EQ(slot1().values.rollerWeight(), 184.0) << "stamped as a session that ended";

    // The electronics were armed for run 2 and the rider rides it anyway.
    scripted.feed(event(k40code::kRunStarted));
    transfer(70, 40'000);
    scripted.feed(event(k40code::kRunComplete));
    clock.advance(10 * kDataOkPauseMs);
    EXPECT_EQ(slot1().leadingPeriods(1), 0);
    EXPECT_EQ(state.runIndex, 1);
    EXPECT_EQ(scripted.commands().size(), 2u) << "no re-arm after the stop";
    EXPECT_EQ(display.linesStartingWith("text").back(), "text Test stopped FFFF00/FF0000");
    EXPECT_FALSE(link.stopSession()) << "once is enough";
    EXPECT_EQ(messages.shown.size(), 1u);

    // A new start listens again.
    startTest();
    transfer(5, 30'000);
    completeRun();
    EXPECT_EQ(slot1().leadingPeriods(0), 5);
}

TEST_F(K40Stop, MidTransferOrInTheWaitAfterARunTheRunsReceivedWholeStay) {
    startTest();
    transfer(60, 50'000);
    completeRun();
    transfer(30, 40'000);  // run 2 half received
    ASSERT_TRUE(link.stopSession());
    EXPECT_EQ(slot1().leadingPeriods(0), 60);
    EXPECT_EQ(slot1().leadingPeriods(1), 0) << "half a run would evaluate as a short curve";
    EXPECT_THAT(messages.shown,
                ElementsAre("VKR dyno: The test was stopped; 1 completed run kept."));
    clock.advance(2 * kTransferSilenceMs);
    EXPECT_EQ(messages.shown.size(), 1u) << "no word of a silent transfer after the stop";

    messages.shown.clear();
    startTest();
    transfer(60, 50'000);
    scripted.feed(event(k40code::kRunComplete));
    ASSERT_TRUE(link.isPaused());  // the 500 ms after run 1
    const std::size_t commands = scripted.commands().size();
    ASSERT_TRUE(link.stopSession());
    clock.advance(kDataOkPauseMs);
    EXPECT_THAT(messages.shown,
                ElementsAre("VKR dyno: The test was stopped; 1 completed run kept."));
    EXPECT_EQ(scripted.commands().size(), commands) << "no re-arm after the stop";
    EXPECT_EQ(slot1().leadingPeriods(0), 60);
}

TEST_F(K40Stop, ARevCounterCheckStopsWithoutStampingTheSession) {
    K40Start check = testStart();
    check.isRevCounterCheck = true;
    startTest(check);
    ASSERT_TRUE(link.stopSession());
    EXPECT_THAT(messages.shown, ElementsAre("VKR dyno: The rev counter check was stopped."));
    EXPECT_EQ(slot1().values.rollerWeight(), 0.0);
    scripted.feed(event(k40code::kRemoteEnd));
    EXPECT_THAT(display.linesStartingWith("text Test session finished"), IsEmpty());
}

}  // namespace
}  // namespace dyno::test
