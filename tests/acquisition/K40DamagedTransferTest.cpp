// Transfers that go wrong: a stray byte that shifts the five-byte framing, and a
// line that falls silent before the run's closing code. The damaged run is named and
// emptied, the whole runs stay, and the session goes on instead of waiting for ever.
#include <gmock/gmock.h>

#include <algorithm>

#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

class K40DamagedTransfer : public K40LinkFixture {
  protected:
    // A run's transfer: code 31, then `samples` roller periods. The period's low byte
    // (99) is no code the electronics send, so a shift by one byte shows at once.
    void transfer(int samples) {
        scripted.feed(event(k40code::kTransferBegins));
        std::vector<K40Packet> packets;
        for (int i = 0; i < samples; ++i) {
            packets.push_back(K40Packet::withV32(k40code::kRollerSample, 0x0001'0063));
        }
        scripted.feed(packets);
    }

    int storedSamples(int run) {
        const auto periods = slot1().run(run).rollerPeriods;
        return static_cast<int>(std::count_if(periods.begin(), periods.end(),
                                              [](std::int32_t p) { return p != 0; }));
    }
};

TEST_F(K40DamagedTransfer, AStrayByteLosesTheFramingAndTheRunIsNamedAndDiscarded) {
    startTest();
    transfer(50);
    completeRun();
    ASSERT_EQ(storedSamples(0), 50);

    // Run 2: one stray byte before the data. The closing code is never seen whole.
    scripted.feed(event(k40code::kTransferBegins));
    scripted.feed({0x55});
    std::vector<K40Packet> packets(40, K40Packet::withV32(k40code::kRollerSample, 0x0001'0063));
    packets.push_back(event(k40code::kRunComplete));
    scripted.feed(packets);
    EXPECT_EQ(state.runIndex, 1) << "still waiting for the end of run 2";
    EXPECT_GT(state.strayPackets, 30);
    EXPECT_THAT(messages.shown, IsEmpty());

    clock.advance(kTransferSilenceMs);
    ASSERT_EQ(messages.shown.size(), 1u) << messages.shown.back();
    EXPECT_THAT(messages.shown[0], HasSubstr("Run 2 arrived damaged"));
    EXPECT_THAT(messages.shown[0], HasSubstr("the runs that arrived whole are kept"));
    EXPECT_EQ(storedSamples(0), 50) << "run 1 arrived whole";
    EXPECT_EQ(storedSamples(1), 0) << "nothing read from the wrong bytes is kept";

    // The session goes on with run 3, on a freshly framed line.
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(state.runIndex, 2);
    EXPECT_EQ(scripted.commands().size(), 3u);
    transfer(20);
    completeRun();
    EXPECT_EQ(storedSamples(2), 20);
    EXPECT_EQ(messages.shown.size(), 1u) << messages.shown.back();
}

TEST_F(K40DamagedTransfer, StrayCodesBeforeTheClosingCodeDiscardTheRunAtOnce) {
    startTest();
    transfer(10);
    scripted.feed(K40Packet::of(99, 0, 0, 0, 0));
    completeRun();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_THAT(messages.shown[0], HasSubstr("Run 1 arrived damaged"));
    EXPECT_THAT(messages.shown[0], HasSubstr("(1 packets"));
    EXPECT_EQ(storedSamples(0), 0);
    EXPECT_EQ(state.runIndex, 1);
    EXPECT_EQ(state.strayPackets, 0) << "counted afresh for run 2";
}

TEST_F(K40DamagedTransfer, ASilentTransferEndsWithAMessageButASlowOneDoesNot) {
    startTest();
    transfer(5);
    // Bytes every two seconds keep the transfer alive.
    for (int i = 0; i < 3; ++i) {
        clock.advance(kTransferSilenceMs - 1000);
        scripted.feed(K40Packet::withV32(k40code::kRollerSample, 0x0001'0063));
    }
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(storedSamples(0), 8);

    clock.advance(kTransferSilenceMs);
    EXPECT_THAT(messages.shown,
                ElementsAre(std::string(kDynoCaption) +
                            ": The transfer of run 1 stopped: no data from the dyno electronics "
                            "for 3 seconds. Run 1 was discarded; the runs that arrived whole are "
                            "kept."));
    EXPECT_EQ(storedSamples(0), 0);
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(scripted.commands().size(), 2u) << "the electronics are armed for the next run";
}

TEST_F(K40DamagedTransfer, WaitingForTheRiderIsNoTransferAndNeverTimesOut) {
    startTest();
    clock.advance(10 * kTransferSilenceMs);
    EXPECT_THAT(messages.shown, IsEmpty());
    transfer(5);
    completeRun();
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(storedSamples(0), 5);
}

}  // namespace
}  // namespace dyno::test
