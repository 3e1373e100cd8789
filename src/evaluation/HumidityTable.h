#pragma once

namespace dyno {

// The humidity factor of the correction: moist air carries less oxygen, so the
// factor grows with humidity and, as warm air holds more water, with temperature.
// Rows are humidity upper bounds 0, 5, ..., 95 percent; columns temperature upper
// bounds 1, 4, 7, 10, 13, 15, 18, 21, 24, 26, 29, 32, 34 degrees Celsius. The
// lookup clamps humidity to 0..95 (NaN reads as 0) and temperature to 2..34 (NaN
// reads as 2); the entries are single precision, as the table has always been.
float humidityFactor(double humidityPercent, double temperatureC);

}  // namespace dyno
