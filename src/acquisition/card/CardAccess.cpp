#include "acquisition/card/CardAccess.h"

namespace dyno {

namespace {

constexpr std::uint8_t kParallelPortMode = 0x99;
// Counter 1 in mode 0 and counter 2 in mode 2 of both timers, then counter 0 of
// timer 1 in mode 2 and of timer 2 in mode 0; all loaded low byte then high byte.
constexpr std::uint8_t kCounter1Mode0 = 0x70;
constexpr std::uint8_t kCounter2Mode2 = 0xB4;
constexpr std::uint8_t kCounter0Mode2 = 0x34;
constexpr std::uint8_t kCounter0Mode0 = 0x30;
constexpr std::uint8_t kReloadByte = 255;
constexpr std::uint8_t kStartConversion = 0;

}  // namespace

void CardAccess::initialise() {
    using namespace cardport;
    bus_.writePort(base_ + kParallelControl, kParallelPortMode);
    bus_.writePort(base_ + kTimer1Control, kCounter1Mode0);
    bus_.writePort(base_ + kTimer1Control, kCounter2Mode2);
    bus_.writePort(base_ + kTimer2Control, kCounter1Mode0);
    bus_.writePort(base_ + kTimer2Control, kCounter2Mode2);
    bus_.writePort(base_ + kTimer1Control, kCounter0Mode2);
    bus_.writePort(base_ + kTimer2Control, kCounter0Mode0);
}

std::uint16_t CardAccess::readCounter(std::uint16_t offset) {
    const std::uint16_t port = base_ + offset;
    const std::uint8_t low = bus_.readPort(port);
    const std::uint8_t high = bus_.readPort(port);
    return static_cast<std::uint16_t>(high << 8 | low);
}

void CardAccess::reload(std::uint16_t offset) {
    bus_.writePort(base_ + offset, kReloadByte);
    bus_.writePort(base_ + offset, kReloadByte);
}

std::uint32_t CardAccess::readHighFirst(cardport::CounterPair pair) {
    std::uint16_t high = readCounter(pair.high);
    std::uint16_t low = readCounter(pair.low);
    if (const std::uint16_t again = readCounter(pair.high); again != high) {
        high = again;
        low = readCounter(pair.low);
    }
    return elapsedCount(high, low);
}

std::uint32_t CardAccess::readLowFirst(cardport::CounterPair pair) {
    std::uint16_t low = readCounter(pair.low);
    std::uint16_t high = readCounter(pair.high);
    // Counting down, a low counter reads higher only after passing its reload.
    if (const std::uint16_t again = readCounter(pair.low); again > low) {
        low = again;
        high = readCounter(pair.high);
    }
    return elapsedCount(high, low);
}

void CardAccess::settle() const {
    // volatile: the wait is the loop itself, calibrated at start-up.
    volatile std::int64_t step = 0;
    while (step < settleDelaySteps_) step = step + 1;
}

int CardAccess::convert(int input) {
    using namespace cardport;
    bus_.writePort(kAdBase + kAdSelect, static_cast<std::uint8_t>(input));
    settle();
    bus_.writePort(kAdBase + kAdData, kStartConversion);
    settle();
    const int high = bus_.readPort(kAdBase + kAdData);
    const int low = bus_.readPort(kAdBase + kAdSelect) >> 4;
    return high * 16 + low;
}

int CardAccess::readInput(int input) {
    const int value = convert(input);
    bus_.writePort(cardport::kAdBase + cardport::kAdSelect, cardport::kAdIdleInput);
    return value;
}

}  // namespace dyno
