#include "evaluation/CorrectionFactor.h"

#include <cmath>

#include "evaluation/HumidityTable.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

// (1.8 T + c) / 537 is evaluated as the dyno software always has (T x 9 x 0.2,
// then times 1/537), so stored factors agree to the last bit.
constexpr double kPer537 = 0.00186219739292365;
// The standards correct indicated power only: 18 % is taken as friction loss
// that the air does not change.
constexpr double kPressureWeight = 1.18;
constexpr double kFrictionShare = 0.18;

}  // namespace

bool isWithinCorrectionLimits(double factor) {
    return factor >= kMinCorrectionFactor && factor <= kMaxCorrectionFactor;
}

std::optional<double> baseCorrectionFactor(double temperatureC, double pressureMbar,
                                           CorrectionStandard standard) {
    if (pressureMbar == 0.0) return std::nullopt;
    const CorrectionStandardConstants constants = constantsOf(standard);
    const double temperatureRatio =
        (temperatureC * 9.0 * 0.2 + constants.temperatureTerm) * kPer537;
    const double base = std::sqrt(temperatureRatio) *
                            (constants.referencePressureMbar / pressureMbar) * kPressureWeight -
                        kFrictionShare;
    if (!std::isfinite(base)) return std::nullopt;
    return base;
}

std::optional<double> correctionFactorBeforeLimits(const AirConditions& air,
                                                   CorrectionStandard standard) {
    const std::optional<double> base =
        baseCorrectionFactor(air.temperatureC, air.pressureMbar, standard);
    if (!base) return std::nullopt;
    // The table lookup clamps the temperature; the base factor used it unclamped.
    const double factor =
        static_cast<double>(humidityFactor(air.humidityPercent, air.temperatureC)) * *base;
    if (!std::isfinite(factor)) return std::nullopt;
    return factor;
}

CorrectionResult limitedCorrection(std::optional<double> factorBeforeLimits,
                                   CorrectionStandard standard) {
    CorrectionResult result;
    result.standard = standard;
    if (factorBeforeLimits && isWithinCorrectionLimits(*factorBeforeLimits)) {
        result.factor = *factorBeforeLimits;
    } else {
        result.factor = 1.0;
        result.isOutOfLimits = true;
    }
    result.correctionText = formatFixed(result.factor, 3);
    return result;
}

CorrectionResult computeCorrection(const AirConditions& air, CorrectionStandard standard) {
    return limitedCorrection(correctionFactorBeforeLimits(air, standard), standard);
}

}  // namespace dyno
