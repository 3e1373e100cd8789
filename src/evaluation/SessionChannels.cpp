#include "evaluation/SessionChannels.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "evaluation/RunEvaluation.h"

namespace dyno {

void analyseChannels(const TestSession& session, const EvaluationOptions& options,
                     const ShownChannels& shown, AnalysisWorkspace& workspace,
                     SessionChannelCurves& channels) {
    for (int r = 0; r < kRunsPerSession; ++r) {
        auto& curves = channels.curves[static_cast<std::size_t>(r)];
        for (ChannelCurve& curve : curves) {
            curve.status = ChannelCurveStatus::emptyRun;
            curve.pointCount = 0;
        }
        const bool anyShown = std::any_of(shown.begin(), shown.end(),
                                          [](const ShownChannel& c) { return c.channel != 0; });
        if (!anyShown) continue;
        RunAnalysis& run = workspace.run(r);
        run.evaluation = evaluateRunInto(session, r, options, workspace.evaluation(), run.curves);
        const ChannelCurveSource source{session, r, workspace.evaluation().timeAxis(),
                                        run.evaluation.evalCount};
        for (std::size_t k = 0; k < shown.size(); ++k) {
            if (shown[k].channel == 0) continue;
            evaluateChannelCurve(source, shown[k].channel, shown[k].calibration,
                                 shown[k].delaySeconds, curves[k]);
        }
    }
}

ChannelRange channelRangeOf(const ChannelCalibration& calibration) {
    const double low = std::min(calibration.valueLow, calibration.valueHigh);
    const double high = std::max(calibration.valueLow, calibration.valueHigh);
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low)) return {};
    return {low, high};
}

}  // namespace dyno
