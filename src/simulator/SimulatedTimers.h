#pragma once

#include <array>
#include <cstdint>

namespace dyno {

// The card's two 8254 interval timers, six 16-bit down counters, as the program
// programs them. A control word sets a counter's access (low byte, high byte, or
// low then high) and mode; the counter then waits for its count. Writing the count
// starts it at once (255 twice: 65535). Mode 2 counts N, N-1 .. 1 and starts again
// at N, pulsing its output each time; every other mode counts down through 0 and
// wraps. Reading the low byte latches the count; the next read gives its high byte.
//
// Each counter is clocked either by the card clock or by the output of another
// counter (the card's cascaded pairs). Counts are worked out from the clock when
// they are read, so nothing is stepped per tick.
class SimulatedTimers {
  public:
    static constexpr int kCounters = 6;  // timer 1 counters 0..2, timer 2 counters 0..2
    static constexpr int kCardClock = -1;

    // `clockedBy[k]`: kCardClock, or the counter whose output clocks counter k.
    explicit SimulatedTimers(const std::array<int, kCounters>& clockedBy) : clockedBy_(clockedBy) {}

    // Control word of timer 0 or 1 at card tick `tick`.
    void writeControl(int timer, std::uint8_t word, std::uint64_t tick);
    void writeCounter(int counter, std::uint8_t value, std::uint64_t tick);
    std::uint8_t readCounter(int counter, std::uint64_t tick);

    // The count as a read at `tick` would latch it.
    std::uint16_t countAt(int counter, std::uint64_t tick) const;

  private:
    struct Counter {
        int mode = 0;
        int access = 3;             // 1 low byte, 2 high byte, 3 low then high
        std::uint32_t initial = 0;  // N; 0 stands for 65536
        bool isCounting = false;
        std::uint64_t loadPulse = 0;    // clock pulses seen when the count was loaded
        std::uint64_t wrapsAtLoad = 0;  // output pulses before that
        std::uint16_t heldCount = 0;    // the count while not counting
        std::uint8_t pendingLow = 0;
        bool isHighByteNext = false;  // writing
        bool isLatched = false;
        std::uint16_t latched = 0;
        bool isReadingHigh = false;
    };

    std::uint64_t pulsesAt(int counter, std::uint64_t tick) const;
    std::uint64_t wrapsAt(int counter, std::uint64_t tick) const;
    void load(int counter, std::uint32_t count, std::uint64_t tick);

    std::array<int, kCounters> clockedBy_;
    std::array<Counter, kCounters> counters_{};
};

}  // namespace dyno
