#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace dyno {

// One point of an engine's power curve as measured at the wheel.
struct PowerPoint {
    double rpm;
    double powerHp;
};

enum class Transmission {
    Variomatic,    // belt variator: the engine is held at its shift rpm while it shifts
    FixedGearing,  // one gear engaged: engine rpm proportional to road speed
};

// A vehicle the simulated dyno can test: its power at the wheel over engine speed,
// its transmission, its ignition and how the rider rides it on the rollers.
struct VehicleProfile {
    std::string_view name;
    std::string_view description;
    Transmission transmission = Transmission::FixedGearing;
    int ignitionDegrees = 360;  // crankshaft degrees between ignition impulses
    // Wheel power between the first and last point, linear in between; none beyond
    // the last point (the rev limiter) or below the first.
    std::vector<PowerPoint> powerCurve;
    double rpmPerKmhLow = 100.0;   // the gear; for a variomatic its launch ratio
    double rpmPerKmhHigh = 100.0;  // a variomatic's top ratio
    double shiftRpm = 0.0;         // a variomatic holds this while it shifts
    double launchSpeedKmh = 20.0;  // the rider holds this speed until pressing the remote
    double launchRpm = 3000.0;     // engine speed while waiting at the launch speed

    double engineRpmAt(double speedKmh) const;
    double wheelPowerHpAtRpm(double rpm) const;
    double wheelPowerHpAt(double speedKmh) const {
        return wheelPowerHpAtRpm(engineRpmAt(speedKmh));
    }
    double limiterRpm() const { return powerCurve.empty() ? 0.0 : powerCurve.back().rpm; }
    // The largest wheel power met between two road speeds.
    double peakWheelPowerHp(double fromKmh, double toKmh) const;
};

// The vehicles the simulated dyno knows: "scooter50" (50 cc two-stroke, variomatic)
// and "bike125" (125 cc four-stroke, tested in a fixed gear).
std::span<const VehicleProfile> vehicleProfiles();
// Nothing for an unknown name.
const VehicleProfile* findVehicleProfile(std::string_view name);

}  // namespace dyno
