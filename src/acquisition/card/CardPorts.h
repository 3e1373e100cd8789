#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "evaluation/DynoConstants.h"

namespace dyno {

// The K70/K80 card's ports, as offsets from its base (0x1B0 or 0x1F0, the advanced
// setup's "I/O adress"), and the separate 12-bit A/D converter at 0x280.
namespace cardport {
inline constexpr std::uint16_t kBase1B0 = 0x1B0;
inline constexpr std::uint16_t kBase1F0 = 0x1F0;

inline constexpr std::uint16_t kStatus = 0;           // roller, ignition and remote bits
inline constexpr std::uint16_t kParallelControl = 3;  // written 0x99 at every start
// Timer 1: counters 0..2 and its control word.
inline constexpr std::uint16_t kTimer1Counter0 = 4;
inline constexpr std::uint16_t kTimer1Counter1 = 5;
inline constexpr std::uint16_t kTimer1Counter2 = 6;
inline constexpr std::uint16_t kTimer1Control = 7;
// Timer 2.
inline constexpr std::uint16_t kTimer2Counter0 = 8;
inline constexpr std::uint16_t kTimer2Counter1 = 9;
inline constexpr std::uint16_t kTimer2Counter2 = 10;
inline constexpr std::uint16_t kTimer2Control = 11;

// The counter pairs: a low counter counting card clock ticks whose wrap clocks the
// high counter, so the pair times up to 2^32 ticks.
struct CounterPair {
    std::uint16_t high;
    std::uint16_t low;
};
inline constexpr CounterPair kRollerRising{kTimer2Counter1, kTimer2Counter2};
inline constexpr CounterPair kRollerFalling{kTimer1Counter1, kTimer1Counter2};
inline constexpr CounterPair kIgnition{kTimer2Counter0, kTimer1Counter0};

// Status bits: high while the signal is high. The remote button's bit is low while
// the button is pressed; which bit it is depends on the dyno model.
inline constexpr std::uint8_t kIgnitionBit = 0x02;
inline constexpr std::uint8_t kRollerBit = 0x04;
inline constexpr std::uint8_t kK40RemoteMask = 0x10;
inline constexpr std::uint8_t kK70K80RemoteMask = 0x01;

// The A/D converter: A+1 selects the input (and holds the low 4 bits of a result in
// its upper nibble), a write to A+0 starts a conversion, A+0 reads the high 8 bits.
inline constexpr std::uint16_t kAdBase = 0x280;
inline constexpr std::uint16_t kAdData = 0;
inline constexpr std::uint16_t kAdSelect = 1;
inline constexpr std::uint8_t kAdIdleInput = 3;  // selected again after each read
// Inputs 0..2 are the weather station; analog channel k (1..5) is input k + 2.
inline constexpr int kAdTemperature = 0;
inline constexpr int kAdPressure = 1;
inline constexpr int kAdHumidity = 2;
inline constexpr int kAdFirstChannel = 3;
}  // namespace cardport

// The card's twelve ports, status and parallel-port control first, then the two
// 8254 timers, from the base the advanced setup's "I/O adress" chooses: item 1 is
// 0x1F0, any other 0x1B0.
inline constexpr std::size_t kCardPortCount = 12;
using CardPortTable = std::array<std::uint16_t, kCardPortCount>;

inline constexpr std::uint16_t cardBaseFor(int addressChoice) {
    return addressChoice == 1 ? cardport::kBase1F0 : cardport::kBase1B0;
}

inline constexpr CardPortTable cardPortTable(int addressChoice) {
    const std::uint16_t base = cardBaseFor(addressChoice);
    CardPortTable ports{};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        ports[i] = static_cast<std::uint16_t>(base + i);
    }
    return ports;
}

// The status bit of the remote button for the dyno model of the settings.
inline constexpr std::uint8_t remoteButtonMaskFor(DynoModel model) {
    return model == DynoModel::K40 ? cardport::kK40RemoteMask : cardport::kK70K80RemoteMask;
}

// The remote button is pressed when its bit is low.
inline constexpr bool isRemotePressed(std::uint8_t status, std::uint8_t mask) {
    return (status & mask) != mask;
}

}  // namespace dyno
