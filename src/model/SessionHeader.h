#pragma once

#include <array>
#include <cstdint>

namespace dyno {

// The ten 16-bit words describing the dyno set-up a session was recorded with.
// Words 4 and 6..9 are reserved: carried unchanged through load, copy and save.
struct SessionHeader {
    enum Word : int {
        kDynoModel = 0,           // 0 K40, 1 K70, 2 K80
        kElectronicsType = 1,     // 0 card, 1 USB/serial
        kRollerCode = 2,          // rollerspecs index + 10 x roller type (+50 on a K80)
        kGearboxType = 3,         // 0 variomatic, 1 fixed gearing
        kCorrectionStandard = 5,  // 0 SAE STP .. 4 ISO 1585
    };

    std::array<std::int16_t, 10> words{};

    std::int16_t dynoModel() const { return words[kDynoModel]; }
    std::int16_t electronicsType() const { return words[kElectronicsType]; }
    std::int16_t rollerCode() const { return words[kRollerCode]; }
    std::int16_t gearboxType() const { return words[kGearboxType]; }
    std::int16_t correctionStandard() const { return words[kCorrectionStandard]; }

    friend bool operator==(const SessionHeader&, const SessionHeader&) = default;
};

// Ten doubles stored with a session. Entries 5..9 are reserved and carried unchanged.
struct SessionValues {
    enum Value : int {
        kRollerWeight = 0,       // kg, as typed when a K40 session was recorded
        kStationCorrection = 1,  // factor from the weather station at test time
        kRpmPer100Run0 = 2,      // fixed gearing: engine rpm at 100 km/h / 100, runs 0..2
    };

    std::array<double, 10> values{};

    double rollerWeight() const { return values[kRollerWeight]; }
    double stationCorrection() const { return values[kStationCorrection]; }
    // `run` is 0..2, so the index stays within the ten values.
    double rpmPer100(int run) const {
        return values[static_cast<std::size_t>(kRpmPer100Run0 + run)];
    }

    friend bool operator==(const SessionValues&, const SessionValues&) = default;
};

}  // namespace dyno
