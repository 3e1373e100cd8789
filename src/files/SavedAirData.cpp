#include "files/SavedAirData.h"

#include "model/TextNumbers.h"

namespace dyno {

namespace {
// Millibar per thousandth of an inch of mercury, as 1 / 29.44: the dyno's rounding,
// kept so that stored pressures match those of earlier installations.
constexpr double kMbarPerMilliInchHg = 0.033967391304347824;
}  // namespace

SavedAirData savedAirDataFromEntries(std::string_view pressureText,
                                     std::string_view temperatureText,
                                     std::string_view humidityText, bool useInchHg,
                                     bool useFahrenheit) {
    SavedAirData air;
    air.pressureMbar = leadingNumber(pressureText);
    if (useInchHg) air.pressureMbar = air.pressureMbar * 1000 * kMbarPerMilliInchHg;
    air.temperatureCelsius = leadingNumber(temperatureText);
    if (useFahrenheit) air.temperatureCelsius = (air.temperatureCelsius - 32) * 5 * (1.0 / 9);
    air.humidityPercent = leadingNumber(humidityText);
    return air;
}

}  // namespace dyno
