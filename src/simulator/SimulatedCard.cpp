#include "simulator/SimulatedCard.h"

#include <algorithm>
#include <cmath>

namespace dyno {

namespace {

constexpr std::int64_t kNsPerCardTick = 500;  // the 2 MHz card clock
constexpr std::uint64_t kAccessesPerPace = 4096;
constexpr std::uint8_t kRemoteBits = cardport::kK40RemoteMask | cardport::kK70K80RemoteMask;
constexpr int kLargestConversion = 4095;
// The station's counts for the Setup page's default constants (250 each) and the
// card's pressure scale after a normal start: 5/36 °C, 100/253 mbar, 10/47 % each.
constexpr double kStationCalibration = 250.0;
constexpr double kCountsPerDegree = 36.0 / 5.0;
constexpr double kCountsPerMbar = 253.0 / 100.0;
constexpr double kCountsPerPercent = 47.0 / 10.0;

// The card's wiring: in each pair the low counter's output clocks the high counter.
// Timer 1: counters 0 (ignition low), 1 (roller falling high), 2 (roller falling low);
// timer 2: 0 (ignition high), 1 (roller rising high), 2 (roller rising low).
constexpr std::array<int, SimulatedTimers::kCounters> kClockedBy{
    SimulatedTimers::kCardClock, 2, SimulatedTimers::kCardClock, 0, 5, SimulatedTimers::kCardClock};

int conversionOf(double value) {
    return static_cast<int>(std::clamp(std::lround(value), 0L, long{kLargestConversion}));
}

}  // namespace

SimulatedCard::SimulatedCard(const VehicleProfile& vehicle, const SimulatedCardOptions& options)
    : options_(options),
      ride_(vehicle, cardRollerOf(options.dynoModel, options.rollerCode), options.rider,
            options.seed),
      timers_(kClockedBy),
      random_(options.seed),
      air_(options.air) {}

void SimulatedCard::tick() {
    nowNs_ += options_.accessNs;
    if (++accesses_ % kAccessesPerPace == 0 && pacer_) pacer_(nowUs());
}

std::uint64_t SimulatedCard::cardTicks() const {
    return static_cast<std::uint64_t>(nowNs_ / kNsPerCardTick);
}

void SimulatedCard::sleepMs(std::int64_t ms) {
    nowNs_ += std::max<std::int64_t>(ms, 0) * 1'000'000;
    ride_.advanceTo(static_cast<double>(nowNs_) * 1e-9, false);
    if (pacer_) pacer_(nowUs());
}

std::uint8_t SimulatedCard::status() {
    ride_.advanceTo(static_cast<double>(nowNs_) * 1e-9, true);
    std::uint8_t value = kRemoteBits;
    if (ride_.isRemotePressed()) value = 0;
    if (ride_.isIgnitionHigh()) value |= cardport::kIgnitionBit;
    if (ride_.isRollerHigh()) value |= cardport::kRollerBit;
    return value;
}

std::uint8_t SimulatedCard::readPort(std::uint16_t address) {
    tick();
    using namespace cardport;
    if (address == kAdBase + kAdData) return static_cast<std::uint8_t>(conversion_ >> 4);
    if (address == kAdBase + kAdSelect) return static_cast<std::uint8_t>((conversion_ & 15) << 4);
    const int offset = address - options_.base;
    if (offset == kStatus) return status();
    if (offset >= kTimer1Counter0 && offset <= kTimer1Counter2) {
        return timers_.readCounter(offset - kTimer1Counter0, cardTicks());
    }
    if (offset >= kTimer2Counter0 && offset <= kTimer2Counter2) {
        return timers_.readCounter(3 + offset - kTimer2Counter0, cardTicks());
    }
    return 0xFF;  // nothing answers: the bus floats high
}

void SimulatedCard::writePort(std::uint16_t address, std::uint8_t value) {
    tick();
    using namespace cardport;
    if (address == kAdBase + kAdSelect) {
        selectedInput_ = value & 7;
        return;
    }
    if (address == kAdBase + kAdData) {
        // A count or so of noise, as a real converter has.
        const int noise = static_cast<int>(random_() % 3) - 1;
        conversion_ = std::clamp(inputValue(selectedInput_) + noise, 0, kLargestConversion);
        return;
    }
    const int offset = address - options_.base;
    if (offset == kTimer1Control) {
        timers_.writeControl(0, value, cardTicks());
    } else if (offset == kTimer2Control) {
        timers_.writeControl(1, value, cardTicks());
    } else if (offset >= kTimer1Counter0 && offset <= kTimer1Counter2) {
        timers_.writeCounter(offset - kTimer1Counter0, value, cardTicks());
    } else if (offset >= kTimer2Counter0 && offset <= kTimer2Counter2) {
        timers_.writeCounter(3 + offset - kTimer2Counter0, value, cardTicks());
    }
}

void SimulatedCard::setStationAir(const StationAir& air) {
    const std::lock_guard lock(airMutex_);
    air_ = air;
}

StationAir SimulatedCard::stationAir() const {
    const std::lock_guard lock(airMutex_);
    return air_;
}

int SimulatedCard::inputValue(int input) const {
    const double throttle = ride_.throttle();
    const double timeS = ride_.timeS();
    switch (input) {
        case cardport::kAdTemperature:
            return conversionOf((stationAir().temperatureC + kStationCalibration) *
                                kCountsPerDegree);
        case cardport::kAdPressure:
            return conversionOf((stationAir().pressureMbar - kStationCalibration) * kCountsPerMbar);
        case cardport::kAdHumidity:
            return conversionOf((stationAir().humidityPercent + kStationCalibration) *
                                kCountsPerPercent);
        // Channel 1 throttle, 2 cylinder head temperature, 3 lambda probe, 4 engine
        // speed, 5 road speed, as on the simulated K40 but with 12 bits.
        case 3: return conversionOf(400.0 + 3400.0 * throttle);
        case 4: return conversionOf(1600.0 + 16.0 * std::fmod(timeS, 100.0));
        case 5: return conversionOf(1760.0 + 240.0 * throttle);
        case 6: return conversionOf(4000.0 * ride_.engineRpm() / ride_.vehicle().limiterRpm());
        case 7: return conversionOf(32.0 * ride_.speedKmh());
        default: return 0;
    }
}

}  // namespace dyno
