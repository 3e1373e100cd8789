#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "acquisition/card/CardTiming.h"
#include "evaluation/DynoConstants.h"

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

// What the settings say about the card when it is opened. The port device does not
// care; a simulated card needs to know which dyno's roller it turns.
struct CardChoice {
    DynoModel dynoModel = DynoModel::K70;
    std::int16_t rollerCode = 0;
    std::uint16_t base = 0x1B0;

    friend bool operator==(const CardChoice&, const CardChoice&) = default;
};

// Opening the bus: the bus, or the operating system's text for why it could not be
// opened. A bus with a time of its own (a simulated card) names it in `timing`, which
// lives as long as the bus; null means the wall clock.
struct CardBusOpening {
    std::unique_ptr<CardBus> bus;
    std::string errorText;
    CardTiming* timing = nullptr;
};

using CardBusOpener = std::function<CardBusOpening(const CardChoice& choice)>;

}  // namespace dyno
