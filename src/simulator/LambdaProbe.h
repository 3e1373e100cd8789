#pragma once

#include <cstdint>

#include "simulator/VehicleProfile.h"

namespace dyno {

// A wide-band lambda controller on analog channel 3, its 0-5 V output standing for
// AFR 10..20, and the mixture the engine really runs: rich while it pulls from low
// engine speed, leaner towards the rev limiter, on a straight line in between. Off,
// channel 3 reads as it always has, so recorded sessions stay as they were.
struct LambdaProbe {
    bool isOn = false;
    double afrAtLaunch = 12.0;   // at the vehicle's launch rpm and below
    double afrAtLimiter = 14.0;  // at its rev limiter and above

    // The true air-fuel ratio at an engine speed.
    double afrAt(const VehicleProfile& vehicle, double engineRpm) const;
};

// What the K40's 10-bit input converts the controller's output to, before noise:
// AFR 10 reads 0 and AFR 20 reads 1023, as the AFR preset for the K40 input has it.
double k40CountsOfAfr(double afr);

}  // namespace dyno
