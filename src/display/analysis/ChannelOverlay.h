#pragma once

#include <QString>
#include <array>

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/SessionChannels.h"

class QPainter;

namespace dyno {

class AnalysisMapping;
class TextLayouts;
struct AnalysisPlotChoice;

// The analog channels drawn over the Analysis page's power curves: each on an axis
// of its own along the graph's right edge, in its unit, over its calibration's range.
struct ChannelOverlay {
    const SessionChannelCurves* curves = nullptr;  // null: no channel is shown
    std::array<int, kShownChannels> channels{};    // 1..5; 0 for none
    std::array<ChannelRange, kShownChannels> ranges{};
    std::array<QString, kShownChannels> titles{};  // "AFR (AFR)": name and unit

    bool shows(int k) const {
        return curves != nullptr && channels[static_cast<std::size_t>(k)] != 0;
    }
};

// The overlay of `calibrations` for the chosen channels (1..5, 0 none), on `curves`.
ChannelOverlay channelOverlayOf(
    const SessionChannelCurves& curves, const std::array<int, kShownChannels>& channels,
    const std::array<ChannelCalibration, kAnalogChannels>& calibrations);

// The first shown channel dotted, the second dash-dotted, each run in its colour;
// the axis numbers of the first at the right edge, of the second left of them.
void drawChannelOverlay(QPainter& graph, TextLayouts& texts, const AnalysisMapping& mapping,
                        const AnalysisWorkspace& analysis, const AnalysisPlotChoice& choice,
                        const ChannelOverlay& overlay);

// "AFR (AFR) at peak power: run 1 13.2, run 2 13.1, run 3 -": shown channel k of
// each run at the point of its peak wheel power, for the printed page.
QString channelAtPeakPowerLine(const ChannelOverlay& overlay, int k,
                               const AnalysisWorkspace& analysis);

// Where a reading of shown channel k lies on the graph's 400 rows.
double channelRow(const ChannelOverlay& overlay, int k, double reading);

}  // namespace dyno
