// The K40 test sequence as the rider sees it, with a manual clock for its waits: the
// texts, colours and run digit in order, the needles, the session stamp and the
// fixed-gearing ratio of each run.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/FixedGearingRatio.h"
#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr double kK40UsbDialConstant = 7'096'320.0;

// A run of `samples` revolutions accelerating from 20 to 100 km/h at a fixed engine
// rpm per km/h, as packets 18 and 19 (K40 USB clock, 720 ° constants).
std::vector<K40Packet> fixedGearRun(double rpmPerKmh, int samples = 300) {
    std::vector<K40Packet> packets;
    for (int i = 0; i < samples; ++i) {
        const double speedKmh = 20.0 + 80.0 * i / samples;
        const double periodTicks = kK40UsbDialConstant / 1.28 / speedKmh;
        const double ignitionTicks = 300'000'000.0 / (rpmPerKmh * speedKmh);
        packets.push_back(
            K40Packet::withV32(k40code::kRollerSample, static_cast<std::uint32_t>(periodTicks)));
        packets.push_back(
            K40Packet::withV32(k40code::kRpmSample, static_cast<std::uint32_t>(ignitionTicks)));
    }
    return packets;
}

class K40Sequence : public K40LinkFixture {
  protected:
    std::vector<std::string> riderLines() const {
        std::vector<std::string> out;
        for (const auto& line : display.log) {
            if (line.rfind("text", 0) == 0 || line.rfind("digit", 0) == 0) out.push_back(line);
        }
        return out;
    }

    void recordRun(const std::vector<K40Packet>& samples = {}) {
        beginTransfer();
        if (!samples.empty()) scripted.feed(samples);
        completeRun();
    }
};

TEST_F(K40Sequence, AThreeRunTestShowsItsTextsColoursAndDigitsInOrder) {
    startTest();
    recordRun();
    recordRun();
    recordRun();
    EXPECT_THAT(
        riderLines(),
        ElementsAre("digit 1", "text Press remote to start test sequence FFFF00/00FF00",
                    "text Test running FFFF00/FF0000", "text Transferring Data 00FFFF/0000FF",
                    "text Data OK 00FF00/008000", "digit 2",
                    "text Press remote to start test sequence FFFF00/00FF00",
                    "text Test running FFFF00/FF0000", "text Transferring Data 00FFFF/0000FF",
                    "text Data OK 00FF00/008000", "digit 3",
                    "text Press remote to start test sequence FFFF00/00FF00",
                    "text Test running FFFF00/FF0000", "text Transferring Data 00FFFF/0000FF",
                    "text Test session finished 00FF00/008000"));
}

TEST_F(K40Sequence, TheStartShowsAfter100MsAndPacketsOfThoseMsWaitButAreKept) {
    ASSERT_EQ(link.start(testStart()), K40Link::Outcome::Done);
    scripted.feed(event(k40code::kTransferBegins));
    scripted.feed(K40Packet::withV32(k40code::kRollerSample, 99));
    clock.advance(kStartCommandSettleMs - 1);
    EXPECT_THAT(riderLines(), IsEmpty());
    EXPECT_EQ(state.rollerCount, 0);
    clock.advance(1);
    EXPECT_THAT(riderLines(), ElementsAre("digit 1",
                                          "text Press remote to start test sequence "
                                          "FFFF00/00FF00",
                                          "text Transferring Data 00FFFF/0000FF"));
    EXPECT_EQ(slot1().rollerPeriods[0], 99);
}

TEST_F(K40Sequence, ANewTestClearsWhatTheLastOneRecorded) {
    startTest();
    recordRun(fixedGearRun(100.0, 50));
    startTest();
    EXPECT_EQ(slot1().rollerPeriods[0], 0);
    EXPECT_EQ(slot1().rollerPeriods[49], 0);
    EXPECT_EQ(slot1().rpmSamples[0], 0);
}

TEST_F(K40Sequence, NeedlesAreErasedWhereTheyWereAndRestAfterEachRun) {
    startTest();
    scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 59'136));  // 120
    scripted.feed(K40Packet::withV32(k40code::kLiveRpm, 30'000));    // 160
    display.log.clear();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    clock.advance(kDataOkPauseMs);
    EXPECT_THAT(
        display.linesStartingWith("needle"),
        ElementsAre("needle rpm 160 000000", "needle speed 120 000000", "needle rpm 160 000000",
                    "needle speed 0 FFFF00", "needle rpm 0 FFFF00"));
    EXPECT_EQ(state.speedNeedleOld, 0);
    EXPECT_EQ(state.rpmNeedleOld, 0);
}

TEST_F(K40Sequence, TheLastNeedlesOfASessionOrCheckAreErasedWhenItEnds) {
    const auto liveNeedles = [this] {
        scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 59'136));  // 120
        scripted.feed(K40Packet::withV32(k40code::kLiveRpm, 30'000));    // 160
        display.log.clear();
    };
    const std::vector<std::string> erasedAndAtRest{"needle speed 120 000000",
                                                   "needle rpm 160 000000", "needle speed 0 FFFF00",
                                                   "needle rpm 0 FFFF00"};
    startTest();
    recordRun();
    recordRun();
    liveNeedles();
    recordRun();
    // Code 31 took the rpm needle away already; the end takes both.
    std::vector<std::string> atTheEnd{"needle rpm 160 000000"};
    atTheEnd.insert(atTheEnd.end(), erasedAndAtRest.begin(), erasedAndAtRest.end());
    EXPECT_EQ(display.linesStartingWith("needle"), atTheEnd);

    K40Start check = testStart();
    check.isRevCounterCheck = true;
    startTest(check);
    liveNeedles();
    scripted.feed(event(k40code::kRemoteEnd));
    EXPECT_EQ(display.linesStartingWith("needle"), erasedAndAtRest);

    // A session given up half-way: the next start takes its needles away.
    startTest();
    liveNeedles();
    startTest();
    EXPECT_EQ(display.linesStartingWith("needle"), erasedAndAtRest);
}

TEST_F(K40Sequence, ARevCounterCheckEndsOnItsFirstRunCompleteAndStoresNothing) {
    slot1().header.words.fill(-7);
    K40Start start = testStart();
    start.isRevCounterCheck = true;
    startTest(start);
    scripted.feed(event(k40code::kRunComplete));
    EXPECT_THAT(riderLines(), ElementsAre("digit 1", "text Rpm check running FFFF00/00FF00"));
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(riderLines().back(), "text Test session finished 00FF00/008000");
    EXPECT_EQ(slot1().header.dynoModel(), -7);
    EXPECT_EQ(slot1().header.gearboxType(), -7);
    EXPECT_EQ(scripted.commands().size(), 1u);
}

TEST_F(K40Sequence, TheRemoteEndsARevCounterCheckButNotATest) {
    startTest();
    scripted.feed(event(k40code::kRemoteEnd));
    EXPECT_EQ(riderLines().back(), "text Press remote to start test sequence FFFF00/00FF00");

    K40Start start = testStart();
    start.isRevCounterCheck = true;
    startTest(start);
    scripted.feed(std::vector{event(k40code::kRemoteEnd), event(k40code::kRunStarted)});
    // Ended at once; the drain took the packet behind it.
    EXPECT_EQ(riderLines().back(), "text Test session finished 00FF00/008000");
    EXPECT_FALSE(link.isPaused());
}

TEST_F(K40Sequence, AFinishedSessionIsStampedWithTheSetUp) {
    K40Start start = testStart();
    start.session.dynoModel = DynoModel::K70;
    start.session.gearbox = GearboxType::FixedGearing;
    start.session.rollerWeightKg = 0.0;  // an empty roller-weight box
    start.session.rollerCode = 12;
    slot1().values.values[SessionValues::kRollerWeight] = 99.0;
    startTest(start);
    recordRun();
    recordRun();
    EXPECT_EQ(slot1().header.dynoModel(), 0);
    recordRun();
    EXPECT_EQ(slot1().header.dynoModel(), 1);
    EXPECT_EQ(slot1().header.electronicsType(), 1);
    EXPECT_EQ(slot1().header.gearboxType(), 1);
    EXPECT_EQ(slot1().header.rollerCode(), 12);
    EXPECT_EQ(slot1().values.rollerWeight(), 0.0);
}

TEST_F(K40Sequence, AK40SessionKeepsTheRollerCodeItHad) {
    slot1().header.words[SessionHeader::kRollerCode] = 33;
    K40Start start = testStart();
    start.session.rollerCode = 12;
    startTest(start);
    recordRun();
    recordRun();
    recordRun();
    EXPECT_EQ(slot1().header.rollerCode(), 33);
    EXPECT_EQ(slot1().values.rollerWeight(), 184.0);
}

TEST_F(K40Sequence, FixedGearingRatiosAreTakenAfterEachRunAndRun2AtTheEnd) {
    K40Start start = testStart();
    start.session.gearbox = GearboxType::FixedGearing;
    startTest(start);
    recordRun(fixedGearRun(80.0));
    EXPECT_NEAR(slot1().values.rpmPer100(0), 80.0, 0.4);
    EXPECT_EQ(slot1().values.rpmPer100(1), 0.0);
    recordRun(fixedGearRun(90.0));
    EXPECT_NEAR(slot1().values.rpmPer100(1), 90.0, 0.4);
    scripted.feed(event(k40code::kRunStarted));
    beginTransfer();
    scripted.feed(fixedGearRun(120.0));
    scripted.feed(event(k40code::kRunComplete));
    EXPECT_EQ(slot1().values.rpmPer100(2), 0.0);
    clock.advance(kDataOkPauseMs);
    EXPECT_NEAR(slot1().values.rpmPer100(2), 120.0, 0.6);
    EXPECT_NEAR(slot1().values.rpmPer100(0), 80.0, 0.4);
}

TEST_F(K40Sequence, AVariomaticTestLeavesTheRpmAt100KmhAlone) {
    slot1().values.values[SessionValues::kRpmPer100Run0] = 12.34;
    startTest();
    recordRun(fixedGearRun(80.0));
    recordRun(fixedGearRun(80.0));
    recordRun(fixedGearRun(80.0));
    EXPECT_EQ(slot1().values.rpmPer100(0), 12.34);
    EXPECT_EQ(slot1().values.rpmPer100(2), 0.0);
}

// Samples from index 0: roller period P and rpm N, constant speed unless set.
class FixedGearingRatioTest : public ::testing::Test {
  protected:
    void setPair(int i, double speedKmh, double rpmPerKmh) {
        const auto at = static_cast<std::size_t>(i);
        session->rollerPeriods[at] =
            static_cast<std::int32_t>(kK40UsbDialConstant / 1.28 / speedKmh);
        session->rpmSamples[at] = static_cast<std::int32_t>(rpmPerKmh * speedKmh);
    }
    // Leading pairs with speed rising by 0.1 km/h per sample.
    void rising(int count, double rpmPerKmh) {
        for (int i = 0; i < count; ++i) setPair(i, 20.0 + 0.1 * i, rpmPerKmh);
    }
    std::unique_ptr<SessionModel> model = SessionModel::create();
    TestSession* session = &model->slot(1);
};

TEST_F(FixedGearingRatioTest, NeedsEnoughRisingSamples) {
    rising(60, 50.0);  // 41 pairs from 19: samples 20..20 -> one only
    EXPECT_FALSE(fixedGearingRatio(*session, 0, kK40UsbDialConstant).has_value());
    rising(61, 50.0);  // 42 from 19: samples 20 and 21
    EXPECT_NEAR(fixedGearingRatio(*session, 0, kK40UsbDialConstant).value(), 50.0, 0.05);

    for (int i = 0; i < 200; ++i) setPair(i, 60.0, 50.0);  // never rising
    EXPECT_FALSE(fixedGearingRatio(*session, 0, kK40UsbDialConstant).has_value());
    session->values.values[SessionValues::kRpmPer100Run0] = 7.0;
    storeFixedGearingRatio(*session, 0, kK40UsbDialConstant);
    EXPECT_EQ(session->values.rpmPer100(0), 7.0);
}

TEST_F(FixedGearingRatioTest, LeavesOutTheLaunchTheTailAndFallingSamples) {
    rising(100, 50.0);  // n = 81 from sample 19: samples 20..60 count
    for (int i = 0; i < 20; ++i) setPair(i, 20.0 + 0.1 * i, 500.0);
    for (int i = 61; i < 100; ++i) setPair(i, 20.0 + 0.1 * i, 500.0);
    setPair(40, 10.0, 500.0);  // a slipping clutch: speed falls
    EXPECT_NEAR(fixedGearingRatio(*session, 0, kK40UsbDialConstant).value(), 50.0, 0.05);
    // Run 1 is read from its own part of the arrays.
    EXPECT_FALSE(fixedGearingRatio(*session, 1, kK40UsbDialConstant).has_value());
}

TEST_F(FixedGearingRatioTest, AZeroRpmEndsTheSamplesUsed) {
    rising(300, 50.0);
    for (int i = 100; i < 300; ++i) setPair(i, 20.0 + 0.1 * i, 90.0);
    session->rpmSamples[100] = 0;
    EXPECT_NEAR(fixedGearingRatio(*session, 0, kK40UsbDialConstant).value(), 50.0, 0.05);
}

}  // namespace
}  // namespace dyno::test
