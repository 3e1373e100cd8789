#pragma once

#include <string_view>

namespace dyno {

// The air data a save writes into the record. They are not the air data of session
// 1 but the Param. page's entries at the moment of saving, converted to the units
// every stored session uses: mbar, degrees Celsius, percent.
struct SavedAirData {
    double pressureMbar = 0.0;
    double temperatureCelsius = 0.0;
    double humidityPercent = 0.0;
};

// Reads the Param. page's boxes (`baroedit`, `tempedit`, `fugtedit`) as far as they
// form a number (empty or non-numeric gives 0) and converts inch of mercury and
// Fahrenheit when those boxes are ticked.
SavedAirData savedAirDataFromEntries(std::string_view pressureText,
                                     std::string_view temperatureText,
                                     std::string_view humidityText, bool useInchHg,
                                     bool useFahrenheit);

}  // namespace dyno
