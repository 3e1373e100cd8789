#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/EvaluatedCurves.h"
#include "model/FixedText.h"
#include "model/SessionHeader.h"
#include "model/SessionLayout.h"

namespace dyno {

using RollerPeriods = std::span<std::int32_t, kSamplesPerRun>;
using ConstRollerPeriods = std::span<const std::int32_t, kSamplesPerRun>;

// One run of a session, as a view into the session's contiguous arrays.
// rollerPeriods[i]: duration of revolution i in electronics clock ticks (0 = end of data).
// rpmSamples[i]: engine rpm, already divided out by the acquisition.
// analogSamples[c][i]: raw converter reading of channel c+1.
template <typename Int32, typename UInt16>
struct BasicTestRun {
    std::span<Int32, kSamplesPerRun> rollerPeriods;
    std::span<Int32, kSamplesPerRun> rpmSamples;
    std::array<std::span<UInt16, kSamplesPerRun>, kAnalogChannels> analogSamples;
};
using TestRun = BasicTestRun<std::int32_t, std::uint16_t>;
using ConstTestRun = BasicTestRun<const std::int32_t, const std::uint16_t>;

// One slot of the model: up to three recorded runs with the set-up, weather and
// vehicle texts they were recorded with, and the curves of the run on display.
struct TestSession {
    using Remark = FixedText<70>;
    using VehicleText = FixedText<30>;
    using AnalogChannel = std::array<std::uint16_t, kSamplesPerRun>;

    // Run r occupies entries r x 2000 .. r x 2000 + 1999. Runs 0..2 are recorded;
    // the room for five runs is kept so the record layout and clearing stay as the
    // electronics' software has always had them.
    std::array<std::int32_t, kSessionSamples> rollerPeriods{};
    std::array<std::int32_t, kSessionSamples> rpmSamples{};
    // analogSamples[run][channel]: raw values, 10-bit (K40) or 12-bit (card).
    std::array<std::array<AnalogChannel, kAnalogChannels>, kRunsStored> analogSamples{};

    SessionHeader header;
    SessionValues values;
    double correctionFactor = 1.0;  // applied to power and torque of this session
    double airPressure = 0.0;       // mbar
    double airTemperature = 0.0;    // degrees Celsius
    double airHumidity = 0.0;       // percent
    Remark remarkLine1, remarkLine2, remarkLine3;
    VehicleText make, model, owner;

    EvaluatedCurves curves;

    TestRun run(int r);
    ConstTestRun run(int r) const;

    // Zeroes what a new recording must not inherit: entries 0..7999 of the roller and
    // rpm arrays. The analog arrays are left; their write positions restart at 0.
    void clearForRecording();

    // Copies what the graph page's copy boxes carry: the 6000 roller and rpm entries,
    // the analog channels of the three runs, header, values, correction factor and
    // texts. The air data stay with the slot, as they always have; the factor made
    // from them travels.
    void copyRecordingFrom(const TestSession& source);

    // Number of leading non-zero roller periods of run r, at most `limit`.
    int leadingPeriods(int r, int limit = kSamplesPerRun) const;
};

}  // namespace dyno
