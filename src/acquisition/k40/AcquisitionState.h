#pragma once

#include <array>
#include <cstdint>

#include "acquisition/k40/K40Command.h"

namespace dyno {

// The state of the acquisition in progress, one for the whole program: shared by test
// control, the K40 link and its sequence, and the Speed page.
struct AcquisitionState {
    TestMode testMode = TestMode::WithoutRpm;
    bool rpmCheckOnly = false;  // a rev counter check, not a test
    // The run being recorded: 0, 1, 2; 3 or more once the session is complete.
    std::int16_t runIndex = 0;
    std::int16_t rollerCount = 0;  // samples stored in the current run
    std::int16_t rpmCount = 0;
    std::array<std::int16_t, 5> analogCount{};  // channels 1..5
    // What the start command carries: channels, weather station, transfer delay.
    K40Recording recording;

    std::int16_t speedNeedle = 0;  // 0..320
    std::int16_t speedNeedleOld = 0;
    std::int16_t rpmNeedle = 0;
    std::int16_t rpmNeedleOld = 0;
    std::array<std::int32_t, 2> barMarker{};  // last drawn marker of level bars 1, 2

    bool firmwareSeen = false;
    std::int16_t weatherTempRaw = 0;  // last weather-station readings, 1..1023
    std::int16_t weatherBaroRaw = 0;
    std::int16_t weatherHumRaw = 0;
    std::uint16_t sampleSetting = 0;  // last sample-setting packet (code 41)

    void resetCounters() {
        rollerCount = 0;
        rpmCount = 0;
        analogCount.fill(0);
    }
};

}  // namespace dyno
