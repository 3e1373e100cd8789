#include "simulator/VehicleProfile.h"

#include <algorithm>
#include <array>

namespace dyno {

double VehicleProfile::engineRpmAt(double speedKmh) const {
    if (transmission == Transmission::FixedGearing) return speedKmh * rpmPerKmhLow;
    // The variator stays on its launch ratio until the engine reaches the shift rpm,
    // holds the engine there while it shifts up, and from its top ratio on the
    // engine speed rises with the road speed again.
    const double onLaunchRatio = speedKmh * rpmPerKmhLow;
    if (onLaunchRatio <= shiftRpm) return onLaunchRatio;
    return std::max(shiftRpm, speedKmh * rpmPerKmhHigh);
}

double VehicleProfile::wheelPowerHpAtRpm(double rpm) const {
    if (powerCurve.empty() || rpm < powerCurve.front().rpm || rpm > powerCurve.back().rpm) {
        return 0.0;
    }
    const auto above = std::upper_bound(powerCurve.begin(), powerCurve.end(), rpm,
                                        [](double r, const PowerPoint& p) { return r < p.rpm; });
    if (above == powerCurve.end()) return powerCurve.back().powerHp;
    const auto below = above - 1;
    const double t = (rpm - below->rpm) / (above->rpm - below->rpm);
    return below->powerHp + t * (above->powerHp - below->powerHp);
}

double VehicleProfile::peakWheelPowerHp(double fromKmh, double toKmh) const {
    double peak = 0.0;
    constexpr int kSteps = 10'000;
    for (int i = 0; i <= kSteps; ++i) {
        peak = std::max(peak, wheelPowerHpAt(fromKmh + (toKmh - fromKmh) * i / kSteps));
    }
    return peak;
}

std::span<const VehicleProfile> vehicleProfiles() {
    static const std::array<VehicleProfile, 2> profiles{{
        {"scooter50",
         "50 cc two-stroke scooter, variomatic",
         Transmission::Variomatic,
         360,
         {{3000, 0.8},
          {4000, 1.3},
          {5000, 2.0},
          {6000, 2.7},
          {7000, 3.3},
          {7500, 3.5},
          {8000, 3.45},
          {8500, 3.2},
          {9000, 2.6},
          {9500, 1.8},
          {10000, 0.9}},
         300.0,
         7500.0 / 55.0,
         7500.0,
         15.0,
         4000.0},
        {"bike125",
         "125 cc four-stroke motorcycle in fifth gear",
         Transmission::FixedGearing,
         720,
         {{2500, 2.2},
          {3000, 3.0},
          {4000, 4.5},
          {5000, 6.2},
          {6000, 8.0},
          {7000, 9.8},
          {8000, 11.3},
          {9000, 12.4},
          {9500, 12.6},
          {10000, 12.3},
          {10500, 11.2},
          {11000, 9.5}},
         100.0,
         100.0,
         0.0,
         30.0,
         3000.0},
    }};
    return profiles;
}

const VehicleProfile* findVehicleProfile(std::string_view name) {
    for (const auto& profile : vehicleProfiles()) {
        if (profile.name == name) return &profile;
    }
    return nullptr;
}

}  // namespace dyno
