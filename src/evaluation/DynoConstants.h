#pragma once

#include <cstdint>

namespace dyno {

// The dyno models and electronics as the Setup page lists them.
enum class DynoModel : std::int16_t { K40 = 0, K70 = 1, K80 = 2 };
enum class Electronics : std::int16_t { Card = 0, UsbSerial = 1 };

// Roller distance constants: roller circumference in metres x 3.6, so that
// speed = speedFactor x roller revolutions per second.
struct RollerSpeedFactor {
    double kmh;
    double mph;  // used by the evaluation when speed is shown as mph
};

inline constexpr RollerSpeedFactor kK40SpeedFactor{2.2176, 1.37808};  // 0.616 m roller
inline constexpr RollerSpeedFactor kK70SpeedFactor{5.6772, 3.52764};  // 1.577 m roller
inline constexpr RollerSpeedFactor kK80SpeedFactor{5.6556, 3.51288};  // 1.571 m roller

// Ticks per second of the roller period counter.
inline constexpr double kCardClockRate = 2'000'000.0;
inline constexpr double kUsbSerialClockRate = 2'500'000.0;

// The needle dividend is speedFactor x clockRate scaled by this.
inline constexpr double kSpeedDialScale = 1.28;

inline constexpr bool isKnownDynoModel(int model) {
    return model >= 0 && model <= 2;
}
inline constexpr bool isKnownElectronics(int electronics) {
    return electronics == 0 || electronics == 1;
}

// Callers check isKnownDynoModel / isKnownElectronics first and decide the fallback.
inline constexpr RollerSpeedFactor speedFactorOf(DynoModel model) {
    switch (model) {
        case DynoModel::K70: return kK70SpeedFactor;
        case DynoModel::K80: return kK80SpeedFactor;
        case DynoModel::K40: break;
    }
    return kK40SpeedFactor;
}

inline constexpr double clockRateOf(Electronics electronics) {
    return electronics == Electronics::Card ? kCardClockRate : kUsbSerialClockRate;
}

}  // namespace dyno
