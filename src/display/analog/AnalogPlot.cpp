#include "display/analog/AnalogPlot.h"

#include <QPainter>
#include <algorithm>

#include "display/GraphPalette.h"
#include "display/curves/LinePixels.h"
#include "display/curves/Spline.h"
#include "evaluation/ChannelDelay.h"

namespace dyno {

namespace {

constexpr int kPlotWidth = 600;
constexpr int kBottomRow = 399;
// Samples are drawn while their index is below 1999; a delayed channel reads at most
// sample 1999, the last of a run.
constexpr int kLastSample = kSamplesPerRun - 1;

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

// Calls visit(i, x) for samples first.. with x = 0, zoom, 2 zoom, ..: those that fall
// on the plot and the first one right of it, whose segment still crosses the plot.
// Everything later lies wholly to the right and is not visited.
template <typename Visit>
void forVisibleSamples(int first, int zoom, Visit visit) {
    int x = 0;
    for (int i = std::max(first, 0); i < kLastSample; ++i) {
        visit(i, x);
        if (x >= kPlotWidth) break;
        x += zoom;
    }
}

// The curve row of a sample, or nothing for a power curve without a power axis.
bool addCurve(const TestSession& session, const AnalogSlotPlot& slot,
              std::vector<QPoint>& polyline) {
    const EvaluatedCurves& curves = session.curves;
    const bool power = slot.curve == AnalogCurve::power;
    if (power && slot.endHp == 0) return false;
    polyline.emplace_back(0, kBottomRow);
    forVisibleSamples(slot.firstSample, slot.zoom, [&](int i, int x) {
        const int y = power ? toPixel(kBottomRow - curves.powerCurve[at(i)] * 400.0 / slot.endHp)
                            : kBottomRow - toPixel(curves.speedCurve[at(i)] * 2.0);
        polyline.emplace_back(x, y);
    });
    return true;
}

// Raw value, through the divisor, gain and offset, to a row (upside down unless
// the channel is inverted). A zero divisor gain leaves the channel out.
bool addChannel(std::span<const std::uint16_t, kSamplesPerRun> samples,
                std::span<const double> timeAxis, double divisor,
                const AnalogChannelScaling& channel, const AnalogSlotPlot& slot,
                std::vector<QPoint>& polyline) {
    const ChannelSettings& scaling = channel.scaling;
    const bool divides = scaling.gainMode == GainMode::Divide;
    if (divides && scaling.channelGain == 0.0) return false;
    ChannelDelay delayed(timeAxis, channel.delaySeconds);
    forVisibleSamples(slot.firstSample, slot.zoom, [&](int i, int x) {
        double v = samples[at(delayed.sampleFor(i))] / divisor;
        v = divides ? v / scaling.channelGain : v * scaling.channelGain;
        v = scaling.offsetMode == OffsetMode::Subtract ? v - scaling.channelOffset
                                                       : v + scaling.channelOffset;
        if (scaling.channelInvert != 1) v = kBottomRow - v;
        polyline.emplace_back(x, toPixel(v));
    });
    return true;
}

}  // namespace

void drawAnalogFrame(QPainter& plot) {
    plot.fillRect(QRect(0, 0, kPlotWidth, 400), graph::kBackground);
    std::vector<QPoint> dots;
    dots.reserve(9 * 60);
    for (int y = 40; y <= 360; y += 40) {
        for (int x = 0; x < kPlotWidth; x += 10) dots.emplace_back(x, y);
    }
    drawAreaPoints(plot, dots, graph::kGridDot);
}

double analogDivisor(std::int16_t electronicsType) {
    return electronicsType == 1 ? 2.56 : 10.24;
}

void plotAnalogSlot(QPainter& plot, const TestSession& session, std::span<const double> timeAxis,
                    const AnalogSlotPlot& slot, AnalogBuffers& buffers) {
    const QColor colour = graph::powerColour(slot.slot);
    buffers.polyline.clear();
    if (addCurve(session, slot, buffers.polyline)) {
        drawPolylinePixels(plot, buffers.polyline, colour, buffers.pixels);
    }
    const double divisor = analogDivisor(session.header.electronicsType());
    const auto& runSamples = session.analogSamples.at(at(slot.run));
    for (int c = 0; c < kAnalogChannels; ++c) {
        if (!slot.channelTicked[at(c)]) continue;
        buffers.polyline.clear();
        if (addChannel(runSamples[at(c)], timeAxis, divisor, slot.channels[at(c)], slot,
                       buffers.polyline)) {
            drawPolylinePixels(plot, buffers.polyline, colour, buffers.pixels);
        }
    }
}

}  // namespace dyno
