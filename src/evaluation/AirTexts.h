#pragma once

#include <string>

#include "evaluation/CorrectionFactor.h"

namespace dyno {

struct TestSession;

// "Use Fahrenheit" and "Use Inch - HG": the units the Param. page shows.
struct AirUnitOptions {
    bool isTemperatureFahrenheit = false;
    bool isPressureInchHg = false;

    friend bool operator==(const AirUnitOptions&, const AirUnitOptions&) = default;
};

// Air data as the Param., Setup and Remarks pages show them, rounded.
struct AirTexts {
    std::string pressure;     // mbar "%.0f", or inch of mercury "%.2f"
    std::string temperature;  // degrees Celsius or Fahrenheit, "%.0f"
    std::string humidity;     // percent, "%.0f"
};

// Air in mbar, degrees Celsius and percent, written in the chosen units.
AirTexts airTextsOf(const AirConditions& air, const AirUnitOptions& units);

// A session's stored air data written in the chosen units.
AirTexts sessionAirTexts(const TestSession& session, const AirUnitOptions& units);

}  // namespace dyno
