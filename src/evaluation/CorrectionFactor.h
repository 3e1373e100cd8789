#pragma once

#include <optional>
#include <string>

#include "evaluation/CorrectionStandard.h"

namespace dyno {

// The air the engine breathed, in the units sessions are stored in.
struct AirConditions {
    double temperatureC = 23.0;
    double pressureMbar = 1000.0;
    double humidityPercent = 50.0;
};

// A correction factor ready to be shown and stored.
struct CorrectionResult {
    double factor = 1.0;         // after the plausibility limits
    bool isOutOfLimits = false;  // the computed factor was replaced by 1.0
    // The standard to store with slot 1; empty when the session's standard stays.
    std::optional<CorrectionStandard> standard{};
    std::string correctionText = "1";  // for `correctionedit`
};

// A factor below 0.5 or above 1.5 means the weather data were mistyped or the
// station misread; such factors are never applied.
inline constexpr double kMinCorrectionFactor = 0.5;
inline constexpr double kMaxCorrectionFactor = 1.5;

// True for 0.5..1.5 inclusive; false for anything else, NaN and infinities too.
bool isWithinCorrectionLimits(double factor);

// The standard's base factor, without the humidity factor. Empty when it cannot
// be computed: a pressure of 0, or a result that is not finite (a temperature
// below the standard's zero takes the root of a negative number).
std::optional<double> baseCorrectionFactor(double temperatureC, double pressureMbar,
                                           CorrectionStandard standard);

// Base factor times humidity factor, before the limits.
std::optional<double> correctionFactorBeforeLimits(const AirConditions& air,
                                                   CorrectionStandard standard);

// The limits and the display text applied to a computed factor (empty: could not
// be computed, treated as out of limits).
CorrectionResult limitedCorrection(std::optional<double> factorBeforeLimits,
                                   CorrectionStandard standard);

// The whole computation shared by the Param. page and the weather stations.
CorrectionResult computeCorrection(const AirConditions& air, CorrectionStandard standard);

}  // namespace dyno
