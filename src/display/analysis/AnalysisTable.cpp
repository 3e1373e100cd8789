#include "display/analysis/AnalysisTable.h"

#include <cstddef>

namespace dyno {

namespace {

QString figure(double value, const char* unit) {
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(QString::fromLatin1(unit));
}

QString percent(const FigureSpread& spread) {
    if (spread.runs < 2) return QStringLiteral("-");
    return QStringLiteral("%1 %").arg(spread.spreadPercent, 0, 'f', 1);
}

QString mean(const FigureSpread& spread, const char* unit) {
    return spread.runs == 0 ? QStringLiteral("-") : figure(spread.mean, unit);
}

AnalysisRow runRow(int r, const RunFigures& run, const char* power, const char* speed) {
    AnalysisRow row;
    row[0] = QStringLiteral("Run %1").arg(r + 1);
    if (run.hasData) {
        row[1] = figure(run.peakWheelPower, power);
        row[2] = figure(run.speedAtPeakPower, speed);
        row[3] = figure(run.peakTorque, "Nm");
        row[4] = run.hasEngineSide ? figure(run.peakEnginePower, power) : QStringLiteral("-");
    } else {
        for (int c = 1; c <= 4; ++c) row[static_cast<std::size_t>(c)] = QStringLiteral("-");
    }
    row[5] =
        QString::fromLatin1(coastDownVerdictText(run.coastDown).data(),
                            static_cast<qsizetype>(coastDownVerdictText(run.coastDown).size()));
    return row;
}

QString verdictOf(const SessionStatistics& statistics) {
    if (statistics.flaggedRun >= 0) {
        return QStringLiteral("Run %1 differs from the others by %2 %: repeat it.")
            .arg(statistics.flaggedRun + 1)
            .arg(statistics.flaggedDeviationPercent, 0, 'f', 1);
    }
    if (statistics.peakWheelPower.runs < kRunsPerSession) {
        return QStringLiteral("Three runs are needed to tell whether one differs.");
    }
    return QStringLiteral("The runs agree within %1 %.").arg(kRunDeviationLimitPercent, 0, 'f', 0);
}

}  // namespace

AnalysisTable analysisTableOf(const SessionStatistics& statistics, AnalysisUnits units) {
    const char* power = units.powerInKw ? "kW" : "hp";
    const char* speed = units.speedInMph ? "mph" : "km/h";
    AnalysisTable table;
    table.heading = {QString(),
                     QStringLiteral("Wheel power"),
                     QStringLiteral("at speed"),
                     QStringLiteral("Torque"),
                     QStringLiteral("Engine side"),
                     QStringLiteral("Coast-down")};
    for (int r = 0; r < kRunsPerSession; ++r) {
        const auto at = static_cast<std::size_t>(r);
        table.rows[at] = runRow(r, statistics.runs[at], power, speed);
    }
    table.rows[kRunsPerSession] = {QStringLiteral("Mean"),
                                   mean(statistics.peakWheelPower, power),
                                   mean(statistics.speedAtPeakPower, speed),
                                   mean(statistics.peakTorque, "Nm"),
                                   mean(statistics.peakEnginePower, power),
                                   QString()};
    table.rows[kRunsPerSession + 1] = {QStringLiteral("Spread"),
                                       percent(statistics.peakWheelPower),
                                       percent(statistics.speedAtPeakPower),
                                       percent(statistics.peakTorque),
                                       percent(statistics.peakEnginePower),
                                       QString()};
    table.verdict = verdictOf(statistics);
    return table;
}

}  // namespace dyno
