// Whole K40 sessions over the real serial path: the simulated electronics served on a
// pseudo-terminal, the program's link on QSerialPort, both on the event loop. The
// electronics run on a time-lapse clock so three runs take seconds, not a minute;
// the line then runs faster than 57600 baud, which only makes losses likelier.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "acquisition/RecordingViews.h"
#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/PortTestSupport.h"
#include "acquisition/ports/PtyServer.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "evaluation/RunEvaluation.h"
#include "model/SessionModel.h"
#include "simulator/SimulatedK40.h"

namespace dyno::test {
namespace {

constexpr int kTimeLapse = 20;

class PtySession : public ::testing::Test {
  protected:
    void serve(std::string_view vehicle) {
        profile = findVehicleProfile(vehicle);
        ASSERT_NE(profile, nullptr);
        SimulatedK40Options options;
        options.isPacedAtLineRate = true;
        electronics = std::make_unique<SimulatedK40>(electronicsClock, *profile, options);
        server = std::make_unique<PtyServer>(*electronics);
        ASSERT_TRUE(server->start()) << server->errorText();
    }

    K40Start startOf(const VehicleProfile& vehicle) const {
        K40Start start;
        start.portName = server->slavePath();
        start.rpmRegistration = 1;
        start.dial = vehicle.ignitionDegrees == 360
                         ? K40DialConstants{7'096'320.0, 2'400'000, 150'000'000}
                         : K40DialConstants{7'096'320.0, 4'800'000, 300'000'000};
        start.recording.analogChannels = {true, true, true, true, true};
        start.recording.transferDelay = 20;
        start.session.rollerWeightKg = 184.0;
        return start;
    }

    std::size_t riderSaw(const std::string& text) const {
        return display.linesStartingWith("text " + text).size();
    }

    QtClock programClock;
    QtClock electronicsClock{kTimeLapse};
    RecordingDisplay display;
    RecordingMessages messages;
    std::unique_ptr<SessionModel> model = SessionModel::create();
    AcquisitionState state;
    const VehicleProfile* profile = nullptr;
    std::unique_ptr<SimulatedK40> electronics;
    std::unique_ptr<PtyServer> server;
    SerialByteLink port;
    K40Link link{{port, programClock, display, display, display, messages}, *model, state};
};

TEST_F(PtySession, ThreeRunsWithFiveChannelsArriveCompleteAndEvaluateToTheVehiclesPower) {
    serve("scooter50");
    ASSERT_EQ(link.sendStartUp(server->slavePath(), 20), K40Link::Outcome::Done);
    ASSERT_EQ(link.start(startOf(*profile)), K40Link::Outcome::Done);
    ASSERT_TRUE(processEventsUntil([&] { return riderSaw("Test session finished") > 0; }, 60000))
        << "runs sent: " << electronics->runsSent();

    EXPECT_EQ(display.linesStartingWith("version"), std::vector<std::string>{"version 1 5"});
    EXPECT_EQ(riderSaw("Serial buffer full"), 0u);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(electronics->overrunBytes(), 0u);
    EXPECT_EQ(electronics->commandsReceived().size(), 4u);  // start-up, start, two restarts

    TestSession& slot1 = model->slot(1);
    auto workspace = EvaluationWorkspace::create();
    ASSERT_EQ(electronics->runs().size(), 3u);
    for (int run = 0; run < 3; ++run) {
        SCOPED_TRACE(run);
        const auto& sent = electronics->runs()[static_cast<std::size_t>(run)];
        const ConstTestRun received = std::as_const(slot1).run(run);
        ASSERT_EQ(static_cast<std::size_t>(slot1.leadingPeriods(run)), sent.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            ASSERT_EQ(received.rollerPeriods[i],
                      static_cast<std::int32_t>(sent[i].reading.rollerPeriodTicks));
            for (std::size_t c = 0; c < 5; ++c) {
                ASSERT_EQ(received.analogSamples[c][i], sent[i].reading.analog[c]);
            }
        }
        const EvaluationReport report = evaluate(*model, 1, run, EvaluationOptions{}, *workspace);
        ASSERT_GT(report.evalCount, 100);
        const auto& power = slot1.curves.powerCurve;
        const double peak = *std::max_element(power.begin(), power.end());
        const double expected =
            profile->peakWheelPowerHp(sent.front().speedKmh, sent.back().speedKmh);
        EXPECT_NEAR(peak, expected, expected * 0.02);
    }
}

TEST_F(PtySession, APulledAdapterEndsTheSessionWithAMessageAndKeepsTheRunsReceived) {
    serve("bike125");
    ASSERT_EQ(link.start(startOf(*profile)), K40Link::Outcome::Done);
    ASSERT_TRUE(processEventsUntil([&] { return state.runIndex >= 1; }, 60000));
    server->stop();
    ASSERT_TRUE(processEventsUntil([&] { return !messages.shown.empty(); }));
    processEventsFor(200);
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"VKR dyno: Connection to the dyno electronics lost: " +
                                       std::string(kHungUpText)});
    EXPECT_EQ(display.log.back(), "led off");
    EXPECT_EQ(static_cast<std::size_t>(model->slot(1).leadingPeriods(0)),
              electronics->runs()[0].size());
    EXPECT_EQ(riderSaw("Test session finished"), 0u);
    EXPECT_FALSE(link.isPaused());
}

// The serial port with its receive events held back, as while the window is busy:
// bytes pile up in the driver and the link hears of them only when released.
class StalledPort : public ByteLink, private ByteLinkListener {
  public:
    explicit StalledPort(SerialByteLink& port) : port_(port) { port_.setListener(this); }
    ~StalledPort() override { port_.setListener(nullptr); }

    void release() {
        isStalled_ = false;
        if (listener_ != nullptr) listener_->bytesReceived();
    }

    bool open(std::string_view name) override { return port_.open(name); }
    void close() override { port_.close(); }
    bool isOpen() const override { return port_.isOpen(); }
    std::string errorText() const override { return port_.errorText(); }
    std::size_t bytesWaiting() const override { return port_.bytesWaiting(); }
    std::size_t read(std::span<std::uint8_t> buffer) override { return port_.read(buffer); }
    bool write(std::span<const std::uint8_t> bytes) override { return port_.write(bytes); }
    void purgeInput() override { port_.purgeInput(); }
    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

  private:
    void bytesReceived() override {
        if (!isStalled_ && listener_ != nullptr) listener_->bytesReceived();
    }
    void linkFailed() override {
        if (listener_ != nullptr) listener_->linkFailed();
    }

    SerialByteLink& port_;
    ByteLinkListener* listener_ = nullptr;
    bool isStalled_ = true;
};

TEST_F(PtySession, ABacklogOfFourFifthsOfTheDriverBufferTellsTheRider) {
    ScriptedFarEnd farEnd;
    PtyServer scripted(farEnd);
    ASSERT_TRUE(scripted.start());
    SerialByteLink serial;
    StalledPort stalled(serial);
    K40Link stalledLink{
        {stalled, programClock, display, display, display, messages}, *model, state};
    ASSERT_TRUE(stalled.open(scripted.slavePath()));
    // Code-0 packets: consumed without effect, so only the backlog shows. The
    // pseudo-terminal may hand them over in pieces; the whole backlog is what counts.
    farEnd.send(std::vector<std::uint8_t>(3280, 0));  // 80 % of 4096 is 3276.8
    ASSERT_TRUE(processEventsUntil([&] { return serial.bytesWaiting() >= 3280; }));
    stalled.release();
    EXPECT_EQ(riderSaw("Serial buffer full"), 1u);
    EXPECT_TRUE(processEventsUntil([&] { return serial.bytesWaiting() == 0; }));
    farEnd.send(std::vector<std::uint8_t>(500, 0));
    processEventsFor(100);
    EXPECT_EQ(riderSaw("Serial buffer full"), 1u);  // a small block says nothing more
}

TEST_F(PtySession, ElectronicsThatStaySilentOnAnOpenPortAreNamedAndAnswerClearsIt) {
    // A port that opens, with nothing behind it: the adapter without the dyno.
    ScriptedFarEnd farEnd;
    PtyServer silent(farEnd);
    ASSERT_TRUE(silent.start()) << silent.errorText();
    QtClock fastClock{10};
    SerialByteLink serial;
    K40Link silentLink{{serial, fastClock, display, display, display, messages}, *model, state};
    ASSERT_EQ(silentLink.sendStartUp(silent.slavePath(), 20), K40Link::Outcome::Done);
    ASSERT_TRUE(
        processEventsUntil([&] { return !display.linesStartingWith("no answer").empty(); }));
    EXPECT_EQ(display.linesStartingWith("no answer").front(), "no answer " + silent.slavePath());
    EXPECT_EQ(display.linesStartingWith("led").back(), "led on");
    EXPECT_TRUE(messages.shown.empty()) << "a warning on the pages, not a box to click away";

    const auto version = K40Packet::of(k40code::kFirmwareVersion, k40code::kFirmwareMark1,
                                       k40code::kFirmwareMark2, 1, 5);
    farEnd.send({version.bytes.begin(), version.bytes.end()});
    EXPECT_TRUE(processEventsUntil(
        [&] { return display.linesStartingWith("no answer").back() == "no answer "; }));
}

}  // namespace
}  // namespace dyno::test
