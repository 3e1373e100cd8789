// Transfers that go wrong: a stray byte that shifts the five-byte framing, a garbled
// code, a line that brings nothing readable, and a line that falls silent before the
// run's closing code. The damaged run is named, keeps only what was sent (or is
// emptied), the whole runs stay, and the session goes on instead of waiting for ever.
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
        beginTransfer();
        std::vector<K40Packet> packets;
        for (int i = 0; i < samples; ++i) {
            packets.push_back(K40Packet::withV32(k40code::kRollerSample, 0x0001'0063));
        }
        scripted.feed(packets);
    }

    int storedSamples(int run) {
        const auto periods = slot1().run(run).rollerPeriods;
        return static_cast<int>(
            std::count_if(periods.begin(), periods.end(), [](std::int32_t p) { return p != 0; }));
    }
};

TEST_F(K40DamagedTransfer, AStrayByteIsFramedPastAndTheRunKeepsWhatWasSent) {
    startTest();
    transfer(50);
    completeRun();
    ASSERT_EQ(storedSamples(0), 50);

    // Run 2: one stray byte before the data. The framing is found again one byte on.
    beginTransfer();
    scripted.feed({0x55});
    std::vector<K40Packet> packets(40, K40Packet::withV32(k40code::kRollerSample, 0x0001'0063));
    packets.push_back(event(k40code::kRunComplete));
    scripted.feed(packets);
    EXPECT_EQ(state.runIndex, 2) << "the closing code was read whole";
    EXPECT_THAT(messages.shown, IsEmpty()) << "told once the run end is confirmed";

    clock.advance(kDataOkPauseMs);
    EXPECT_THAT(messages.shown,
                ElementsAre(std::string(kDynoCaption) +
                            ": Run 2 arrived damaged: its data lost their framing once. The "
                            "samples around the fault were left out; Run 2 was kept with the "
                            "samples that arrived as sent."));
    EXPECT_EQ(storedSamples(0), 50);
    EXPECT_EQ(storedSamples(1), 40) << "nothing was read from the shifted bytes";
    EXPECT_EQ(slot1().rollerPeriods[2000 + 39], 0x0001'0063);

    // The session goes on with run 3, on a freshly framed line.
    EXPECT_EQ(scripted.commands().size(), 3u);
    transfer(20);
    completeRun();
    EXPECT_EQ(storedSamples(2), 20);
    EXPECT_EQ(messages.shown.size(), 1u) << messages.shown.back();
}

TEST_F(K40DamagedTransfer, AGarbledCodeTakesBackTheSamplesAroundItAndAQuietLineStillEndsTheRun) {
    startTest();
    transfer(30);
    scripted.feed(K40Packet::of(99, 0, 0, 0, 0));
    transfer(0);  // a code 31 inside the transfer is read from its data and ignored
    scripted.feed(
        std::vector<K40Packet>(10, K40Packet::withV32(k40code::kRollerSample, 0x0002'0063)));
    EXPECT_EQ(storedSamples(0), 30 - kPacketsAroundFault + 10);
    // The closing code comes last and the line falls quiet: too few packets to frame
    // afresh, until the quiet shows they close the run.
    scripted.feed({0x63});
    scripted.feed(event(k40code::kRunComplete));
    EXPECT_EQ(state.runIndex, 0);
    clock.advance(kTransferSilenceMs);
    EXPECT_EQ(state.runIndex, 1);
    clock.advance(kDataOkPauseMs);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_THAT(messages.shown[0], HasSubstr("Run 1 arrived damaged: its data lost their "
                                             "framing 2 times. The samples around each fault"));
    EXPECT_EQ(storedSamples(0), 30 - kPacketsAroundFault + 10 - kPacketsAroundFault)
        << "the second fault took back the samples before it too";
    EXPECT_EQ(scripted.commands().size(), 2u) << "armed for run 2";
}

TEST_F(K40DamagedTransfer, ALineThatNeverFramesAgainEmptiesTheRunAndTheSessionGoesOn) {
    startTest();
    transfer(30);
    // Bytes keep coming, but none can be read as the run's data.
    for (int i = 0; i < 40; ++i) {
        scripted.feed({0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x69});
        clock.advance(100);
    }
    EXPECT_THAT(messages.shown,
                ElementsAre(std::string(kDynoCaption) +
                            ": The transfer of run 1 stopped: nothing that could be read as its "
                            "data came from the dyno electronics for 3 seconds. Run 1 was "
                            "discarded; the runs that arrived whole are kept."));
    EXPECT_EQ(storedSamples(0), 0);
    EXPECT_THAT(display.linesStartingWith("text Run 1"),
                ElementsAre("text Run 1 discarded FFFF00/FF0000"));
    EXPECT_THAT(display.linesStartingWith("text Data OK"), IsEmpty()) << "not for a run given up";
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(scripted.commands().size(), 2u) << "armed for run 2";
    transfer(5);
    completeRun();
    EXPECT_EQ(storedSamples(1), 5);
    EXPECT_EQ(messages.shown.size(), 1u);
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
