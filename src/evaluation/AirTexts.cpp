#include "evaluation/AirTexts.h"

#include "model/TestSession.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr double kInchHgPerMbar = 29.44;  // x 0.001, the dyno's rounding

double celsiusToFahrenheit(double temperatureC) {
    return temperatureC * 9.0 * 0.2 + 32.0;
}

}  // namespace

AirTexts airTextsOf(const AirConditions& air, const AirUnitOptions& units) {
    AirTexts texts;
    texts.pressure = units.isPressureInchHg
                         ? formatFixed(air.pressureMbar * kInchHgPerMbar * 0.001, 2)
                         : formatFixed(air.pressureMbar, 0);
    texts.temperature = formatFixed(
        units.isTemperatureFahrenheit ? celsiusToFahrenheit(air.temperatureC) : air.temperatureC,
        0);
    texts.humidity = formatFixed(air.humidityPercent, 0);
    return texts;
}

AirTexts sessionAirTexts(const TestSession& session, const AirUnitOptions& units) {
    return airTextsOf({session.airTemperature, session.airPressure, session.airHumidity}, units);
}

}  // namespace dyno
