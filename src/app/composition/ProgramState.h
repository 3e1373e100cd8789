#pragma once

#include <cstdint>

#include <QString>

#include "acquisition/card/CardPorts.h"
#include "acquisition/card/DelayCalibration.h"
#include "display/graph/GraphScale.h"
#include "evaluation/CorrectionSources.h"
#include "evaluation/DynoPreparation.h"

namespace dyno {

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
    std::uint8_t remoteButtonMask = cardport::kK40RemoteMask;
    std::uint32_t remoteButtonDelayMs = 400;  // waits of the card test sequence
    // Where the save dialog and the File page start: an existing folder.
    QString initialFolder;
    // Loop steps of the card's busy waits, measured at start-up.
    DelayCounts delayCounts;
};

}  // namespace dyno
