#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/AnalysisSettings.h"
#include "model/SessionLayout.h"
#include "model/TestSession.h"

namespace dyno {

enum class ChannelCurveStatus : std::uint8_t {
    drawn,        // `values` holds `pointCount` readings in the calibration's unit
    notRecorded,  // every sample of the run reads the same: nothing was recorded
    refused,      // the calibration cannot be used; calibrationRefusal() says why
    emptyRun,     // the run has no speed points
};

// One analog channel of a run in its own unit, at the run's speed points: values[i]
// belongs to the evaluated curves' point i (speedCurve[i], rpmCurve[i],
// powerCurve[i]). Only the first `pointCount` entries are readings; the rest read 0.0
// and are no data. With a delay the last points of a run may have no reading (their
// delayed sample lies past the recording), so pointCount can be below the run's
// evalCount; it is 0 for every status but `drawn`.
struct ChannelCurve {
    using Values = std::array<double, kSamplesPerRun>;

    ChannelCurveStatus status = ChannelCurveStatus::emptyRun;
    int pointCount = 0;
    // notRecorded: what every sample reads (0 for an input that recorded nothing; a
    // saved session holds 140 and 250 for channels 4 and 5).
    std::uint16_t constantSample = 0;
    Values values{};
};

// What the channel curve of one run is made from.
struct ChannelCurveSource {
    const TestSession& session;
    int run = 0;  // 0..2
    // What evaluateRunInto() (or evaluateRun()) left for this very run: the
    // workspace's time axis and the report's evalCount.
    std::span<const double, kSamplesPerRun> timeAxis;
    int evalCount = 0;
};

// Channel 1..5 of the run: each point reads the sample the channel's recording delay
// points to (as the Analog page reads it, see ChannelDelay), averaged over the
// calibration's smoothing (centred on that sample, one more after it for an even
// count, within the recorded samples), through the calibration's straight line.
// Every sample in the run's recording alike: notRecorded, no curve. Writes only into
// `curve`, allocates nothing. Throws std::out_of_range for a channel outside 1..5 or
// a run outside 0..2.
ChannelCurveStatus evaluateChannelCurve(const ChannelCurveSource& source, int channel,
                                        const ChannelCalibration& calibration, double delaySeconds,
                                        ChannelCurve& curve);

// Whether the run's engine speed was recorded (any rpm sample at its points is not
// 0): only then can the channel be read against engine speed, from the evaluated
// curves' rpmCurve (evaluated with rpmCurveShown).
bool isEngineSpeedRecorded(const TestSession& session, int run, int evalCount);

}  // namespace dyno
