#pragma once

#include <array>
#include <cstdint>

#include <QString>

#include "acquisition/card/DelayCalibration.h"
#include "display/GraphScale.h"
#include "evaluation/CorrectionSources.h"
#include "evaluation/DynoPreparation.h"

namespace dyno {

// The plug-in card's twelve ports: status and parallel-port control, then the two
// 8254 timers, from base 0x1B0 or 0x1F0 ("I/O adress" of the advanced setup).
inline constexpr std::uint16_t kCardBase1B0 = 0x1B0;
inline constexpr std::uint16_t kCardBase1F0 = 0x1F0;
inline constexpr std::size_t kCardPortCount = 12;
using CardPortTable = std::array<std::uint16_t, kCardPortCount>;

inline CardPortTable cardPortTable(int addressChoice) {
    const std::uint16_t base = addressChoice == 1 ? kCardBase1F0 : kCardBase1B0;
    CardPortTable ports{};
    for (std::size_t i = 0; i < ports.size(); ++i) {
        ports[i] = static_cast<std::uint16_t>(base + i);
    }
    return ports;
}

// Which status bit of the card is the remote button: bit 4 on a K40 installation,
// bit 0 on the K70 and K80.
inline constexpr std::uint8_t kK40RemoteButtonMask = 0x10;
inline constexpr std::uint8_t kK70K80RemoteButtonMask = 0x01;

// The values the program holds "in force": taken from the settings when the file is
// read or saved, not every time a control changes. Owned by the main window.
struct ProgramState {
    // Roller and clock constants; reading the settings sets the speed factor of the
    // stored dyno model.
    DynoConstantsInForce dyno{};
    GraphScale graphScale{0, 100, 0, 10, 0, 15000};
    bool speedInMph = false;
    WeatherStationConstants weatherConstants{};
    std::uint8_t transferDelay = 20;  // byte 7 of every K40 command
    std::int16_t rollerCode = 0;
    // 5/24 once the settings file has been written or could not be read at start.
    CardPressureScale cardPressureScale = CardPressureScale::Per253;
    CardPortTable cardPorts = cardPortTable(0);
    std::uint8_t remoteButtonMask = kK40RemoteButtonMask;
    std::uint32_t remoteButtonDelayMs = 400;  // waits of the card test sequence
    // Where the save dialog and the File page start: an existing folder.
    QString initialFolder;
    // Loop steps of the card's busy waits, measured at start-up.
    DelayCounts delayCounts;
};

}  // namespace dyno
