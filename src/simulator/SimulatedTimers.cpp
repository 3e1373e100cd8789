#include "simulator/SimulatedTimers.h"

namespace dyno {

namespace {

constexpr std::uint32_t kFullCount = 0x10000;
constexpr int kRateGenerator = 2;

std::uint32_t lengthOf(std::uint32_t initial) {
    return initial == 0 ? kFullCount : initial;
}

}  // namespace

std::uint64_t SimulatedTimers::pulsesAt(int counter, std::uint64_t tick) const {
    const int source = clockedBy_[static_cast<std::size_t>(counter)];
    return source == kCardClock ? tick : wrapsAt(source, tick);
}

std::uint64_t SimulatedTimers::wrapsAt(int counter, std::uint64_t tick) const {
    const Counter& c = counters_[static_cast<std::size_t>(counter)];
    if (!c.isCounting) return c.wrapsAtLoad;
    const std::uint64_t pulses = pulsesAt(counter, tick) - c.loadPulse;
    const std::uint32_t n = lengthOf(c.initial);
    if (c.mode == kRateGenerator) return c.wrapsAtLoad + pulses / n;
    // Counting through 0 raises the output once; later passes wrap silently.
    return c.wrapsAtLoad + (pulses >= n ? 1 : 0);
}

std::uint16_t SimulatedTimers::countAt(int counter, std::uint64_t tick) const {
    const Counter& c = counters_[static_cast<std::size_t>(counter)];
    if (!c.isCounting) return c.heldCount;
    const std::uint64_t pulses = pulsesAt(counter, tick) - c.loadPulse;
    const std::uint32_t n = lengthOf(c.initial);
    if (c.mode == kRateGenerator) return static_cast<std::uint16_t>(n - pulses % n);
    return static_cast<std::uint16_t>((n - pulses % kFullCount) % kFullCount);
}

void SimulatedTimers::load(int counter, std::uint32_t count, std::uint64_t tick) {
    Counter& c = counters_[static_cast<std::size_t>(counter)];
    // The output pulses so far stay counted for the counter it clocks.
    c.wrapsAtLoad = wrapsAt(counter, tick);
    c.initial = count;
    c.loadPulse = pulsesAt(counter, tick);
    c.isCounting = true;
}

void SimulatedTimers::writeControl(int timer, std::uint8_t word, std::uint64_t tick) {
    const int select = word >> 6;
    if (select == 3) return;  // read-back: not used by the program
    const int counter = timer * 3 + select;
    Counter& c = counters_[static_cast<std::size_t>(counter)];
    const int access = (word >> 4) & 3;
    if (access == 0) {
        // Counter latch command.
        if (!c.isLatched) {
            c.latched = countAt(counter, tick);
            c.isLatched = true;
            c.isReadingHigh = false;
        }
        return;
    }
    c.wrapsAtLoad = wrapsAt(counter, tick);
    c.heldCount = countAt(counter, tick);
    c.isCounting = false;
    c.access = access;
    c.mode = (word >> 1) & 7;
    c.isHighByteNext = false;
    c.isLatched = false;
    c.isReadingHigh = false;
}

void SimulatedTimers::writeCounter(int counter, std::uint8_t value, std::uint64_t tick) {
    Counter& c = counters_[static_cast<std::size_t>(counter)];
    switch (c.access) {
        case 1: load(counter, value, tick); break;
        case 2: load(counter, static_cast<std::uint32_t>(value) << 8, tick); break;
        default:
            if (!c.isHighByteNext) {
                c.pendingLow = value;
                c.isHighByteNext = true;
            } else {
                c.isHighByteNext = false;
                load(counter, static_cast<std::uint32_t>(value) << 8 | c.pendingLow, tick);
            }
            break;
    }
}

std::uint8_t SimulatedTimers::readCounter(int counter, std::uint64_t tick) {
    Counter& c = counters_[static_cast<std::size_t>(counter)];
    if (c.access != 3) {
        const std::uint16_t count = c.isLatched ? c.latched : countAt(counter, tick);
        c.isLatched = false;
        return static_cast<std::uint8_t>(c.access == 2 ? count >> 8 : count);
    }
    if (!c.isReadingHigh) {
        if (!c.isLatched) c.latched = countAt(counter, tick);
        c.isLatched = true;
        c.isReadingHigh = true;
        return static_cast<std::uint8_t>(c.latched);
    }
    c.isReadingHigh = false;
    c.isLatched = false;
    return static_cast<std::uint8_t>(c.latched >> 8);
}

}  // namespace dyno
