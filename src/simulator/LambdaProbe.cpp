#include "simulator/LambdaProbe.h"

#include <algorithm>

namespace dyno {

namespace {

constexpr double kLeanestAfr = 20.0;  // the controller's 5 V
constexpr double kRichestAfr = 10.0;  // its 0 V
constexpr double kK40Top = 1023.0;

}  // namespace

double LambdaProbe::afrAt(const VehicleProfile& vehicle, double engineRpm) const {
    const double span = vehicle.limiterRpm() - vehicle.launchRpm;
    if (!(span > 0.0)) return afrAtLaunch;
    const double share = std::clamp((engineRpm - vehicle.launchRpm) / span, 0.0, 1.0);
    return afrAtLaunch + share * (afrAtLimiter - afrAtLaunch);
}

double k40CountsOfAfr(double afr) {
    return (afr - kRichestAfr) / (kLeanestAfr - kRichestAfr) * kK40Top;
}

}  // namespace dyno
