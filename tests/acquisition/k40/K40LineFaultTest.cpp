// Whole sessions over a scripted line that misbehaves as real lines do: the
// electronics send live packets while the rider waits and rides and between runs, a
// run's transfer at line rate cut into arbitrary receive events, and somewhere one
// byte too many, one too few, a stray "run complete", noise or a pulled adapter.
// Each case checks which runs are kept, that every stored sample is one that was
// sent (its revolution's rpm and analog values with it), what the user is told, and
// that the session ends.
#include <gmock/gmock.h>

#include <algorithm>
#include <random>

#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// One run as the vehicle drove it: per revolution the roller period, the ignition
// period and channels 1 and 3 (the fixture records those, with rpm).
struct SentRun {
    std::vector<std::uint32_t> rollerPeriods;
    std::vector<std::uint32_t> ignitionPeriods;
    std::vector<std::uint16_t> channel1;
    std::vector<std::uint16_t> channel3;
};

// From 15 to 130 km/h: a K40 roller period is 5 544 000 ticks divided by km/h.
SentRun sentRun(int runNumber, int revolutions = 420) {
    SentRun run;
    for (int i = 0; i < revolutions; ++i) {
        const double kmh = 15.0 + 115.0 * i / (revolutions - 1);
        const auto period = static_cast<std::uint32_t>(5'544'000.0 / kmh) +
                            static_cast<std::uint32_t>(runNumber) * 7u;
        run.rollerPeriods.push_back(period);
        run.ignitionPeriods.push_back(period / 5 + 900u + static_cast<std::uint32_t>(i));
        run.channel1.push_back(static_cast<std::uint16_t>((i * 7 + runNumber) % 1023 + 1));
        run.channel3.push_back(static_cast<std::uint16_t>(1020 - i));  // no 0: it reads as 1
    }
    return run;
}

std::vector<std::uint8_t> bytesOf(const std::vector<K40Packet>& packets) {
    std::vector<std::uint8_t> bytes;
    for (const auto& p : packets) bytes.insert(bytes.end(), p.bytes.begin(), p.bytes.end());
    return bytes;
}

// Code 31, four samples a revolution, code 40.
std::vector<std::uint8_t> transferOf(const SentRun& run) {
    std::vector<K40Packet> packets{K40Packet::of(k40code::kTransferBegins, 0, 0, 0, 0)};
    for (std::size_t i = 0; i < run.rollerPeriods.size(); ++i) {
        packets.push_back(K40Packet::withV32(k40code::kRollerSample, run.rollerPeriods[i]));
        packets.push_back(K40Packet::withV32(k40code::kRpmSample, run.ignitionPeriods[i]));
        packets.push_back(K40Packet::withV16(k40code::kAnalogSample1, run.channel1[i]));
        packets.push_back(K40Packet::withV16(k40code::kAnalogSample3, run.channel3[i]));
    }
    packets.push_back(K40Packet::of(k40code::kRunComplete, 0, 0, 0, 0));
    return bytesOf(packets);
}

// Needles and markers while the rider waits or rides.
std::vector<std::uint8_t> livePackets(int count) {
    std::vector<K40Packet> packets;
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(count); ++i) {
        switch (i % 4) {
            case 0: packets.push_back(K40Packet::withV32(k40code::kLiveSpeed, 200'000 + i)); break;
            case 1: packets.push_back(K40Packet::withV32(k40code::kLiveRpm, 40'000 + i)); break;
            case 2: packets.push_back(K40Packet::withV16(k40code::kLiveChannel1, 300 + i)); break;
            default: packets.push_back(K40Packet::withV16(k40code::kLiveChannel2, 500 + i)); break;
        }
    }
    return bytesOf(packets);
}

std::vector<std::uint8_t> noise(std::size_t count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    return bytes;
}

// The byte offset of packet `packet` of a transfer, plus `into` bytes.
std::size_t at(int packet, int into = 0) {
    return static_cast<std::size_t>(packet * K40Packet::kSize + into);
}

class K40LineFaults : public K40LinkFixture {
  protected:
    // Bytes as the serial port reports them: a receive event every 37 bytes.
    void feedInEvents(const std::vector<std::uint8_t>& bytes) {
        for (std::size_t from = 0; from < bytes.size(); from += 37) {
            const std::size_t n = std::min<std::size_t>(37, bytes.size() - from);
            scripted.feed(std::span(bytes).subspan(from, n));
        }
    }

    // The rider presses the remote and rides; the run is transferred; the electronics
    // keep sending live packets until the program arms them for the next run (or the
    // session is over), at most 6 s.
    void rideRun(const std::vector<std::uint8_t>& transfer) {
        const std::size_t armed = scripted.commands().size();
        feedInEvents(livePackets(8));
        scripted.feed(event(k40code::kRunStarted));
        feedInEvents(livePackets(12));
        feedInEvents(transfer);
        waitForNextArming(armed);
    }
    void waitForNextArming(std::size_t armed) {
        for (int i = 0; i < 60 && scripted.commands().size() == armed && link.isSessionRunning();
             ++i) {
            feedInEvents(livePackets(4));
            clock.advance(kDataOkPauseMs / 5);
        }
    }

    // True when every sample stored in `r` is a revolution of `sent`, in order, with
    // the rpm and analog values of that same revolution. `stored` is set to how many.
    ::testing::AssertionResult keepsOnlyWhatWasSent(int r, const SentRun& sent, int& stored) {
        const auto run = slot1().run(r);
        stored = slot1().leadingPeriods(r);
        std::size_t next = 0;
        for (int i = 0; i < stored; ++i) {
            const auto s = static_cast<std::size_t>(i);
            const auto found = std::find(
                sent.rollerPeriods.begin() + static_cast<std::ptrdiff_t>(next),
                sent.rollerPeriods.end(), static_cast<std::uint32_t>(run.rollerPeriods[s]));
            if (found == sent.rollerPeriods.end()) {
                return ::testing::AssertionFailure()
                       << "run " << r + 1 << " sample " << i << " = " << run.rollerPeriods[s]
                       << " was never sent (or not in this order)";
            }
            const auto j = static_cast<std::size_t>(found - sent.rollerPeriods.begin());
            next = j + 1;
            const auto rpm = static_cast<std::int32_t>(300'000'000u / sent.ignitionPeriods[j]);
            if (run.rpmSamples[s] != rpm || run.analogSamples[0][s] != sent.channel1[j] ||
                run.analogSamples[2][s] != sent.channel3[j]) {
                return ::testing::AssertionFailure()
                       << "run " << r + 1 << " sample " << i << ": rpm or analog values of "
                       << "another revolution";
            }
        }
        // Nothing stored past the run's samples, in any kind.
        for (std::size_t s = static_cast<std::size_t>(stored); s < kSamplesPerRun; ++s) {
            if (run.rollerPeriods[s] != 0 || run.rpmSamples[s] != 0 ||
                run.analogSamples[0][s] != 0 || run.analogSamples[2][s] != 0) {
                return ::testing::AssertionFailure()
                       << "run " << r + 1 << " holds a value at " << s << " past its samples";
            }
        }
        return ::testing::AssertionSuccess();
    }

    void expectExactly(int r, const SentRun& sent) {
        int stored = 0;
        EXPECT_TRUE(keepsOnlyWhatWasSent(r, sent, stored));
        EXPECT_EQ(stored, static_cast<int>(sent.rollerPeriods.size())) << "run " << r + 1;
    }

    // The sample counts kept of a damaged run: all sent, only the revolutions around
    // the fault missing.
    void expectKeptAroundFaults(int r, const SentRun& sent, int faults) {
        int stored = 0;
        EXPECT_TRUE(keepsOnlyWhatWasSent(r, sent, stored));
        const int sentCount = static_cast<int>(sent.rollerPeriods.size());
        EXPECT_LT(stored, sentCount) << "run " << r + 1;
        EXPECT_GE(stored, sentCount - faults * (kPacketsAroundFault / 4 + 3)) << "run " << r + 1;
    }

    // The session is over and the rider was told. `commands`: one start and two
    // re-arms, no more.
    void expectSessionFinished(std::size_t commands = 3) {
        EXPECT_EQ(display.linesStartingWith("text Test session finished").size(), 1u);
        EXPECT_FALSE(link.isSessionRunning());
        EXPECT_FALSE(display.isSessionRunning);
        EXPECT_EQ(scripted.commands().size(), commands);
    }

    // The transfer up to the packet `packet` with a stray "run complete" byte before
    // it, through that packet's first four bytes: what one receive event brings.
    std::vector<std::uint8_t> headWithStrayRunCompleteAt(const std::vector<std::uint8_t>& transfer,
                                                         int packet) const {
        const auto from = transfer.begin() + static_cast<std::ptrdiff_t>(at(packet));
        std::vector<std::uint8_t> head(transfer.begin(), from);
        head.push_back(k40code::kRunComplete);
        head.insert(head.end(), from,
                    transfer.begin() + static_cast<std::ptrdiff_t>(at(packet, 4)));
        return head;
    }

    // Runs 1 and 3 exactly as sent, run 2 without the revolutions around its one
    // fault and named, and the session over.
    void expectOneFaultInRun2AndTheRestWhole() {
        expectExactly(0, run1);
        expectKeptAroundFaults(1, run2, 1);
        expectExactly(2, run3);
        EXPECT_THAT(messages.shown, ElementsAre(HasSubstr("Run 2 arrived damaged")));
        expectSessionFinished();
    }

    const SentRun run1 = sentRun(1);
    const SentRun run2 = sentRun(2, 380);
    const SentRun run3 = sentRun(3, 450);
};

TEST_F(K40LineFaults, ACleanSessionIsStoredExactlyAsSent) {
    startTest();
    EXPECT_TRUE(display.isSessionRunning);
    rideRun(transferOf(run1));
    rideRun(transferOf(run2));
    rideRun(transferOf(run3));
    expectSessionFinished();
    EXPECT_THAT(messages.shown, IsEmpty());

    // The whole stored image, array by array, is the sent values at consecutive
    // positions and zero everywhere else: what the framing always stored.
    std::vector<std::int32_t> periods(slot1().rollerPeriods.size(), 0);
    std::vector<std::int32_t> rpm(slot1().rpmSamples.size(), 0);
    const SentRun* runs[] = {&run1, &run2, &run3};
    for (std::size_t r = 0; r < 3; ++r) {
        for (std::size_t i = 0; i < runs[r]->rollerPeriods.size(); ++i) {
            periods[r * kSamplesPerRun + i] = static_cast<std::int32_t>(runs[r]->rollerPeriods[i]);
            rpm[r * kSamplesPerRun + i] =
                static_cast<std::int32_t>(300'000'000u / runs[r]->ignitionPeriods[i]);
        }
        for (std::size_t ch = 0; ch < 5; ++ch) {
            for (std::size_t i = 0; i < kSamplesPerRun; ++i) {
                std::uint16_t expected = 0;
                if (i < runs[r]->channel1.size() && ch == 0) expected = runs[r]->channel1[i];
                if (i < runs[r]->channel3.size() && ch == 2) expected = runs[r]->channel3[i];
                ASSERT_EQ(slot1().analogSamples[r][ch][i], expected) << r << " " << ch << " " << i;
            }
        }
    }
    EXPECT_TRUE(std::equal(periods.begin(), periods.end(), slot1().rollerPeriods.begin()));
    EXPECT_TRUE(std::equal(rpm.begin(), rpm.end(), slot1().rpmSamples.begin()));
    EXPECT_EQ(link.framingLosses(), 0);
}

TEST_F(K40LineFaults, PacketsOfZeroBytesAnywhereAreDroppedAndCostNothing) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    const std::vector<std::uint8_t> fillers(2 * K40Packet::kSize, 0);
    for (const int packet : {1200, 600, 3, 1}) {
        transfer.insert(transfer.begin() + static_cast<std::ptrdiff_t>(at(packet)), fillers.begin(),
                        fillers.end());
    }
    rideRun(transfer);
    rideRun(transferOf(run3));
    expectExactly(0, run1);
    expectExactly(1, run2);
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown, IsEmpty());
    EXPECT_EQ(link.framingLosses(), 0);
    expectSessionFinished();
}

// Behind a run's closing code: a filler then a quiet line, a filler then live
// packets, a stray byte then live packets. None of them is more of the run.
class K40BytesBehindRunComplete : public K40LineFaults {
  protected:
    void rideRun1Followed(const std::vector<std::uint8_t>& behind, bool isLineQuietAfter) {
        startTest();
        auto transfer = transferOf(run1);
        transfer.insert(transfer.end(), behind.begin(), behind.end());
        if (isLineQuietAfter) {
            feedInEvents(livePackets(8));
            scripted.feed(event(k40code::kRunStarted));
            feedInEvents(transfer);
            clock.advance(2 * kTransferSilenceMs);
        } else {
            rideRun(transfer);
        }
        EXPECT_EQ(scripted.commands().size(), 2u) << "re-armed for run 2";
        rideRun(transferOf(run2));
        rideRun(transferOf(run3));
        expectExactly(0, run1);
        expectExactly(1, run2);
        expectExactly(2, run3);
        EXPECT_THAT(messages.shown, IsEmpty());
        EXPECT_EQ(link.damagedRuns(), 0);
        expectSessionFinished();
    }
    const std::vector<std::uint8_t> filler = std::vector<std::uint8_t>(K40Packet::kSize, 0);
};

TEST_F(K40BytesBehindRunComplete, AFillerThenAQuietLine) {
    rideRun1Followed(filler, true);
}

TEST_F(K40BytesBehindRunComplete, AFillerThenLivePackets) {
    auto behind = filler;
    const auto live = livePackets(8);
    behind.insert(behind.end(), live.begin(), live.end());
    rideRun1Followed(behind, false);
}

TEST_F(K40BytesBehindRunComplete, AStrayByteThenLivePackets) {
    std::vector<std::uint8_t> behind{0x5A};
    const auto live = livePackets(8);
    behind.insert(behind.end(), live.begin(), live.end());
    rideRun1Followed(behind, false);
}

// While the rider is awaited, a stray byte that reads as "run complete" or as
// "transfer begins" in front of a live packet.
class K40StrayCodeBeforeTheRemote : public K40LineFaults,
                                    public ::testing::WithParamInterface<std::uint8_t> {};

TEST_P(K40StrayCodeBeforeTheRemote, NeitherEndsNorStartsARun) {
    startTest();
    rideRun(transferOf(run1));
    std::vector<std::uint8_t> stray{GetParam()};
    const auto live = livePackets(12);
    stray.insert(stray.end(), live.begin(), live.end());
    feedInEvents(stray);
    clock.advance(2 * kTransferSilenceMs);
    EXPECT_EQ(state.runIndex, 1);
    rideRun(transferOf(run2));
    rideRun(transferOf(run3));
    expectExactly(0, run1);
    expectExactly(1, run2);
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown, IsEmpty());
    expectSessionFinished();
}

INSTANTIATE_TEST_SUITE_P(RunCompleteAndTransferBegins, K40StrayCodeBeforeTheRemote,
                         ::testing::Values(k40code::kRunComplete, k40code::kTransferBegins));

TEST_F(K40LineFaults, AStrayByteMidTransferCostsOnlyTheRevolutionsAroundIt) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    transfer.insert(transfer.begin() + static_cast<std::ptrdiff_t>(at(700, 2)), 0x55);
    rideRun(transfer);
    rideRun(transferOf(run3));

    expectExactly(0, run1);
    expectKeptAroundFaults(1, run2, 1);
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown,
                ElementsAre(HasSubstr("Run 2 arrived damaged: its data lost their framing once. "
                                      "The samples around the fault were left out")));
    expectSessionFinished();
}

TEST_F(K40LineFaults, AStrayRunCompleteNeitherCutsTheRunNorFillsTheNextWithItsTail) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    transfer.insert(transfer.begin() + static_cast<std::ptrdiff_t>(at(700)), k40code::kRunComplete);
    rideRun(transfer);
    EXPECT_EQ(state.runIndex, 2) << "run 2 ended once, at its real end";
    EXPECT_EQ(display.linesStartingWith("text Data OK").size(), 2u)
        << "the data behind the stray code showed it at once";
    rideRun(transferOf(run3));

    expectOneFaultInRun2AndTheRestWhole();
}

TEST_F(K40LineFaults, AStrayRunCompleteAtTheEndOfAReceiveEventIsTakenBackWhenMoreDataFollow) {
    startTest();
    rideRun(transferOf(run1));
    const auto transfer = transferOf(run2);
    // Everything up to the packet the stray code makes arrives in one event; the rest
    // of the transfer comes while the program waits its 500 ms after what looks like
    // the run's end.
    const std::vector<std::uint8_t> head = headWithStrayRunCompleteAt(transfer, 700);
    const std::vector<std::uint8_t> tail(transfer.begin() + static_cast<std::ptrdiff_t>(at(700, 4)),
                                         transfer.end());
    feedInEvents(livePackets(8));
    scripted.feed(event(k40code::kRunStarted));
    scripted.feed(head);
    EXPECT_EQ(state.runIndex, 2) << "nothing behind the code yet: it is taken on trial";
    feedInEvents(tail);
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(scripted.commands().size(), 2u) << "no re-arm after the stray code";
    EXPECT_EQ(display.linesStartingWith("text Transferring Data").size(), 3u)
        << "run 2 went back to its transfer";
    waitForNextArming(2);  // the wait after the real end
    EXPECT_EQ(scripted.commands().size(), 3u);
    rideRun(transferOf(run3));

    expectOneFaultInRun2AndTheRestWhole();
}

TEST_F(K40LineFaults, ALostByteIsFramedAgainAndTheSessionEnds) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    transfer.erase(transfer.begin() + static_cast<std::ptrdiff_t>(at(900, 3)));
    rideRun(transfer);
    rideRun(transferOf(run3));

    expectOneFaultInRun2AndTheRestWhole();
}

TEST_F(K40LineFaults, ALostRunCompleteEndsTheRunOnceOnlyLivePacketsFollow) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    transfer.erase(transfer.end() - K40Packet::kSize);  // the code byte of "run complete"
    rideRun(transfer);
    rideRun(transferOf(run3));

    expectOneFaultInRun2AndTheRestWhole();
}

TEST_F(K40LineFaults, AStopInTheWaitAfterARunWhoseClosingCodeWasLostJudgesThatRun) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    transfer.erase(transfer.end() - K40Packet::kSize);  // the code byte of "run complete"
    feedInEvents(livePackets(8));
    scripted.feed(event(k40code::kRunStarted));
    feedInEvents(transfer);
    // Live packets until the run is judged over and its 500 ms wait begins.
    for (int i = 0; i < 100 && state.runIndex == 1; ++i) {
        feedInEvents(livePackets(4));
        clock.advance(100);
    }
    ASSERT_EQ(state.runIndex, 2);
    ASSERT_TRUE(link.isPaused());
    // The message box's own event loop lets the clock run on.
    messages.onShow = [this] { clock.advance(kDataOkPauseMs); };
    ASSERT_TRUE(link.stopSession());

    EXPECT_EQ(scripted.commands().size(), 2u) << "no re-arm during the stop";
    expectExactly(0, run1);
    expectKeptAroundFaults(1, run2, 1);
    EXPECT_THAT(messages.shown, ElementsAre(HasSubstr("Run 2 arrived damaged"),
                                            HasSubstr("2 completed runs kept")));
    EXPECT_EQ(link.damagedRuns(), 1);
}

TEST_F(K40LineFaults, AStopInTheWaitAfterAStrayRunCompleteDoesNotCountTheRunCutOff) {
    startTest();
    rideRun(transferOf(run1));
    const auto transfer = transferOf(run2);
    // The stray code ends a receive event; more of the run comes in the wait.
    const std::vector<std::uint8_t> head = headWithStrayRunCompleteAt(transfer, 700);
    feedInEvents(livePackets(8));
    scripted.feed(event(k40code::kRunStarted));
    scripted.feed(head);
    feedInEvents(
        std::vector<std::uint8_t>(transfer.begin() + static_cast<std::ptrdiff_t>(at(700, 4)),
                                  transfer.begin() + static_cast<std::ptrdiff_t>(at(800))));
    ASSERT_TRUE(link.isPaused());
    ASSERT_TRUE(link.stopSession());

    expectExactly(0, run1);
    EXPECT_EQ(slot1().leadingPeriods(1), 0) << "the run cut off is cleared";
    EXPECT_THAT(messages.shown, ElementsAre(HasSubstr("1 completed run kept")));
    EXPECT_EQ(scripted.commands().size(), 2u);
}

TEST_F(K40LineFaults, SlowlyChangingPeriodBytesDoNotPassForCodesWhenTheFramingIsSought) {
    // Roller samples alone, near 75 km/h: the periods' third bytes run down by one a
    // revolution, through 0x15, 0x14, 0x13, 0x12 ..., each a code the electronics send.
    startTest();
    std::vector<std::uint32_t> periods;
    std::vector<K40Packet> packets{event(k40code::kTransferBegins)};
    for (std::uint32_t i = 0; i < 60; ++i) {
        periods.push_back(0x0001'2AF0 - 256 * i);
        packets.push_back(K40Packet::withV32(k40code::kRollerSample, periods.back()));
    }
    packets.push_back(event(k40code::kRunComplete));
    auto transfer = bytesOf(packets);
    transfer.erase(transfer.begin() + static_cast<std::ptrdiff_t>(at(22)));  // a code byte lost
    feedInEvents(transfer);
    waitForNextArming(1);

    EXPECT_THAT(messages.shown, ElementsAre(HasSubstr("lost their framing once.")))
        << "the first offset found carries the run's data";
    const int stored = slot1().leadingPeriods(0);
    EXPECT_GE(stored, 60 - kPacketsAroundFault - 3);
    for (int i = 0; i < stored; ++i) {
        const auto period =
            static_cast<std::uint32_t>(slot1().rollerPeriods[static_cast<std::size_t>(i)]);
        EXPECT_NE(std::find(periods.begin(), periods.end(), period), periods.end()) << i;
    }
}

TEST_F(K40LineFaults, NoiseBeforeTheStartAndWhileTheRiderWaitsBecomesNoSample) {
    ASSERT_EQ(link.sendStartUp("COM3", 7), K40Link::Outcome::Done);
    scripted.feed(noise(2000, 5));
    startTest();
    EXPECT_EQ(scripted.bytesWaiting(), 0u) << "the input was drained before the start command";
    scripted.feed(noise(600, 6));  // line noise after the start, before the remote
    rideRun(transferOf(run1));
    rideRun(transferOf(run2));
    rideRun(transferOf(run3));

    expectExactly(0, run1);
    expectExactly(1, run2);
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown, IsEmpty());
    expectSessionFinished(4);  // the start-up command too
}

TEST_F(K40LineFaults, AStrayByteEarlyInRun1LosesNeitherTheLaterRunsNorRun1) {
    startTest();
    auto transfer = transferOf(run1);
    transfer.insert(transfer.begin() + static_cast<std::ptrdiff_t>(at(3, 1)), 0x07);
    rideRun(transfer);
    rideRun(transferOf(run2));
    rideRun(transferOf(run3));

    expectKeptAroundFaults(0, run1, 1);
    expectExactly(1, run2);
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown, ElementsAre(HasSubstr("Run 1 arrived damaged")));
    expectSessionFinished();
}

TEST_F(K40LineFaults, ARunTooDamagedToTrustIsEmptiedAndTheLivePacketsAfterItChangeNothing) {
    startTest();
    rideRun(transferOf(run1));
    auto transfer = transferOf(run2);
    for (int fault = 5; fault >= 1; --fault) {
        transfer.insert(transfer.begin() + static_cast<std::ptrdiff_t>(at(fault * 250, 1)), 0xEE);
    }
    rideRun(transfer);
    // Live packets between the runs, some of them cut short by the line.
    auto between = livePackets(40);
    between.erase(between.begin() + 17);
    feedInEvents(between);
    rideRun(transferOf(run3));

    expectExactly(0, run1);
    EXPECT_EQ(slot1().leadingPeriods(1), 0);
    int stored = 0;
    EXPECT_TRUE(keepsOnlyWhatWasSent(1, run2, stored));
    expectExactly(2, run3);
    EXPECT_THAT(messages.shown,
                ElementsAre(std::string(kDynoCaption) +
                            ": Run 2 arrived damaged: its data lost their framing 5 times. Run 2 "
                            "was discarded; the runs that arrived whole are kept."));
    expectSessionFinished();
}

TEST_F(K40LineFaults, APulledPortMidTransferKeepsTheWholeRunsAndEndsTheSession) {
    startTest();
    rideRun(transferOf(run1));
    const auto transfer = transferOf(run2);
    feedInEvents(std::vector<std::uint8_t>(
        transfer.begin(), transfer.begin() + static_cast<std::ptrdiff_t>(at(600))));
    scripted.vanish("Input/output error");
    clock.advance(10 * kTransferSilenceMs);

    expectExactly(0, run1);
    EXPECT_EQ(slot1().leadingPeriods(1), 0) << "the run cut off is cleared";
    EXPECT_THAT(messages.shown, ElementsAre("VKR dyno: Connection to the dyno electronics lost: "
                                            "Input/output error"));
    EXPECT_EQ(display.linesStartingWith("text").back(), "text Test stopped FFFF00/FF0000");
    EXPECT_FALSE(link.isSessionRunning());
    EXPECT_FALSE(display.isSessionRunning);
    EXPECT_EQ(slot1().values.rollerWeight(), 184.0) << "stamped as a session that ended";
    EXPECT_EQ(scripted.commands().size(), 2u);
}

TEST_F(K40LineFaults, WeatherPacketsAreBelievedOnlyAsTheStationsPairInTheFraming) {
    startTest();
    // A part 2 alone, and a pair read from a stream shifted by a stray byte before the
    // framing is found again, never reach the air boxes.
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart2, 351));
    std::vector<std::uint8_t> shifted{0x99};
    const auto pair = bytesOf({K40Packet::withV16(k40code::kWeatherPart1, 0x3FF, 0x3FF),
                               K40Packet::withV16(k40code::kWeatherPart2, 0x3FF)});
    shifted.insert(shifted.end(), pair.begin() + 1, pair.end());
    shifted.push_back(0x63);
    scripted.feed(shifted);
    feedInEvents(livePackets(8));
    EXPECT_THAT(display.linesStartingWith("station"), IsEmpty());
    // The station's pair, framed: believed.
    scripted.feed(std::vector{K40Packet::withV16(k40code::kWeatherPart1, 491, 900),
                              K40Packet::withV16(k40code::kWeatherPart2, 351)});
    EXPECT_THAT(display.linesStartingWith("station"), ElementsAre("station 1000 23 50"));
}

TEST_F(K40LineFaults, InCleanFramingLivePacketsMayComeBetweenTheStationsTwoPackets) {
    startTest();
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart1, 491, 900));
    feedInEvents(livePackets(3));
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart2, 351));
    EXPECT_THAT(display.linesStartingWith("station"), ElementsAre("station 1000 23 50"));
}

TEST_F(K40LineFaults, AfterAFramingLossTheStationsPacketsCountOnlyAsAnAdjacentPair) {
    startTest();
    scripted.feed({0x99});  // the framing is lost, and found again on the live packets
    feedInEvents(livePackets(8));
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart1, 491, 900));
    feedInEvents(livePackets(3));
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart2, 351));
    EXPECT_THAT(display.linesStartingWith("station"), IsEmpty());
    scripted.feed(std::vector{K40Packet::withV16(k40code::kWeatherPart1, 491, 900),
                              K40Packet::withV16(k40code::kWeatherPart2, 351)});
    EXPECT_THAT(display.linesStartingWith("station"), ElementsAre("station 1000 23 50"));
}

TEST_F(K40LineFaults, AStrayOrLostByteAnywhereInATransferCostsAtMostTheRevolutionsAroundIt) {
    const std::size_t length = transferOf(run2).size();
    for (std::size_t pos = 3; pos + 5 < length; pos += 97) {
        // A stray byte of these values, or (-1) a byte lost.
        for (const int fault :
             {0x55, int{k40code::kRunComplete}, int{k40code::kRollerSample}, -1}) {
            SCOPED_TRACE("byte " + std::to_string(pos) + " fault " + std::to_string(fault));
            scripted.written.clear();
            messages.shown.clear();
            display.log.clear();
            // A start leaves the analog arrays as they were.
            for (auto& run : slot1().analogSamples) {
                for (auto& channel : run) std::ranges::fill(channel, 0);
            }
            startTest();
            rideRun(transferOf(run1));
            auto transfer = transferOf(run2);
            const auto where = transfer.begin() + static_cast<std::ptrdiff_t>(pos);
            if (fault < 0) {
                transfer.erase(where);
            } else {
                transfer.insert(where, static_cast<std::uint8_t>(fault));
            }
            rideRun(transfer);
            rideRun(transferOf(run3));

            expectExactly(0, run1);
            int stored = 0;
            ASSERT_TRUE(keepsOnlyWhatWasSent(1, run2, stored));
            // One fault never costs the whole run.
            EXPECT_GE(stored, static_cast<int>(run2.rollerPeriods.size()) - 6);
            expectExactly(2, run3);
            ASSERT_EQ(messages.shown.size(), 1u);
            EXPECT_THAT(messages.shown[0], HasSubstr("Run 2 arrived damaged"));
            expectSessionFinished();
        }
    }
}

}  // namespace
}  // namespace dyno::test
