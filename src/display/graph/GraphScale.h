#pragma once

#include <cstdint>

namespace dyno {

// The six axis bounds of the graph in display units: km/h or mph, hp or kW, rpm.
// They come from the Param. page boxes ("Start Speed" .. "End Rpm"), from a preset
// button, or from a zoom; the page reads them on every update unless a zoom has
// just set them.
struct GraphScale {
    std::int32_t startKmh = 0;
    std::int32_t endKmh = 0;
    std::int32_t startHp = 0;
    std::int32_t endHp = 0;
    std::int32_t startRpm = 0;
    std::int32_t endRpm = 0;

    friend bool operator==(const GraphScale&, const GraphScale&) = default;
};

// The display flags of the Graphs page (0/1 in the page, booleans here).
struct GraphFlags {
    bool keepScale = false;     // the next update keeps the zoomed scale
    bool showAirCurve = false;  // "Display Air/Rolling resistance curve"
    bool powerInKw = false;     // "Show power as KW"
    bool speedInMph = false;    // "Show speed as MPH"
    bool rpmAxisShown = false;  // "Show" is "Speed + Rpm"
    bool speedOnXAxis = true;   // false while fixed gearing puts engine speed across
};

}  // namespace dyno
