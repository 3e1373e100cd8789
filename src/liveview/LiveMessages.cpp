#include "liveview/LiveMessages.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <algorithm>
#include <cmath>

#include "display/dials/SpeedDial.h"
#include "evaluation/EngineSidePower.h"
#include "evaluation/SessionAnalysis.h"
#include "model/Cp1252.h"
#include "model/SessionLayout.h"

namespace dyno {

namespace {

QString colourText(Rgb rgb) {
    return QStringLiteral("#%1").arg(static_cast<std::uint32_t>(rgb), 6, 16, QLatin1Char('0'));
}

double rounded(double value, double step) {
    return std::round(value / step) * step;
}

QJsonObject spreadOf(const FigureSpread& spread) {
    return {{"runs", spread.runs},
            {"mean", rounded(spread.mean, 0.01)},
            {"spreadPercent", rounded(spread.spreadPercent, 0.01)}};
}

QJsonObject runOf(int r, const RunAnalysis& run, const RunFigures& figures) {
    const int points = accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex);
    const int step = std::max(1, (points + kLiveCurvePoints - 1) / kLiveCurvePoints);
    QJsonArray speed;
    QJsonArray power;
    for (int i = 0; i < points; i += step) {
        const auto at = static_cast<std::size_t>(i);
        speed.append(rounded(run.curves.speedCurve[at], 0.01));
        power.append(rounded(run.curves.powerCurve[at], 0.01));
    }
    QJsonObject object{{"run", r + 1},
                       {"speed", speed},
                       {"power", power},
                       {"peakPower", rounded(figures.peakWheelPower, 0.01)},
                       {"speedAtPeakPower", rounded(figures.speedAtPeakPower, 0.01)},
                       {"peakTorque", rounded(figures.peakTorque, 0.01)}};
    if (figures.hasEngineSide) object["peakEnginePower"] = rounded(figures.peakEnginePower, 0.01);
    return object;
}

}  // namespace

QByteArray readingsMessage(const LiveReadings& readings, std::int64_t sentAtMs) {
    const QJsonObject object{
        {"type", "live"},
        {"speedPosition", readings.speedPosition},
        {"rpmPosition", readings.rpmPosition},
        // The dial has 1.28 positions per unit of the needle, km/h or mph.
        {"speed", rounded(readings.speedPosition / speedo::kPositionsPerKmh, 0.1)},
        {"speedUnit", readings.isSpeedNeedleInMph ? "mph" : "km/h"},
        {"rpm", readings.rpmPosition * speedo::kRpmPerPosition},
        {"instruction", QString::fromStdString(fromWindows1252(readings.instruction))},
        {"shadow", colourText(readings.shadow)},
        {"font", colourText(readings.font)},
        {"run", readings.runNumber},
        {"revision", static_cast<double>(readings.revision)},
        {"changedAtMs", static_cast<double>(readings.changedAtMs)},
        {"firstUnsentChangeAtMs", static_cast<double>(readings.firstUnsentChangeAtMs)},
        {"sentAtMs", static_cast<double>(sentAtMs)},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QByteArray runsMessage(const ArrivedRuns& runs, const EvaluationOptions& options,
                       AnalysisWorkspace& workspace) {
    QJsonObject object{{"type", "runs"},
                       {"revision", static_cast<double>(runs.revision)},
                       {"speedUnit", options.speedInMph ? "mph" : "km/h"},
                       {"powerUnit", options.powerInKw ? "kW" : "hp"},
                       {"isSessionOver", runs.isSessionOver}};
    QJsonArray list;
    if (runs.session) {
        analyseSession(*runs.session, options, workspace);
        const SessionStatistics& statistics = workspace.statistics();
        const int arrived = std::clamp(runs.runs, 0, kRunsPerSession);
        for (int r = 0; r < arrived; ++r) {
            const RunFigures& figures = statistics.runs[static_cast<std::size_t>(r)];
            if (figures.hasData) list.append(runOf(r, workspace.run(r), figures));
        }
        if (runs.isSessionOver) {
            object["spread"] = QJsonObject{
                {"peakPower", spreadOf(statistics.peakWheelPower)},
                {"peakEnginePower", spreadOf(statistics.peakEnginePower)},
                {"peakTorque", spreadOf(statistics.peakTorque)},
                {"speedAtPeakPower", spreadOf(statistics.speedAtPeakPower)},
                {"flaggedRun", statistics.flaggedRun + 1},
            };
        }
    }
    object["runs"] = list;
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace dyno
