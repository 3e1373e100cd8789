#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace dyno {

// The K70/K80 plug-in card's I/O ports: single byte reads and writes at a port
// address (status and timers at 0x1B0 or 0x1F0, the A/D converter at 0x280). The
// real side is the Linux port device; the simulated card models the timers, the
// status bits and the converter. A read or write cannot report failure: the card
// answers whatever is on the bus.
class CardBus {
  public:
    virtual ~CardBus() = default;
    virtual std::uint8_t readPort(std::uint16_t address) = 0;
    virtual void writePort(std::uint16_t address, std::uint8_t value) = 0;
};

// Opening the bus at start-up: the bus, or the operating system's text for why it
// could not be opened.
struct CardBusOpening {
    std::unique_ptr<CardBus> bus;
    std::string errorText;
};

using CardBusOpener = std::function<CardBusOpening()>;

}  // namespace dyno
