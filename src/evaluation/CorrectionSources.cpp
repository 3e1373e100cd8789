#include "evaluation/CorrectionSources.h"

#include <cmath>

#include "model/TextNumbers.h"

namespace dyno {

namespace {

// Conversion factors as the dyno software has always written them.
constexpr double kMbarPerInchHgPerThousand = 0.033967391304347824;  // 1000 / 29.44, / 1000
constexpr double kOneNinth = 1.0 / 9.0;

// Raw station readings to degrees Celsius, mbar and percent, before calibration.
constexpr double kK40DegreesPerCount = 0.5555555555555556;   // 5 / 9
constexpr double kK40MbarPerCount = 0.8333333333333334;      // 5 / 6
constexpr double kK40PercentPerCount = 0.8547008547008548;   // 100 / 117
constexpr double kCardDegreesPerCount = 0.1388888888888889;  // 5 / 36
constexpr double kCardPercentPerCount = 0.2127659574468085;  // 10 / 47
constexpr double kCardMbarPerCount253 = 0.3952569169960475;  // 100 / 253
constexpr double kCardMbarPerCount24 = 0.20833333333333334;  // 5 / 24

StationCorrection stationCorrectionOf(const AirConditions& air,
                                      const StationCorrectionOptions& options) {
    return {computeCorrection(air, options.standard), air, airTextsOf(air, options.units)};
}

}  // namespace

CorrectionResult correctionFromPage(const CorrectionPageEntries& entries) {
    const AirConditions typed{leadingNumber(entries.temperatureText),
                              leadingNumber(entries.pressureText),
                              leadingNumber(entries.humidityText)};
    return correctionFromTypedAir(typed, entries.units, entries.standard);
}

CorrectionResult correctionFromTypedAir(AirConditions air, AirUnitOptions units,
                                        CorrectionStandard standard) {
    if (units.isPressureInchHg) {
        air.pressureMbar = air.pressureMbar * 1000.0 * kMbarPerInchHgPerThousand;
    }
    if (units.isTemperatureFahrenheit) {
        air.temperatureC = (air.temperatureC - 32.0) * 5.0 * kOneNinth;
    }
    return computeCorrection(air, standard);
}

CorrectionResult factorOne() {
    return CorrectionResult{1.0, false, std::nullopt, "1"};
}

StationCorrection correctionFromStationK40(const WeatherStationReading& reading,
                                           const WeatherStationConstants& constants,
                                           const StationCorrectionOptions& options) {
    // A calibration constant beyond the reading mirrors the value instead of making
    // it negative: the station formulas take absolute values.
    const AirConditions air{
        std::fabs(reading.tempRaw * kK40DegreesPerCount - constants.temperature),
        std::fabs(reading.baroRaw * kK40MbarPerCount + constants.pressure),
        std::fabs(reading.humRaw * kK40PercentPerCount - constants.humidity)};
    return stationCorrectionOf(air, options);
}

StationCorrection correctionFromStationCard(const WeatherStationReading& reading,
                                            const WeatherStationConstants& constants,
                                            const StationCorrectionOptions& options,
                                            CardPressureScale pressureScale) {
    const double mbarPerCount =
        pressureScale == CardPressureScale::Per24 ? kCardMbarPerCount24 : kCardMbarPerCount253;
    const AirConditions air{
        std::fabs(reading.tempRaw * kCardDegreesPerCount - constants.temperature),
        std::fabs(reading.baroRaw * mbarPerCount + constants.pressure),
        std::fabs(reading.humRaw * kCardPercentPerCount - constants.humidity)};
    return stationCorrectionOf(air, options);
}

}  // namespace dyno
