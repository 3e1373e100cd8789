#pragma once

namespace dyno {

// The air a simulated weather station measures.
struct StationAir {
    double temperatureC = 23.0;
    double pressureMbar = 1000.0;
    double humidityPercent = 50.0;
};

}  // namespace dyno
