#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardPorts.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/k40/K40Link.h"
#include "evaluation/DynoPreparation.h"
#include "evaluation/DynoPreparationChannels.h"
#include "evaluation/DynoPreparationRpm.h"

// A test start built from what the pages (or dynotool's options) hold: the one
// preparation both the window and `dynotool record`/`simulate` go through, for the
// K40 electronics and the K70/K80 card alike.
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
    bool isSpeedInMph = false;  // "Show speed as MPH": the card's speed needle in mph
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
    // The card's, from the settings and the start-up calibration.
    std::uint16_t cardBase = cardport::kBase1B0;
    std::uint8_t remoteButtonMask = cardport::kK40RemoteMask;  // until the settings say
    std::int64_t remoteButtonDelayMs = 400;
    std::int64_t settleDelaySteps = 0;  // the A/D settle wait, calibrated at start-up
    CardPressureScale cardPressureScale = CardPressureScale::Per253;
};

// A start after the three preparation steps: the constants now in force and what
// either electronics are started with (the K40's request, the card's start and the
// card it opens), or why the start stops.
struct PreparedTestStart {
    DynoConstantsInForce dyno;
    RpmConstants rpm;
    ChannelSettingsSet channels{};
    K40Start k40;
    CardStart card;
    CardChoice cardChoice;
    std::string error;  // a marker level or user angle the program cannot use

    friend bool operator==(const PreparedTestStart&, const PreparedTestStart&) = default;
};

// prepareDyno, prepareRpm and prepareChannels in this order, from the values in force
// before the start; then the K40 start request and the card start built from their
// results. A choice the lists do not have (nothing chosen) counts as the first item;
// the card opened for an unknown dyno model is the K70's.
PreparedTestStart prepareTestStart(const TestStartEntries& entries, const TestStartInForce& inForce,
                                   bool isRevCounterCheck);

// "Get data from Weatherstation": the K40's port and transfer delay, and how the card
// reads its station.
struct StationRequest {
    std::string portName = "COM1";
    std::uint8_t transferDelay = 20;
    // Turns the K40 station's readings into air data and the factor when they arrive.
    K40WeatherSetup k40Weather;
    CardChoice cardChoice;
    CardWeatherSetup cardWeather;

    friend bool operator==(const StationRequest&, const StationRequest&) = default;
};

// The weather station's part of a start, from the same entries and values in force.
StationRequest prepareStationRequest(const TestStartEntries& entries,
                                     const TestStartInForce& inForce);

// The one rule for the stored `electronics` index: the electronics it names, nothing
// for an index the list does not have (nothing chosen)...
std::optional<Electronics> namedElectronicsOf(int electronicsIndex);
// ...which counts as the list's first item, the card, where a choice must be made.
Electronics electronicsOf(int electronicsIndex);

}  // namespace dyno
