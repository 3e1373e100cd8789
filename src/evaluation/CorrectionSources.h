#pragma once

#include <string>
#include <string_view>

#include "evaluation/AirTexts.h"
#include "evaluation/CorrectionFactor.h"
#include "evaluation/CorrectionStandard.h"

namespace dyno {

// The Param. page's weather boxes as typed.
struct CorrectionPageEntries {
    std::string_view humidityText = "50";     // `fugtedit`, percent
    std::string_view temperatureText = "23";  // `tempedit`
    std::string_view pressureText = "1000";   // `baroedit`
    AirUnitOptions units{};
    CorrectionStandard standard = CorrectionStandard::Eec;  // `corrchoice`
};

// "Use correction factor": the factor from the three boxes, each read leniently
// (a box without a number reads 0, and a pressure of 0 is out of limits).
CorrectionResult correctionFromPage(const CorrectionPageEntries& entries);

// The same from values already read, in the units the page shows.
CorrectionResult correctionFromTypedAir(AirConditions typed, AirUnitOptions units,
                                        CorrectionStandard standard);

// "Factor = 1.00  ( Uncorrected Hp )": factor 1.0 shown as "1"; the session keeps
// its standard.
CorrectionResult factorOne();

// Calibration constants of the station's three sensors (Setup page).
struct WeatherStationConstants {
    double temperature = 0.0;
    double pressure = 0.0;
    double humidity = 0.0;

    friend bool operator==(const WeatherStationConstants&,
                           const WeatherStationConstants&) = default;
};

// Raw readings as the station delivers them: 10-bit from the K40 electronics,
// averaged 12-bit from the card's converter.
struct WeatherStationReading {
    int tempRaw = 0;
    int baroRaw = 0;
    int humRaw = 0;
};

struct StationCorrectionOptions {
    AirUnitOptions units{};
    CorrectionStandard standard = CorrectionStandard::Eec;

    friend bool operator==(const StationCorrectionOptions&,
                           const StationCorrectionOptions&) = default;
};

// Which factor turns the card station's pressure reading into mbar. Both are in
// use and which sensor needs which is not settled: 100/253 applies after a normal
// start, 5/24 once the settings file has been written or could not be read.
enum class CardPressureScale {
    Per253,  // 100 / 253
    Per24,   // 5 / 24
};

// The station's values as the Param. and Setup pages show them. Each text goes
// into two boxes: pressure into `baroedit` and `barobox1`, temperature into
// `tempedit` and `tempbox1`, humidity into `fugtedit` and `fugtbox1`.
using StationDisplayTexts = AirTexts;

struct StationCorrection {
    CorrectionResult correction{};  // computed from the unrounded values
    AirConditions air{};            // the unrounded values
    StationDisplayTexts displayTexts{};
};

StationCorrection correctionFromStationK40(const WeatherStationReading& reading,
                                           const WeatherStationConstants& constants,
                                           const StationCorrectionOptions& options);

StationCorrection correctionFromStationCard(const WeatherStationReading& reading,
                                            const WeatherStationConstants& constants,
                                            const StationCorrectionOptions& options,
                                            CardPressureScale pressureScale);

}  // namespace dyno
