// The K40 packet protocol over a scripted line: framing, every packet code, the
// commands sent, the waits and drains of the end of a run, and a failing port.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/K40LinkFixture.h"

namespace dyno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using K40Framing = K40LinkFixture;
using K40Packets = K40LinkFixture;
using K40Commands = K40LinkFixture;
using K40EndOfRun = K40LinkFixture;
using K40PortFailures = K40LinkFixture;

std::vector<std::uint8_t> startCommandOf(std::uint8_t mode) {
    // Channels 1 and 3, no weather station, transfer delay 7 (testStart()).
    return {mode, 1, 0, 1, 0, 0, 0, 7, 0, 27};
}

TEST_F(K40Framing, FourBytesWaitAndTheFifthDispatchesThePacket) {
    startTest();
    beginTransfer();
    scripted.feed({k40code::kRollerSample, 0, 1, 0x86});
    EXPECT_EQ(scripted.bytesWaiting(), 4u);
    EXPECT_EQ(state.rollerCount, 0);
    scripted.feed({0xA0});
    EXPECT_EQ(state.rollerCount, 1);
    EXPECT_EQ(slot1().rollerPeriods[0], 0x0186A0);
}

TEST_F(K40Framing, TwoPacketsInOneEventAreBothHandledInOrder) {
    startTest();
    beginTransfer();
    scripted.feed(std::vector{K40Packet::withV32(k40code::kRollerSample, 111),
                              K40Packet::withV32(k40code::kRollerSample, 222)});
    EXPECT_EQ(state.rollerCount, 2);
    EXPECT_EQ(slot1().rollerPeriods[0], 111);
    EXPECT_EQ(slot1().rollerPeriods[1], 222);
}

TEST_F(K40Framing, APacketBehindAWaitIsHandledOnlyAfterTheWaitAndItsDrain) {
    startTest();
    // The run's last packet and a live packet arrive together; the live packet must
    // not be handled before the 500 ms are over.
    beginTransfer();
    scripted.feed(std::vector{event(k40code::kRunComplete),
                              K40Packet::withV32(k40code::kLiveSpeed, 100'000)});
    EXPECT_EQ(state.runIndex, 1);
    EXPECT_EQ(state.speedNeedleOld, 0);
    // While the dispatch waits, arriving packets are held back.
    scripted.feed(event(k40code::kRunStarted));
    EXPECT_EQ(display.linesStartingWith("text Test running").size(), 1u) << "run 1's only";
    clock.advance(kDataOkPauseMs);
    // The drain after the wait discarded everything that came meanwhile.
    EXPECT_EQ(state.speedNeedleOld, 0);
    EXPECT_EQ(display.linesStartingWith("text Test running").size(), 1u);
    EXPECT_EQ(scripted.bytesWaiting(), 0u);
}

TEST_F(K40Framing, PacketsWaitingWithoutAFurtherEventAreHandledWhenAWaitEnds) {
    startTest();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    clock.advance(kDataOkPauseMs);
    // The electronics' next run arrives while the line then falls silent: no event
    // follows the code 40 that ends it.
    scripted.feed(event(k40code::kRunStarted));
    scripted.arriveSilently(event(k40code::kTransferBegins));
    scripted.arriveSilently(K40Packet::withV32(k40code::kRollerSample, 9));
    scripted.feed(event(k40code::kRunComplete));
    EXPECT_EQ(state.runIndex, 2);
    EXPECT_EQ(slot1().rollerPeriods[2000], 9);
}

TEST_F(K40Framing, CodeZeroIsConsumedWithoutEffect) {
    startTest();
    const auto before = display.log.size();
    scripted.feed({0, 18, 0, 0, 9});
    EXPECT_EQ(state.rollerCount, 0);
    EXPECT_EQ(display.log.size(), before);
    beginTransfer();
    scripted.feed(K40Packet::withV32(k40code::kRollerSample, 42));
    EXPECT_EQ(slot1().rollerPeriods[0], 42);
}

TEST_F(K40Framing, ShortReadsStillGiveWholePackets) {
    scripted.maxReadBytes = 2;
    startTest();
    beginTransfer();
    scripted.feed(std::vector{K40Packet::withV32(k40code::kRollerSample, 7),
                              K40Packet::withV32(k40code::kRollerSample, 8)});
    EXPECT_EQ(state.rollerCount, 2);
    EXPECT_EQ(slot1().rollerPeriods[1], 8);
}

TEST(K40Framer, ADrainForgetsThePartOfAPacketAlreadyRead) {
    ScriptedLink scripted;
    scripted.open("COM1");
    K40Framer framer(scripted);
    // The driver counts two bytes it cannot hand out yet: three bytes are read into
    // the framer and it waits for the rest.
    scripted.overReportedBytes = 2;
    scripted.feed({k40code::kRollerSample, 1, 2});
    EXPECT_FALSE(framer.next().has_value());
    EXPECT_EQ(framer.partialBytes(), 3u);

    framer.drain();  // must end although the driver keeps reporting bytes
    EXPECT_EQ(framer.partialBytes(), 0u);
    scripted.overReportedBytes = 0;
    scripted.feed(K40Packet::withV32(k40code::kRunComplete, 0));
    const auto packet = framer.next();
    ASSERT_TRUE(packet.has_value());
    EXPECT_EQ(packet->code(), k40code::kRunComplete);
}

TEST_F(K40Packets, ZeroDataValuesAreTakenAsOne) {
    startTest();
    beginTransfer();
    scripted.feed(std::vector{event(k40code::kRollerSample), event(k40code::kRpmSample),
                              event(k40code::kAnalogSample1)});
    EXPECT_EQ(slot1().rollerPeriods[0], 1);
    EXPECT_EQ(slot1().rpmSamples[0], 300'000'000);
    EXPECT_EQ(slot1().analogSamples[0][0][0], 1);
}

// d1 = 0xFC: a 10-bit value masks those bits off and reads 0, which counts as zero too.
TEST_F(K40Packets, EveryValueThatReadsZeroIsTakenAsOne) {
    startTest();
    beginTransfer();
    for (std::uint8_t channel = 0; channel < 5; ++channel) {
        scripted.feed(K40Packet::of(k40code::kAnalogSample1 + channel, 0xFC, 0, 0xFF, 0xFF));
        EXPECT_EQ(slot1().analogSamples[0][channel][0], 1) << "channel " << channel + 1;
    }
    // 4 800 000 / 1 is far off the dial: the rpm needle rests (no division by zero).
    display.log.clear();
    scripted.feed(event(k40code::kLiveRpm));
    EXPECT_THAT(display.log, ElementsAre("needle rpm 0 000000", "needle rpm 0 FFFF00"));
    completeRun();
    ASSERT_EQ(link.requestWeather("COM1", 0, K40WeatherSetup{}), K40Link::Outcome::Done);
    scripted.feed(K40Packet::of(k40code::kWeatherPart1, 0xFC, 0, 0xFC, 0));
    scripted.feed(K40Packet::of(k40code::kWeatherPart2, 0xFC, 0, 0xFF, 0xFF));
    clock.advance(kWeatherAnswerMs);
    EXPECT_EQ(state.weatherTempRaw, 1);
    EXPECT_EQ(state.weatherBaroRaw, 1);
    EXPECT_EQ(state.weatherHumRaw, 1);
}

TEST_F(K40Packets, SamplesGoToTheCurrentRunAndRpmIsDividedOut) {
    startTest();
    completeRun();
    beginTransfer();
    scripted.feed(std::vector{K40Packet::withV32(k40code::kRollerSample, 40'000),
                              K40Packet::withV32(k40code::kRpmSample, 30'000),
                              K40Packet::withV16(k40code::kAnalogSample5, 0x3FF),
                              K40Packet::withV16(k40code::kAnalogSample5, 0x7FF)});
    EXPECT_EQ(slot1().rollerPeriods[2000], 40'000);
    EXPECT_EQ(slot1().rpmSamples[2000], 10'000);  // 300 000 000 / 30 000
    EXPECT_EQ(slot1().analogSamples[1][4][0], 1023);
    EXPECT_EQ(slot1().analogSamples[1][4][1], 1023);  // only 10 bits count
    EXPECT_EQ(state.analogCount[4], 2);
    EXPECT_EQ(slot1().rollerPeriods[0], 0);
}

TEST_F(K40Packets, TheRunHoldsAtMost2000SamplesAndNothingIsStoredAfterTheThirdRun) {
    startTest();
    std::vector<K40Packet> run;
    for (std::uint32_t i = 1; i <= 2001; ++i) {
        run.push_back(K40Packet::withV32(k40code::kRollerSample, i));
        run.push_back(K40Packet::withV32(k40code::kRpmSample, i));
        run.push_back(K40Packet::withV16(k40code::kAnalogSample2, i & 0x3FF));
    }
    beginTransfer();
    scripted.feed(run);
    EXPECT_EQ(state.rollerCount, 2000);
    EXPECT_EQ(state.rpmCount, 2000);
    EXPECT_EQ(state.analogCount[1], 2000);
    EXPECT_EQ(slot1().rollerPeriods[1999], 2000);
    EXPECT_EQ(slot1().rollerPeriods[2000], 0);  // the 2001st did not spill into run 1
    EXPECT_EQ(slot1().rpmSamples[2000], 0);

    completeRun();
    completeRun();
    completeRun();
    ASSERT_EQ(state.runIndex, 3);
    scripted.feed(run);
    EXPECT_EQ(state.rollerCount, 0);
    EXPECT_EQ(slot1().rollerPeriods[6000], 0);
    EXPECT_EQ(slot1().analogSamples[3][1][0], 0);
}

TEST_F(K40Packets, TheSpeedNeedleShowsAtRestWhenOffTheDial) {
    startTest();
    display.log.clear();
    // 7 096 320 / 22 100 = 321.1: off the dial; / 22 176 = 320.0.
    scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 22'100));
    scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 22'176));
    scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 59'136));  // 120.0
    EXPECT_THAT(display.log, ElementsAre("needle speed 0 000000", "needle speed 0 FFFF00",
                                         "needle speed 0 000000", "needle speed 320 FFFF00",
                                         "needle speed 320 000000", "needle speed 120 FFFF00"));
    EXPECT_EQ(state.speedNeedleOld, 120);
}

TEST_F(K40Packets, TheRpmNeedleUsesUnsignedDivisionAndRestsWhenOffTheDial) {
    startTest();
    display.log.clear();
    scripted.feed(K40Packet::withV32(k40code::kLiveRpm, 15'000));  // 4 800 000 / 15 000 = 320
    scripted.feed(K40Packet::withV32(k40code::kLiveRpm, 14'999));  // 320.02 -> 320
    scripted.feed(K40Packet::withV32(k40code::kLiveRpm, 14'953));  // 321
    EXPECT_THAT(display.log, ElementsAre("needle rpm 0 000000", "needle rpm 320 FFFF00",
                                         "needle rpm 320 000000", "needle rpm 320 FFFF00",
                                         "needle rpm 320 000000", "needle rpm 0 FFFF00"));
}

TEST_F(K40Packets, LiveChannelsMoveTheirMarkers) {
    startTest();
    display.log.clear();
    scripted.feed(K40Packet::of(k40code::kLiveChannel1, 3, 255, 0, 0));  // 1023 -> 295
    scripted.feed(K40Packet::withV16(k40code::kLiveChannel2, 173));      // 50
    scripted.feed(K40Packet::withV16(k40code::kLiveChannel1, 346));      // 100
    EXPECT_THAT(display.log, ElementsAre("marker 1 0->295", "marker 2 0->50", "marker 1 295->100"));
    EXPECT_EQ(state.barMarker[0], 100);
}

TEST_F(K40Packets, FirmwareVersionIsShownAsSignedBytesOnlyAfterVkr) {
    ASSERT_EQ(link.sendStartUp("COM1", 0), K40Link::Outcome::Done);
    scripted.feed(K40Packet::of(k40code::kFirmwareVersion, 75, 82, 1, 5));
    scripted.feed(K40Packet::of(k40code::kFirmwareVersion, 75, 82, 255, 128));
    scripted.feed(K40Packet::of(k40code::kFirmwareVersion, 75, 83, 2, 2));
    EXPECT_THAT(display.linesStartingWith("version"),
                ElementsAre("version 1 5", "version -1 -128"));
    EXPECT_TRUE(state.firmwareSeen);
}

TEST_F(K40Packets, SampleSettingIsKeptAndShown) {
    ASSERT_EQ(link.sendStartUp("COM1", 0), K40Link::Outcome::Done);
    scripted.feed(K40Packet::withV16(k40code::kSampleSetting, 0x1234));
    scripted.feed(K40Packet::withV16(k40code::kSampleSetting, 0));
    EXPECT_THAT(display.linesStartingWith("samples"), ElementsAre("samples 4660", "samples 1"));
    EXPECT_EQ(state.sampleSetting, 1);
}

TEST_F(K40Packets, WeatherPacketsAfterTheRequestSetTheStationAndTheSessionFactor) {
    ASSERT_EQ(link.requestWeather("COM1", 0, K40WeatherSetup{}), K40Link::Outcome::Done);
    // 491 counts: 22.8 °C, 900: 1000 mbar, 351: 50 % with the default constants 250.
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart1, 491, 900));
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart2, 351));
    EXPECT_EQ(state.weatherHumRaw, 0) << "handled before the request's 1000 ms were over";
    clock.advance(kWeatherAnswerMs);
    EXPECT_EQ(state.weatherTempRaw, 491);
    EXPECT_EQ(state.weatherBaroRaw, 900);
    EXPECT_EQ(state.weatherHumRaw, 351);
    EXPECT_THAT(display.linesStartingWith("station"), ElementsAre("station 1000 23 50"));
    EXPECT_NEAR(slot1().values.stationCorrection(), 1.0, 0.05);
    EXPECT_NEAR(slot1().correctionFactor, 1.0, 0.05);
    EXPECT_NE(slot1().correctionFactor, 1.0);
    EXPECT_EQ(display.linesStartingWith("factor").size(), 2u);
    EXPECT_THAT(messages.shown, IsEmpty());
}

TEST_F(K40Packets, WeatherPacketsUseTheStationSetupInForceWhenTheyArrive) {
    startTest();  // in degrees Celsius, with the built-in constants 250
    // Changed on the Param. and Setup pages after the start.
    K40WeatherSetup now;
    now.constants = {250.0, 250.0, 500.0};
    now.units.isTemperatureFahrenheit = true;
    link.setWeatherSetupSource([&now] { return now; });
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart1, 491, 900));
    scripted.feed(K40Packet::withV16(k40code::kWeatherPart2, 351));
    ASSERT_EQ(display.linesStartingWith("station").size(), 1u);
    const std::string station = display.linesStartingWith("station")[0];
    EXPECT_NE(station.find(" 73 "), std::string::npos) << station << ": 22.8 °C in Fahrenheit";
    EXPECT_NE(station, "station 1000 73 50") << "the humidity constant in force counts";
}

TEST_F(K40Packets, TheOutOfLimitsBoxDoesNotLetTheDispatchRunInsideItself) {
    startTest();
    beginTransfer();
    // While the box is open, more bytes arrive and the nested event loop reports them.
    messages.onShow = [this] {
        messages.onShow = nullptr;
        scripted.feed(K40Packet::withV32(k40code::kRollerSample, 2));
        EXPECT_EQ(state.rollerCount, 1) << "dispatched inside the message box";
    };
    scripted.feed(std::vector{K40Packet::withV32(k40code::kRollerSample, 1),
                              K40Packet::withV16(k40code::kWeatherPart1, 100, 100),
                              K40Packet::withV16(k40code::kWeatherPart2, 351),
                              K40Packet::withV32(k40code::kRollerSample, 3)});
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown[0],
              "VKR dyno: The correctionfactor is out of limits, changed to 1.00");
    // All three samples, in arrival order, after the box was closed.
    EXPECT_EQ(state.rollerCount, 3);
    EXPECT_EQ(slot1().rollerPeriods[1], 3);
    EXPECT_EQ(slot1().rollerPeriods[2], 2);
}

TEST_F(K40Packets, RunEventsAreIgnoredOnceTheSessionIsComplete) {
    startTest();
    completeRun();
    completeRun();
    completeRun();
    display.log.clear();
    scripted.feed(std::vector{event(k40code::kRunStarted), event(k40code::kTransferBegins),
                              event(k40code::kRemoteEnd)});
    EXPECT_THAT(display.log, IsEmpty());
}

TEST_F(K40Commands, StartUpWeatherAndStartCommandsHaveTheirExactBytes) {
    ASSERT_EQ(link.sendStartUp("COM2", 9), K40Link::Outcome::Done);
    K40WeatherSetup weather;
    ASSERT_EQ(link.requestWeather("COM2", 9, weather), K40Link::Outcome::Done);
    clock.advance(kWeatherAnswerMs);
    K40Start start = testStart();
    start.recording = {{false, true, false, true, true}, true, 200};
    startTest(start);
    EXPECT_THAT(scripted.commands(),
                ElementsAre(std::vector<std::uint8_t>{8, 0, 0, 0, 0, 0, 0, 9, 0, 27},
                            std::vector<std::uint8_t>{5, 0, 0, 0, 0, 0, 0, 9, 0, 27},
                            std::vector<std::uint8_t>{3, 0, 1, 0, 1, 1, 1, 200, 0, 27}));
}

TEST_F(K40Commands, TestModeFollowsTheTestType) {
    K40Start start = testStart();
    start.rpmRegistration = 0;
    startTest(start);
    start.rpmRegistration = 1;
    startTest(start);
    start.isRevCounterCheck = true;
    startTest(start);
    start.rpmRegistration = 0;
    EXPECT_EQ(link.start(start), K40Link::Outcome::NothingToDo);
    EXPECT_THAT(scripted.commands(),
                ElementsAre(startCommandOf(1), startCommandOf(3), startCommandOf(2)));
}

TEST_F(K40Commands, TheStartCommandIsSentAgainAfterEachRunButTheLast) {
    startTest();
    completeRun();
    EXPECT_EQ(scripted.commands().size(), 2u);
    completeRun();
    completeRun();
    EXPECT_THAT(scripted.commands(),
                ElementsAre(startCommandOf(3), startCommandOf(3), startCommandOf(3)));
}

TEST_F(K40EndOfRun, TheRestartWaitsFor500MsAndDrainsWhatCameMeanwhile) {
    startTest();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    clock.advance(kDataOkPauseMs - 1);
    EXPECT_EQ(scripted.commands().size(), 1u);
    scripted.feed(K40Packet::withV32(k40code::kLiveSpeed, 100'000));
    clock.advance(1);
    EXPECT_EQ(scripted.commands().size(), 2u);
    EXPECT_EQ(scripted.bytesWaiting(), 0u);
    EXPECT_EQ(state.speedNeedleOld, 0);
}

TEST_F(K40EndOfRun, ThirdRunFinishesTheSessionWithoutANewStartCommand) {
    startTest();
    completeRun();
    completeRun();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    EXPECT_EQ(state.runIndex, 3);
    EXPECT_THAT(display.linesStartingWith("text Test session finished"), IsEmpty());
    clock.advance(kDataOkPauseMs);
    EXPECT_THAT(display.linesStartingWith("text Test session finished"),
                ElementsAre("text Test session finished 00FF00/008000"));
    EXPECT_EQ(scripted.commands().size(), 3u);
}

TEST_F(K40EndOfRun, ANewStartCancelsAPausedDispatch) {
    startTest();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    ASSERT_TRUE(link.isPaused());
    startTest();
    clock.advance(10 * kDataOkPauseMs);
    // Two test starts, no stale restart command from the cancelled run end.
    EXPECT_EQ(scripted.commands().size(), 2u);
    EXPECT_EQ(state.runIndex, 0);
    EXPECT_THAT(display.linesStartingWith("digit"), ElementsAre("digit 1", "digit 1"));
}

TEST_F(K40EndOfRun, ARevCounterCheckWithoutRpmStillCancelsAPausedDispatch) {
    startTest();
    beginTransfer();
    scripted.feed(event(k40code::kRunComplete));
    ASSERT_TRUE(link.isPaused());
    K40Start check = testStart();
    check.isRevCounterCheck = true;
    check.rpmRegistration = 0;
    EXPECT_EQ(link.start(check), K40Link::Outcome::NothingToDo);
    EXPECT_FALSE(link.isPaused());
    clock.advance(10 * kDataOkPauseMs);
    EXPECT_EQ(scripted.commands().size(), 1u) << "no restart after the cancelled run end";
}

TEST_F(K40EndOfRun, ARunIndexThatKeepsRisingNeverStoresOutsideTheSession) {
    startTest();
    beginTransfer();
    for (int i = 0; i < 40'000; ++i) {
        scripted.arriveSilently(event(k40code::kRunComplete));
    }
    scripted.feed(K40Packet::withV32(k40code::kRollerSample, 1));
    clock.runUntilIdle();
    EXPECT_EQ(state.runIndex, 1);  // the drain after the first code 40 took the rest
    for (int i = 0; i < 10; ++i) {
        beginTransfer();
        scripted.feed(event(k40code::kRunComplete));
        clock.advance(kDataOkPauseMs);
    }
    EXPECT_EQ(state.runIndex, 3) << "a test has no transfer after its third run";
    // A rev counter check takes every code 40 as its end.
    K40Start check = testStart();
    check.isRevCounterCheck = true;
    startTest(check);
    for (int i = 0; i < 40'000; ++i) {
        scripted.feed(event(k40code::kRunComplete));
        clock.advance(kDataOkPauseMs);
    }
    EXPECT_EQ(state.runIndex, std::numeric_limits<std::int16_t>::max());
    scripted.feed(K40Packet::withV32(k40code::kRollerSample, 1));
    EXPECT_EQ(state.rollerCount, 0);
}

TEST_F(K40PortFailures, APortThatCannotOpenShowsTheSystemTextAndSendsNothing) {
    scripted.canOpen = false;
    scripted.error = "No such file or directory";
    EXPECT_EQ(link.start(testStart()), K40Link::Outcome::PortFailed);
    EXPECT_THAT(messages.shown, ElementsAre("VKR dyno: No such file or directory"));
    EXPECT_THAT(display.log, ElementsAre("led off"));
    EXPECT_TRUE(scripted.written.empty());

    scripted.error.clear();  // closed again without an error: abandoned silently
    EXPECT_EQ(link.start(testStart()), K40Link::Outcome::PortFailed);
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(K40PortFailures, AVanishingPortKeepsTheRunsReceivedAndTellsTheUserOnce) {
    startTest();
    beginTransfer();
    scripted.feed(K40Packet::withV32(k40code::kRollerSample, 1234));
    scripted.feed(event(k40code::kRunComplete));
    scripted.vanish("Input/output error");
    clock.advance(kDataOkPauseMs);
    EXPECT_EQ(slot1().rollerPeriods[0], 1234);
    EXPECT_THAT(
        messages.shown,
        ElementsAre("VKR dyno: Connection to the dyno electronics lost: Input/output error"));
    EXPECT_FALSE(link.isPaused());
    EXPECT_EQ(scripted.commands().size(), 1u);  // no restart into a dead port
    EXPECT_EQ(display.linesStartingWith("led").back(), "led off");
}

TEST_F(K40PortFailures, AFullInputBufferIsShownOnceUntilItEmpties) {
    // The weather request holds the dispatch for 1000 ms while bytes pile up.
    ASSERT_EQ(link.requestWeather("COM3", 0, K40WeatherSetup{}), K40Link::Outcome::Done);
    const auto fill = [this] {
        for (int i = 0; i < 655; ++i) scripted.arriveSilently(event(k40code::kLiveSpeed));
    };
    fill();
    scripted.feed({0});  // 3276 bytes: just under 80 % of 4096
    EXPECT_THAT(display.linesStartingWith("text Serial"), IsEmpty());
    scripted.feed({0});
    scripted.feed({0});
    EXPECT_THAT(display.linesStartingWith("text Serial"),
                ElementsAre("text Serial buffer full FFFF00/FF0000"));

    clock.advance(kWeatherAnswerMs);  // reception went on: every packet is handled
    EXPECT_EQ(scripted.bytesWaiting(), 3u);
    ASSERT_EQ(link.requestWeather("COM3", 0, K40WeatherSetup{}), K40Link::Outcome::Done);
    fill();
    scripted.feed({0, 0});
    EXPECT_EQ(display.linesStartingWith("text Serial").size(), 2u);
}

}  // namespace
}  // namespace dyno::test
