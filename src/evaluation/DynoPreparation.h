#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "evaluation/DynoConstants.h"

namespace dyno {

// The two limit marks of one live analog level bar (`ad1_bar`, `ad2_bar`).
struct BarMarkerPositions {
    std::int32_t first = 50;
    std::int32_t second = 75;

    friend bool operator==(const BarMarkerPositions&, const BarMarkerPositions&) = default;
};

// The roller and clock constants the acquisition works with, from one test start
// to the next. The defaults are the values in force before the first start.
struct DynoConstantsInForce {
    DynoModel currentDynoModel = DynoModel::K40;
    Electronics currentElectronics = Electronics::UsbSerial;
    double speedFactor = kK40SpeedFactor.kmh;  // km/h per roller revolution per second
    double clockRate = kUsbSerialClockRate;    // period counter ticks per second
    double speedDialConstant = 7'096'320.0;    // dividend of the live speed needle
    std::array<BarMarkerPositions, 2> barMarkers{};

    friend bool operator==(const DynoConstantsInForce&, const DynoConstantsInForce&) = default;
};

// The marker texts of the Setup page: `pos_a1edit`, `pos_a2edit` for the first
// bar, `pos_b1edit`, `pos_b2edit` for the second.
struct BarMarkerTexts {
    std::string_view posA1 = "50";
    std::string_view posA2 = "75";
    std::string_view posB1 = "50";
    std::string_view posB2 = "75";
};

struct DynoPreparation {
    DynoConstantsInForce constants{};
    // The toolkit's conversion message for the first marker text that is not a
    // whole number, empty when all four read. Then no marker position changes:
    // the caller shows the message (as the toolkit's conversion error would
    // appear) and decides whether the start goes on.
    std::string markerError{};
};

// First preparation step of a test start: the constants of the chosen dyno model
// and electronics, and the marker positions of the two live bars. Callers map the
// Setup page's item indexes with isKnownDynoModel / isKnownElectronics first.
DynoPreparation prepareDyno(const DynoConstantsInForce& previous, DynoModel dynoModel,
                            Electronics electronics, const BarMarkerTexts& markerTexts);

}  // namespace dyno
