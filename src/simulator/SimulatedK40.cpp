#include "simulator/SimulatedK40.h"

#include <algorithm>
#include <cmath>

#include "model/SessionLayout.h"

namespace dyno {

namespace {

constexpr std::size_t kProgramInputBufferBytes = 4096;
constexpr double kLineBytesPerMs = 5.76;  // 57600 baud, ten bits a byte
constexpr std::int64_t kLineTickMs = 10;
// Without line pacing a block of bytes arrives per receive event, as a driver that
// reports in chunks would; small enough never to fill the program's buffer.
constexpr std::size_t kUnpacedBlockBytes = 1000;
constexpr std::int64_t kWeatherAnswerDelayMs = 200;
// What a line with a loose contact adds to the stream.
constexpr std::uint8_t kStrayByte = 0x55;
constexpr double kStationCalibration = 250.0;  // the Setup page's default constants

std::uint16_t stationCounts(double value) {
    return static_cast<std::uint16_t>(std::clamp(std::lround(value), 1L, 1023L));
}

}  // namespace

SimulatedK40::SimulatedK40(Clock& clock, const VehicleProfile& vehicle,
                           const SimulatedK40Options& options)
    : clock_(clock),
      vehicle_(vehicle, options.rollerWeightKg, options.seed, options.coastDown,
               options.lambdaProbe),
      options_(options) {}

SimulatedK40::~SimulatedK40() {
    stopTimers();
    if (pumpTimer_ != Clock::kNoTimer) clock_.cancel(pumpTimer_);
}

bool SimulatedK40::open(std::string_view) {
    if (isVanished_) {
        error_ = "No such device";
        return false;
    }
    isOpen_ = true;
    error_.clear();
    received_.clear();
    return true;
}

void SimulatedK40::close() {
    isOpen_ = false;
}

std::size_t SimulatedK40::read(std::span<std::uint8_t> buffer) {
    const std::size_t n = std::min(buffer.size(), bytesWaiting());
    std::copy_n(received_.begin(), n, buffer.begin());
    received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
}

bool SimulatedK40::write(std::span<const std::uint8_t> bytes) {
    if (!isOpen_) return false;
    for (const std::uint8_t byte : bytes) {
        commandBytes_.push_back(byte);
        if (commandBytes_.size() < K40Command::kSize) continue;
        // Commands are recognised by their closing ESC; anything else slides by a byte.
        if (commandBytes_.back() != K40Command::kEnd) {
            commandBytes_.erase(commandBytes_.begin());
            continue;
        }
        K40Command command;
        std::copy(commandBytes_.begin(), commandBytes_.end(), command.bytes.begin());
        commandBytes_.clear();
        commands_.push_back(command);
        handleCommand(command);
    }
    return true;
}

void SimulatedK40::vanish(std::string_view reason) {
    isVanished_ = true;
    isOpen_ = false;
    error_ = reason;
    received_.clear();
    onTheLine_.clear();
    stopTimers();
    phase_ = Phase::Idle;
    if (listener_ != nullptr) listener_->linkFailed();
}

void SimulatedK40::handleCommand(const K40Command& command) {
    const std::uint8_t code = command.bytes[0];
    if (code == K40Command::kStartUp) {
        transmit(K40Packet::of(k40code::kFirmwareVersion, k40code::kFirmwareMark1,
                               k40code::kFirmwareMark2, options_.firmwareHigh,
                               options_.firmwareLow));
        transmit(K40Packet::withV16(k40code::kSampleSetting, options_.sampleSetting));
        return;
    }
    if (code == K40Command::kWeatherRequest) {
        after(kWeatherAnswerDelayMs, &SimulatedK40::answerWeather, weatherTimer_);
        return;
    }
    if (code < static_cast<std::uint8_t>(TestMode::WithoutRpm) ||
        code > static_cast<std::uint8_t>(TestMode::WithRpm)) {
        return;  // not a command these electronics know
    }
    K40Recording recording;
    for (std::size_t c = 0; c < recording.analogChannels.size(); ++c) {
        recording.analogChannels[c] = command.bytes[1 + c] != 0;
    }
    recording.isWeatherStationConnected = command.bytes[6] != 0;
    recording.transferDelay = command.bytes[7];
    arm(static_cast<TestMode>(code), recording);
}

void SimulatedK40::arm(TestMode mode, const K40Recording& recording) {
    stopTimers();
    mode_ = mode;
    recording_ = recording;
    phase_ = mode == TestMode::RevCounterCheck ? Phase::RevCounterCheck : Phase::WaitingForRemote;
    after(options_.liveIntervalMs, &SimulatedK40::liveTick, liveTimer_);
    const bool isRiderThere = mode == TestMode::RevCounterCheck || runsSent() < options_.runsRidden;
    if (options_.remoteDelayMs >= 0 && isRiderThere) {
        after(options_.remoteDelayMs, &SimulatedK40::pressRemote, phaseTimer_);
    }
}

void SimulatedK40::pressRemote() {
    if (phase_ == Phase::WaitingForRemote) {
        startRun();
    } else if (phase_ == Phase::RevCounterCheck) {
        stopTimers();
        phase_ = Phase::Idle;
        transmit(K40Packet::of(k40code::kRemoteEnd, 0, 0, 0, 0));
    }
}

void SimulatedK40::startRun() {
    if (phaseTimer_ != Clock::kNoTimer) clock_.cancel(phaseTimer_);
    phaseTimer_ = Clock::kNoTimer;
    runs_.push_back(vehicle_.fullThrottleRun(kSamplesPerRun));
    phase_ = Phase::Running;
    runStartMs_ = clock_.nowMs();
    transmit(K40Packet::of(k40code::kRunStarted, 0, 0, 0, 0));
    const double durationS = runs_.back().empty() ? 0.0 : runs_.back().back().endTimeS;
    after(static_cast<std::int64_t>(std::ceil(durationS * 1000.0)), &SimulatedK40::endRun,
          phaseTimer_);
}

void SimulatedK40::endRun() {
    if (liveTimer_ != Clock::kNoTimer) clock_.cancel(liveTimer_);
    liveTimer_ = Clock::kNoTimer;
    phase_ = Phase::Idle;
    transmit(K40Packet::of(k40code::kTransferBegins, 0, 0, 0, 0));
    const std::size_t revolutions = runs_.back().size();
    const bool isStrayRun = options_.strayBytes > 0 && runsSent_ + 1 == options_.strayBytesRun;
    const std::size_t strayEvery =
        isStrayRun ? std::max<std::size_t>(
                         1, revolutions / (static_cast<std::size_t>(options_.strayBytes) + 1))
                   : 0;
    std::size_t revolution = 0;
    for (const SimulatedRevolution& sent : runs_.back()) {
        const K40Reading& reading = sent.reading;
        // A byte from nowhere, in the middle of the roller sample's value.
        if (isStrayRun && ++revolution % strayEvery == 0 &&
            revolution / strayEvery <= static_cast<std::size_t>(options_.strayBytes)) {
            const K40Packet roller =
                K40Packet::withV32(k40code::kRollerSample, reading.rollerPeriodTicks);
            onTheLine_.insert(onTheLine_.end(), roller.bytes.begin(), roller.bytes.begin() + 2);
            onTheLine_.push_back(kStrayByte);
            onTheLine_.insert(onTheLine_.end(), roller.bytes.begin() + 2, roller.bytes.end());
            schedulePump();
        } else {
            transmit(K40Packet::withV32(k40code::kRollerSample, reading.rollerPeriodTicks));
        }
        if (mode_ == TestMode::WithRpm) {
            transmit(K40Packet::withV32(k40code::kRpmSample, reading.ignitionPeriodTicks));
        }
        for (std::size_t c = 0; c < reading.analog.size(); ++c) {
            if (!recording_.analogChannels[c]) continue;
            transmit(K40Packet::withV16(static_cast<std::uint8_t>(k40code::kAnalogSample1 + c),
                                        reading.analog[c]));
        }
    }
    transmit(K40Packet::of(k40code::kRunComplete, 0, 0, 0, 0));
    ++runsSent_;
}

void SimulatedK40::liveTick() {
    K40Reading reading = vehicle_.waitingReading();
    if (phase_ == Phase::Running && !runs_.back().empty()) {
        const double elapsedS = static_cast<double>(clock_.nowMs() - runStartMs_) / 1000.0;
        const auto& run = runs_.back();
        const auto at =
            std::lower_bound(run.begin(), run.end(), elapsedS,
                             [](const SimulatedRevolution& r, double t) { return r.endTimeS < t; });
        reading = (at == run.end() ? run.back() : *at).reading;
    }
    sendLive(reading);
    after(options_.liveIntervalMs, &SimulatedK40::liveTick, liveTimer_);
}

void SimulatedK40::sendLive(const K40Reading& reading) {
    transmit(K40Packet::withV32(k40code::kLiveSpeed, reading.rollerPeriodTicks));
    if (mode_ != TestMode::WithoutRpm) {
        transmit(K40Packet::withV32(k40code::kLiveRpm, reading.ignitionPeriodTicks));
    }
    if (recording_.analogChannels[0]) {
        transmit(K40Packet::withV16(k40code::kLiveChannel1, reading.analog[0]));
    }
    if (recording_.analogChannels[1]) {
        transmit(K40Packet::withV16(k40code::kLiveChannel2, reading.analog[1]));
    }
}

void SimulatedK40::answerWeather() {
    // The station's counts: 5/9 °C, 5/6 mbar and 100/117 % each, less or plus the
    // calibration constant.
    const auto temperature = stationCounts((options_.airTemperatureC + kStationCalibration) * 1.8);
    const auto pressure = stationCounts((options_.airPressureMbar - kStationCalibration) * 1.2);
    const auto humidity = stationCounts((options_.airHumidityPercent + kStationCalibration) * 1.17);
    transmit(K40Packet::withV16(k40code::kWeatherPart1, temperature, pressure));
    transmit(K40Packet::withV16(k40code::kWeatherPart2, humidity));
}

void SimulatedK40::transmit(const K40Packet& packet) {
    if (!isOpen_) return;
    onTheLine_.insert(onTheLine_.end(), packet.bytes.begin(), packet.bytes.end());
    schedulePump();
}

void SimulatedK40::schedulePump() {
    if (pumpTimer_ != Clock::kNoTimer || onTheLine_.empty()) return;
    const std::int64_t delay = options_.isPacedAtLineRate ? kLineTickMs : 0;
    pumpTimer_ = clock_.callAfter(delay, [this] {
        pumpTimer_ = Clock::kNoTimer;
        pump();
    });
}

void SimulatedK40::pump() {
    std::size_t block = kUnpacedBlockBytes;
    if (options_.isPacedAtLineRate) {
        lineCreditBytes_ += kLineBytesPerMs * kLineTickMs;
        block = static_cast<std::size_t>(lineCreditBytes_);
        lineCreditBytes_ -= static_cast<double>(block);
    }
    block = std::min(block, onTheLine_.size());
    for (std::size_t i = 0; i < block; ++i) {
        if (received_.size() < kProgramInputBufferBytes) {
            received_.push_back(onTheLine_.front());
        } else {
            ++overrunBytes_;
        }
        onTheLine_.pop_front();
    }
    if (onTheLine_.empty()) lineCreditBytes_ = 0.0;
    schedulePump();
    if (block > 0 && isOpen_ && listener_ != nullptr) listener_->bytesReceived();
}

void SimulatedK40::stopTimers() {
    for (Clock::TimerId* timer : {&liveTimer_, &phaseTimer_, &weatherTimer_}) {
        if (*timer != Clock::kNoTimer) clock_.cancel(*timer);
        *timer = Clock::kNoTimer;
    }
}

Clock::TimerId SimulatedK40::after(std::int64_t ms, void (SimulatedK40::*step)(),
                                   Clock::TimerId& slot) {
    if (slot != Clock::kNoTimer) clock_.cancel(slot);
    slot = clock_.callAfter(ms, [this, step, &slot] {
        slot = Clock::kNoTimer;
        (this->*step)();
    });
    return slot;
}

}  // namespace dyno
