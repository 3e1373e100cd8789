#include "evaluation/SessionStatistics.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace dyno {

namespace {

std::size_t at(int index) {
    return static_cast<std::size_t>(index);
}

template <typename Figure, typename Has>
FigureSpread spreadOf(const SessionStatistics& statistics, Figure figure, Has has) {
    FigureSpread spread;
    double sum = 0.0;
    double smallest = 0.0;
    double largest = 0.0;
    for (const RunFigures& run : statistics.runs) {
        if (!has(run)) continue;
        const double value = figure(run);
        smallest = spread.runs == 0 ? value : std::min(smallest, value);
        largest = spread.runs == 0 ? value : std::max(largest, value);
        sum += value;
        ++spread.runs;
    }
    if (spread.runs == 0) return spread;
    spread.mean = sum / spread.runs;
    if (spread.runs > 1 && spread.mean != 0.0) {
        spread.spreadPercent = (largest - smallest) / std::abs(spread.mean) * 100.0;
    }
    return spread;
}

void flagDifferingRun(SessionStatistics& statistics) {
    statistics.flaggedRun = -1;
    statistics.flaggedDeviationPercent = 0.0;
    if (statistics.peakWheelPower.runs < kRunsPerSession) return;
    const double total = statistics.peakWheelPower.mean * kRunsPerSession;
    int furthest = -1;
    double furthestPercent = 0.0;
    for (int r = 0; r < kRunsPerSession; ++r) {
        const double own = statistics.runs[at(r)].peakWheelPower;
        const double othersMean = (total - own) / (kRunsPerSession - 1);
        if (othersMean == 0.0) continue;
        const double percent = std::abs(own - othersMean) / std::abs(othersMean) * 100.0;
        if (percent > furthestPercent) {
            furthest = r;
            furthestPercent = percent;
        }
    }
    if (furthestPercent > kRunDeviationLimitPercent) {
        statistics.flaggedRun = furthest;
        statistics.flaggedDeviationPercent = furthestPercent;
    }
}

// Power at `speed` on a run's acceleration, interpolated between the points around
// it. `cursor` moves forward only: the grid is walked upwards and so is the run.
double powerAt(const RunPowerCurve& run, double speed, int& cursor) {
    const auto& v = run.curves->speedCurve;
    const auto& p = run.curves->powerCurve;
    while (cursor + 1 < run.points && v[at(cursor + 1)] < speed) ++cursor;
    if (cursor + 1 >= run.points) return p[at(run.points - 1)];
    const double v0 = v[at(cursor)];
    const double v1 = v[at(cursor + 1)];
    const double t = v1 > v0 ? std::clamp((speed - v0) / (v1 - v0), 0.0, 1.0) : 1.0;
    return p[at(cursor)] + t * (p[at(cursor + 1)] - p[at(cursor)]);
}

}  // namespace

void summariseRuns(SessionStatistics& statistics) {
    const auto hasData = [](const RunFigures& run) { return run.hasData; };
    const auto hasEngine = [](const RunFigures& run) { return run.hasData && run.hasEngineSide; };
    statistics.peakWheelPower = spreadOf(
        statistics, [](const RunFigures& r) { return r.peakWheelPower; }, hasData);
    statistics.peakEnginePower = spreadOf(
        statistics, [](const RunFigures& r) { return r.peakEnginePower; }, hasEngine);
    statistics.peakTorque = spreadOf(
        statistics, [](const RunFigures& r) { return r.peakTorque; }, hasData);
    statistics.speedAtPeakPower = spreadOf(
        statistics, [](const RunFigures& r) { return r.speedAtPeakPower; }, hasData);
    flagDifferingRun(statistics);
}

void computeMeanPowerCurve(std::span<const RunPowerCurve> runs, SessionStatistics& statistics) {
    statistics.meanCurvePoints = 0;
    double low = 0.0;
    double high = 0.0;
    int curves = 0;
    for (const RunPowerCurve& run : runs) {
        if (run.curves == nullptr || run.points < 2) continue;
        const auto first = run.curves->speedCurve.begin();
        const auto [slowest, fastest] = std::minmax_element(first, first + run.points);
        low = curves == 0 ? *slowest : std::max(low, *slowest);
        high = curves == 0 ? *fastest : std::min(high, *fastest);
        ++curves;
    }
    if (curves == 0 || !(high > low)) return;

    statistics.meanCurvePower.fill(0.0);
    const double step = (high - low) / (kMeanCurvePoints - 1);
    for (int k = 0; k < kMeanCurvePoints; ++k) {
        statistics.meanCurveSpeed[at(k)] = k + 1 == kMeanCurvePoints ? high : low + step * k;
    }
    for (const RunPowerCurve& run : runs) {
        if (run.curves == nullptr || run.points < 2) continue;
        int cursor = 0;
        for (int k = 0; k < kMeanCurvePoints; ++k) {
            statistics.meanCurvePower[at(k)] +=
                powerAt(run, statistics.meanCurveSpeed[at(k)], cursor) / curves;
        }
    }
    statistics.meanCurvePoints = kMeanCurvePoints;
}

}  // namespace dyno
