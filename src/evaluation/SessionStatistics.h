#pragma once

#include <array>
#include <span>

#include "evaluation/CoastDownLoss.h"
#include "model/EvaluatedCurves.h"
#include "model/SessionLayout.h"

namespace dyno {

// Repeatable results are the only ones that matter: the figures of a session's runs
// side by side, how far they spread and which run stands out.

// A run differs when its peak power lies further than this from the mean of the
// other runs; a workshop repeats such a run rather than trusting it.
inline constexpr double kRunDeviationLimitPercent = 3.0;
// The mean power curve is handed out at this many evenly spaced speeds.
inline constexpr int kMeanCurvePoints = 100;

// The peak figures of one run, in the shown units.
struct RunFigures {
    bool hasData = false;
    double peakWheelPower = 0.0;
    double speedAtPeakPower = 0.0;  // speed of the peak wheel power
    double peakTorque = 0.0;        // tractive-force figure at the wheel
    bool hasEngineSide = false;     // only with a usable coast-down
    double peakEnginePower = 0.0;
    CoastDownVerdict coastDown = CoastDownVerdict::kEmptyRun;
};

// A figure over the runs that have it.
struct FigureSpread {
    int runs = 0;
    double mean = 0.0;
    double spreadPercent = 0.0;  // (largest - smallest) / mean x 100; 0 for fewer than 2 runs
};

// The power-curve points of a run's acceleration (see accelerationPoints).
struct RunPowerCurve {
    const EvaluatedCurves* curves = nullptr;
    int points = 0;
};

struct SessionStatistics {
    std::array<RunFigures, kRunsPerSession> runs{};
    FigureSpread peakWheelPower;
    FigureSpread peakEnginePower;
    FigureSpread peakTorque;
    FigureSpread speedAtPeakPower;

    // The run (0..2) whose peak wheel power lies furthest from the mean of the
    // others, when that is more than kRunDeviationLimitPercent; -1 for none. Three
    // runs are needed: of two, nothing tells which one is off.
    int flaggedRun = -1;
    double flaggedDeviationPercent = 0.0;

    // The mean wheel power of the runs with data over the speeds all of them cover.
    int meanCurvePoints = 0;
    std::array<double, kMeanCurvePoints> meanCurveSpeed{};
    std::array<double, kMeanCurvePoints> meanCurvePower{};
};

// Spreads and the flagged run from the runs' figures.
void summariseRuns(SessionStatistics& statistics);

// The mean power curve of the runs with points (up to kRunsPerSession).
void computeMeanPowerCurve(std::span<const RunPowerCurve> runs, SessionStatistics& statistics);

}  // namespace dyno
