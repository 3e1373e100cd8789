#include "display/analysis/AnalysisReading.h"

#include <cmath>
#include <cstddef>

#include "display/graph/GraphFrame.h"
#include "evaluation/EngineSidePower.h"

namespace dyno {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

QString number(double value, int decimals) {
    return QString::number(value, 'f', decimals);
}

// The point of `speeds[0..points)` nearest `speed`, -1 when `speed` lies outside them.
int nearestPoint(const double* speeds, int points, double speed) {
    int nearest = -1;
    double low = 0.0;
    double high = 0.0;
    for (int i = 0; i < points; ++i) {
        const double v = speeds[i];
        low = i == 0 ? v : std::min(low, v);
        high = i == 0 ? v : std::max(high, v);
        if (nearest < 0 || std::abs(v - speed) < std::abs(speeds[nearest] - speed)) nearest = i;
    }
    return speed < low || speed > high ? -1 : nearest;
}

QString runReading(int r, const RunAnalysis& run, const ChannelOverlay& channels, double speed,
                   const QString& power) {
    const QString name = QStringLiteral("Run %1: ").arg(r + 1);
    const int points = accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex);
    const int i = nearestPoint(run.curves.speedCurve.data(), points, speed);
    if (i < 0) return name + QStringLiteral("-");
    const double atSpeed = run.curves.speedCurve[at(i)];
    QStringList parts{number(run.curves.powerCurve[at(i)], 1) + power};
    if (run.loss.covers(atSpeed)) {
        parts << QStringLiteral("engine ") +
                     number(run.curves.powerCurve[at(i)] + run.loss.lossPowerAt(atSpeed), 1) +
                     power;
    }
    if (run.curves.rpmCurve[at(i)] > 0.0) parts << number(run.curves.rpmCurve[at(i)], 0) + " rpm";
    for (int k = 0; k < kShownChannels; ++k) {
        if (!channels.shows(k)) continue;
        const ChannelCurve& curve = channels.curves->curves[at(r)][at(k)];
        if (curve.status != ChannelCurveStatus::drawn || i >= curve.pointCount) continue;
        const ChannelRange& range = channels.ranges[at(k)];
        parts << channels.titles[at(k)] + QStringLiteral(" ") +
                     number(curve.values[at(i)], range.high - range.low < 5.0 ? 2 : 1);
    }
    return name + parts.join(QStringLiteral(", "));
}

QString meanReading(const AnalysisWorkspace& analysis, double speed, const QString& power) {
    const SessionStatistics& statistics = analysis.statistics();
    const int i = nearestPoint(statistics.meanCurveSpeed.data(), statistics.meanCurvePoints, speed);
    if (i < 0) return QStringLiteral("Mean: -");
    QString text = QStringLiteral("Mean: ") + number(statistics.meanCurvePower[at(i)], 1) + power;
    const MeanEngineSide& mean = analysis.meanEngineSide();
    if (mean.hasEngineSide && i >= mean.firstPoint && i <= mean.lastPoint) {
        text += QStringLiteral(", engine ") + number(mean.enginePower[at(i)], 1) + power;
    }
    return text;
}

}  // namespace

QStringList analysisReadingAt(int x, const GraphScale& scale, const AnalysisWorkspace& analysis,
                              const AnalysisPlotChoice& choice, const ChannelOverlay& channels,
                              AnalysisUnits units) {
    const double speed =
        scale.startKmh + (static_cast<double>(scale.endKmh) - scale.startKmh) * x / kGraphWidth;
    const QString power = units.powerInKw ? QStringLiteral(" kW") : QStringLiteral(" hp");
    QStringList lines{number(speed, 1) + (units.speedInMph ? " mph" : " km/h")};
    if (choice.asMean) {
        lines << meanReading(analysis, speed, power);
        return lines;
    }
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (choice.runs[at(r)]) lines << runReading(r, analysis.run(r), channels, speed, power);
    }
    return lines;
}

}  // namespace dyno
