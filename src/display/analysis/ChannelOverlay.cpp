#include "display/analysis/ChannelOverlay.h"

#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QStringList>
#include <algorithm>
#include <cstddef>

#include "display/GraphPalette.h"
#include "display/analysis/AnalysisPlot.h"
#include "display/graph/GraphFrame.h"
#include "evaluation/EngineSidePower.h"

namespace dyno {

namespace {

constexpr int kAxisDivisions = 4;
constexpr std::array<int, kShownChannels> kAxisRight{597, 557};
const QColor kAxisNumber{0xC0, 0xC0, 0xC0};

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

QString axisNumber(double value, double span) {
    return QString::number(value, 'f', span < 5.0 ? 2 : (span < 50.0 ? 1 : 0));
}

void drawAxis(QPainter& graph, TextLayouts& texts, const ChannelOverlay& overlay, int k) {
    const ChannelRange& range = overlay.ranges[at(k)];
    const QFontMetrics metrics(graph.font());
    graph.setPen(kAxisNumber);
    for (int d = 0; d <= kAxisDivisions; ++d) {
        const double value = range.low + (range.high - range.low) * d / kAxisDivisions;
        const QString text = axisNumber(value, range.high - range.low);
        const int y = static_cast<int>(channelRow(overlay, k, value)) - metrics.height() / 2;
        graph::drawTextAt(graph, texts, kAxisRight[at(k)] - metrics.horizontalAdvance(text),
                          std::clamp(y, 0, kGraphHeight - metrics.height()), text);
    }
    const QString title = overlay.titles[at(k)];
    graph::drawTextAt(graph, texts, kAxisRight[at(k)] - metrics.horizontalAdvance(title),
                      metrics.height() * (k + 1), title);
}

void drawRunChannel(QPainter& graph, const AnalysisMapping& mapping, const RunAnalysis& run,
                    const ChannelCurve& curve, const ChannelOverlay& overlay, int k, int r) {
    if (curve.status != ChannelCurveStatus::drawn) return;
    const int points = std::min(curve.pointCount,
                                accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex));
    if (points < 2) return;
    QPolygonF line;
    line.reserve(points);
    for (int i = 0; i < points; ++i) {
        line.append(QPointF(mapping.x(run.curves.speedCurve[at(i)]),
                            channelRow(overlay, k, curve.values[at(i)])));
    }
    QPen pen(analysisRunColour(r));
    pen.setStyle(k == 0 ? Qt::DotLine : Qt::DashDotLine);
    graph.setPen(pen);
    graph.drawPolyline(line);
}

}  // namespace

ChannelOverlay channelOverlayOf(
    const SessionChannelCurves& curves, const std::array<int, kShownChannels>& channels,
    const std::array<ChannelCalibration, kAnalogChannels>& calibrations) {
    ChannelOverlay overlay;
    overlay.curves = &curves;
    overlay.channels = channels;
    for (std::size_t k = 0; k < channels.size(); ++k) {
        if (channels[k] < 1 || channels[k] > kAnalogChannels) {
            overlay.channels[k] = 0;
            continue;
        }
        const ChannelCalibration& calibration = calibrations[at(channels[k] - 1)];
        overlay.ranges[k] = channelRangeOf(calibration);
        const QString name = calibration.name.empty()
                                 ? QStringLiteral("Channel %1").arg(channels[k])
                                 : QString::fromStdString(calibration.name);
        overlay.titles[k] =
            calibration.unit.empty()
                ? name
                : QStringLiteral("%1 (%2)").arg(name, QString::fromStdString(calibration.unit));
    }
    return overlay;
}

QString channelAtPeakPowerLine(const ChannelOverlay& overlay, int k,
                               const AnalysisWorkspace& analysis) {
    QStringList runs;
    const ChannelRange& range = overlay.ranges[at(k)];
    for (int r = 0; r < kRunsPerSession; ++r) {
        const RunAnalysis& run = analysis.run(r);
        const ChannelCurve& curve = overlay.curves->curves[at(r)][at(k)];
        const int points = accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex);
        QString reading = QStringLiteral("-");
        if (curve.status == ChannelCurveStatus::drawn && points > 0) {
            const auto power = run.curves.powerCurve.begin();
            const auto peak = static_cast<int>(std::max_element(power, power + points) - power);
            if (peak < curve.pointCount) {
                reading = axisNumber(curve.values[at(peak)], range.high - range.low);
            }
        }
        runs << QStringLiteral("run %1 %2").arg(r + 1).arg(reading);
    }
    return overlay.titles[at(k)] + QStringLiteral(" at peak power: ") +
           runs.join(QStringLiteral(", "));
}

double channelRow(const ChannelOverlay& overlay, int k, double reading) {
    const ChannelRange& range = overlay.ranges[at(k)];
    return 399.0 - (reading - range.low) * kGraphHeight / (range.high - range.low);
}

void drawChannelOverlay(QPainter& graph, TextLayouts& texts, const AnalysisMapping& mapping,
                        const AnalysisWorkspace& analysis, const AnalysisPlotChoice& choice,
                        const ChannelOverlay& overlay) {
    graph.setFont(graph::readoutFont());
    for (int k = 0; k < kShownChannels; ++k) {
        if (!overlay.shows(k)) continue;
        for (int r = 0; r < kRunsPerSession; ++r) {
            if (!choice.runs[at(r)]) continue;
            drawRunChannel(graph, mapping, analysis.run(r), overlay.curves->curves[at(r)][at(k)],
                           overlay, k, r);
        }
        drawAxis(graph, texts, overlay, k);
    }
}

}  // namespace dyno
