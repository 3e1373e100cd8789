#pragma once

#include <array>

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/ChannelCurve.h"
#include "evaluation/EvaluationOptions.h"
#include "model/AnalysisSettings.h"
#include "model/TestSession.h"

namespace dyno {

// Up to two analog channels drawn over a session's power curves, each read through
// its calibration and its recording delay (the A/D Sett. page's).
inline constexpr int kShownChannels = 2;

struct ShownChannel {
    int channel = 0;  // 1..5; 0 shows none
    ChannelCalibration calibration;
    double delaySeconds = 0.0;
};

using ShownChannels = std::array<ShownChannel, kShownChannels>;

// The shown channels' curves of every run: curves[run][k] belongs to shown channel k,
// point i to the run's speed point i as the analysis evaluated it.
struct SessionChannelCurves {
    std::array<std::array<ChannelCurve, kShownChannels>, kRunsPerSession> curves{};
};

// The shown channels of `session` after analyseSession() analysed it into
// `workspace` with the same options: each run is evaluated again for its time axis
// (to the same curves), then its channels are read. A channel of 0 leaves its curves
// empty. Never allocates.
void analyseChannels(const TestSession& session, const EvaluationOptions& options,
                     const ShownChannels& shown, AnalysisWorkspace& workspace,
                     SessionChannelCurves& channels);

// The calibration's range, low to high: the channel's axis on the graph.
struct ChannelRange {
    double low = 0.0;
    double high = 1.0;
};
ChannelRange channelRangeOf(const ChannelCalibration& calibration);

}  // namespace dyno
