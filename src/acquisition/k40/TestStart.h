#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "acquisition/k40/K40Link.h"
#include "evaluation/DynoPreparation.h"
#include "evaluation/DynoPreparationChannels.h"
#include "evaluation/DynoPreparationRpm.h"

// A test start built from what the pages (or dynotool's options) hold: the one
// preparation both the window and `dynotool record`/`simulate` go through.
namespace dyno {

// One channel of the A/D Sett. page as typed.
struct ChannelEntryTexts {
    std::string gainText = "1";
    GainMode gainMode = GainMode::Multiply;
    std::string offsetText = "0";
    OffsetMode offsetMode = OffsetMode::Add;
    bool isInvertTicked = false;
};

// The levels of the Speed page's two analog bars as typed: `pos_a1edit`,
// `pos_a2edit`, `pos_b1edit`, `pos_b2edit`.
struct BarMarkerEntries {
    std::string posA1 = "50", posA2 = "75", posB1 = "50", posB2 = "75";
};

// What a start reads from the Setup, Test, A/D Sett. and Param. pages, as typed.
struct TestStartEntries {
    int dynoModelIndex = 0;    // `dynomodel`
    int electronicsIndex = 1;  // `electronics`
    std::string portName = "COM1";
    TestTypeButtons testTypes{TestType::NoRpmRegistration};
    std::string userDegreesText = "360";
    BarMarkerEntries markers;
    std::array<ChannelEntryTexts, kAnalogChannels> channels{};
    K40Recording recording{};  // without the transfer delay, which is held in force
    GearboxType gearbox = GearboxType::Variomatic;
    std::string rollerWeightText = "184";
    // How the weather station's readings are shown and turned into the factor.
    AirUnitOptions airUnits{};
    CorrectionStandard standard = CorrectionStandard::Eec;
};

// The values held in force before the start: the constants of the last start and
// those the settings file put in force.
struct TestStartInForce {
    DynoConstantsInForce dyno{};
    RpmConstants rpm{};
    std::uint8_t transferDelay = 20;  // "USB data transfer delay"
    std::int16_t rollerCode = 0;
    WeatherStationConstants weatherConstants{250.0, 250.0, 250.0};
};

// A start after the three preparation steps: the constants now in force and what the
// K40 electronics are sent, or why the start stops.
struct PreparedTestStart {
    DynoConstantsInForce dyno;
    RpmConstants rpm;
    ChannelSettingsSet channels{};
    K40Start k40;
    std::string error;  // a marker level or user angle the program cannot use

    friend bool operator==(const PreparedTestStart&, const PreparedTestStart&) = default;
};

// prepareDyno, prepareRpm and prepareChannels in this order, from the values in force
// before the start; then the K40 start request built from their results. A choice
// the lists do not have (nothing chosen) counts as the first item.
PreparedTestStart prepareTestStart(const TestStartEntries& entries, const TestStartInForce& inForce,
                                   bool isRevCounterCheck);

}  // namespace dyno
