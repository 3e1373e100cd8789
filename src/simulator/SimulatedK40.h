#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "acquisition/ByteLink.h"
#include "acquisition/Clock.h"
#include "acquisition/k40/K40Command.h"
#include "acquisition/k40/K40Packet.h"
#include "simulator/SimulatedVehicle.h"
#include "simulator/StationAir.h"

namespace dyno {

// The port name that stands for the simulated electronics in the window's port
// list and in dynotool's simulated sessions.
inline constexpr std::string_view kSimulatedPortName = "SIM";

struct SimulatedK40Options {
    double rollerWeightKg = 184.0;
    std::uint32_t seed = 1;
    // At 57600 baud (5760 bytes a second) as a real line, or as fast as the clock
    // runs timers: then bytes arrive in blocks a receive event at a time.
    bool isPacedAtLineRate = false;
    // The rider presses the remote this long after the electronics are armed; a
    // negative delay leaves it to pressRemote().
    std::int64_t remoteDelayMs = 1500;
    // The rider rides this many runs of a test and then leaves the remote alone.
    int runsRidden = 3;
    std::int64_t liveIntervalMs = 100;  // live needle and marker packets
    // A line that is not clean: this many bytes that were never sent land among the
    // packets of run `strayBytesRun` (1..3), spread evenly over its transfer.
    int strayBytes = 0;
    int strayBytesRun = 2;
    std::uint8_t firmwareHigh = 1;
    std::uint8_t firmwareLow = 5;
    std::uint16_t sampleSetting = 2000;
    // The air the weather station measures, sent as raw counts for the Setup page's
    // default calibration constants (250 each).
    double airTemperatureC = 23.0;
    double airPressureMbar = 1000.0;
    double airHumidityPercent = 50.0;
    // Runs from near a standstill, a little apart, each with its coast-down.
    CoastDownRide coastDown;
    // A wide-band lambda controller on channel 3 instead of the plain input.
    LambdaProbe lambdaProbe;
};

// The K40 electronics with a vehicle on the roller, behind the same byte link as the
// serial port. They answer the program's commands as the real electronics do: the
// start-up command with the firmware version (86) and sample setting (41); a start
// command with live packets (8, 9, 3, 4) while the rider waits and runs, code 32 when
// the remote is pressed, the run, code 31, the samples (18, 19, 13..17 per
// revolution) and code 40; a rev counter check with live packets until the remote
// ends it with code 30; a weather request with packets 20 and 21. Everything happens
// on the clock's timers, so a manual clock runs a whole session in no time.
class SimulatedK40 final : public ByteLink {
  public:
    enum class Phase { Idle, WaitingForRemote, Running, RevCounterCheck };

    SimulatedK40(Clock& clock, const VehicleProfile& vehicle, const SimulatedK40Options& options);
    ~SimulatedK40() override;
    SimulatedK40(const SimulatedK40&) = delete;
    SimulatedK40& operator=(const SimulatedK40&) = delete;

    bool open(std::string_view portName) override;
    void close() override;
    bool isOpen() const override { return isOpen_; }
    std::string errorText() const override { return error_; }
    std::size_t bytesWaiting() const override { return isOpen_ ? received_.size() : 0; }
    std::size_t read(std::span<std::uint8_t> buffer) override;
    bool write(std::span<const std::uint8_t> bytes) override;
    void purgeInput() override { received_.clear(); }
    void setListener(ByteLinkListener* listener) override { listener_ = listener; }

    // The rider presses the remote: starts a run, or ends a rev counter check.
    void pressRemote();
    // The USB adapter is pulled out.
    void vanish(std::string_view reason);
    // The demo changes the weather the station measures.
    void setStationAir(const StationAir& air) {
        options_.airTemperatureC = air.temperatureC;
        options_.airPressureMbar = air.pressureMbar;
        options_.airHumidityPercent = air.humidityPercent;
    }

    Phase phase() const { return phase_; }
    int runsSent() const { return runsSent_; }
    // Bytes lost because the program's 4096-byte input buffer was full.
    std::size_t overrunBytes() const { return overrunBytes_; }
    const std::vector<K40Command>& commandsReceived() const { return commands_; }
    // The runs as the vehicle drove them, for comparing with what was received.
    const std::vector<std::vector<SimulatedRevolution>>& runs() const { return runs_; }
    // What drove the runs of a coast-down ride, for comparing with their analysis.
    CoastDownTruth coastDownTruth() const { return vehicle_.coastDownTruth(); }
    // The mixture the lambda controller on channel 3 measured.
    const LambdaProbe& lambdaProbe() const { return vehicle_.lambdaProbe(); }

  private:
    void handleCommand(const K40Command& command);
    void arm(TestMode mode, const K40Recording& recording);
    void startRun();
    void endRun();
    void liveTick();
    void sendLive(const K40Reading& reading);
    void answerWeather();
    void transmit(const K40Packet& packet);
    void schedulePump();
    void pump();
    void stopTimers();
    Clock::TimerId after(std::int64_t ms, void (SimulatedK40::*step)(), Clock::TimerId& slot);

    Clock& clock_;
    SimulatedVehicle vehicle_;
    SimulatedK40Options options_;
    ByteLinkListener* listener_ = nullptr;
    bool isOpen_ = false;
    bool isVanished_ = false;
    std::string error_;

    std::deque<std::uint8_t> received_;   // the program's input buffer
    std::deque<std::uint8_t> onTheLine_;  // sent, not yet arrived
    std::vector<std::uint8_t> commandBytes_;
    std::vector<K40Command> commands_;
    std::size_t overrunBytes_ = 0;
    double lineCreditBytes_ = 0.0;

    Phase phase_ = Phase::Idle;
    TestMode mode_ = TestMode::WithoutRpm;
    K40Recording recording_;
    std::vector<std::vector<SimulatedRevolution>> runs_;
    int runsSent_ = 0;
    std::int64_t runStartMs_ = 0;

    Clock::TimerId liveTimer_ = Clock::kNoTimer;
    Clock::TimerId phaseTimer_ = Clock::kNoTimer;
    Clock::TimerId weatherTimer_ = Clock::kNoTimer;
    Clock::TimerId pumpTimer_ = Clock::kNoTimer;
};

}  // namespace dyno
