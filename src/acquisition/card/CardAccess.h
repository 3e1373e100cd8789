#pragma once

#include <cstdint>

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardPorts.h"

namespace dyno {

// The elapsed count of a counter pair from the two 16-bit counts: each counter
// counts down from 65535, so (65535 - high) x 2^16 + (65535 - low). The unsigned
// 0xFFFFu makes both differences 32-bit unsigned already.
inline constexpr std::uint32_t elapsedCount(std::uint16_t highCount, std::uint16_t lowCount) {
    return ((0xFFFFu - highCount) << 16) | (0xFFFFu - lowCount);
}

// Single accesses of the card and its A/D converter: the status port, the timers'
// control words, counter reads and reloads, conversions.
class CardAccess {
  public:
    CardAccess(CardBus& bus, std::uint16_t base, std::int64_t settleDelaySteps)
        : bus_(bus), base_(base), settleDelaySteps_(settleDelaySteps) {}

    std::uint8_t status() { return bus_.readPort(base_ + cardport::kStatus); }

    // The control words of every start: parallel port, then both timers' counters.
    void initialise();

    // Two reads of a counter's port: low byte, then high byte.
    std::uint16_t readCounter(std::uint16_t offset);
    // 255 written twice: the counter starts again from 65535.
    void reload(std::uint16_t offset);
    // The low counter first: reloaded second, a wrap of the old low count between
    // the two reloads would already have taken one off the fresh high counter, and
    // the pair's next count would be 65536 ticks long.
    void reload(cardport::CounterPair pair) {
        reload(pair.low);
        reload(pair.high);
    }

    // The elapsed count of a roller pair: high counter first, then low. Should the
    // low counter wrap between the two reads, the high counter has moved on by one
    // and the count would be 65536 ticks short; the high counter is read once more
    // to catch that, and then the low one again.
    std::uint32_t readHighFirst(cardport::CounterPair pair);
    // The ignition pair: low counter first, then high. A low counter that wrapped
    // between reads shows as a second low reading above the first; then the high
    // counter is read once more.
    std::uint32_t readLowFirst(cardport::CounterPair pair);

    // One conversion of A/D input `input` (0..7), 0..4095, with the settle wait after
    // selecting the input and after starting the conversion.
    int convert(int input);
    // A conversion followed by selecting the idle input again, as the live reads do.
    int readInput(int input);

  private:
    void settle() const;

    CardBus& bus_;
    std::uint16_t base_;
    std::int64_t settleDelaySteps_;
};

}  // namespace dyno
