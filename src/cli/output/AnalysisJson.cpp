// The analysis as one JSON object on one line:
//   {"units": {..}, "correctionFactor": F, "runs": [RUN, ..], "session": {..}}
// RUN: "run" (1..3), the peak figures, "coastDown" with the verdict and the speed
// range, the engine-side peak, and the curves: "wheel" (the pull: speed, power),
// "loss" (speed, lossPower) and "engine" (speed, power, torque). Without a usable
// coast-down the range, the engine-side figures and the loss and engine curves are
// null: there are none, not zero.
#include <span>

#include "cli/output/AnalysisOutput.h"
#include "cli/output/Json.h"

namespace dyno::cli {

namespace {

constexpr const char* kNull = "null";

std::string numbers(std::span<const double> values) {
    std::string text = "[";
    text.reserve(values.size() * 20);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) text += ", ";
        text += jsonNumber(values[i]);
    }
    return text + "]";
}

template <std::size_t N>
std::string first(const std::array<double, N>& values, int count) {
    return numbers(std::span<const double>(values).first(static_cast<std::size_t>(count)));
}

std::string figureOrNull(bool has, double value) {
    return has ? jsonNumber(value) : kNull;
}

std::string coastDownJson(const CoastDownLoss& loss) {
    const bool usable = loss.isUsable();
    return JsonObject()
        .add("usable", usable)
        .add("verdict", coastDownVerdictText(loss.verdict))
        .addRaw("lowSpeed", figureOrNull(usable, loss.lowSpeed))
        .addRaw("highSpeed", figureOrNull(usable, loss.highSpeed))
        .addRaw("seconds", figureOrNull(usable, loss.seconds))
        .addRaw("revolutions", usable ? std::to_string(loss.revolutions) : kNull)
        .str();
}

std::string curvesJson(const RunAnalysis& run) {
    const int pull = pullPoints(run);
    const std::string wheel = JsonObject()
                                  .addRaw("speed", first(run.curves.speedCurve, pull))
                                  .addRaw("power", first(run.curves.powerCurve, pull))
                                  .str();
    const CoastDownLoss& loss = run.loss;
    const std::string lossCurve = loss.isUsable()
                                      ? JsonObject()
                                            .addRaw("speed", first(loss.speed, loss.points))
                                            .addRaw("lossPower", first(loss.lossPower, loss.points))
                                            .str()
                                      : kNull;
    const EngineSideCurves& engine = run.engine;
    const std::string engineCurve = engine.hasEngineSide
                                        ? JsonObject()
                                              .addRaw("speed", first(engine.speed, engine.points))
                                              .addRaw("power", first(engine.power, engine.points))
                                              .addRaw("torque", first(engine.torque, engine.points))
                                              .str()
                                        : kNull;
    return JsonObject()
        .addRaw("wheel", wheel)
        .addRaw("loss", lossCurve)
        .addRaw("engine", engineCurve)
        .str();
}

std::string runJson(const AnalysisShown& shown, int r) {
    const RunAnalysis& run = shown.analysis.run(r);
    const RunFigures& figures = shown.analysis.statistics().runs[static_cast<std::size_t>(r)];
    const bool engine = run.engine.hasEngineSide;
    JsonObject json;
    json.add("run", r + 1).add("hasData", figures.hasData);
    json.addRaw("peakWheelPower", figureOrNull(figures.hasData, figures.peakWheelPower));
    json.addRaw("speedAtPeakPower", figureOrNull(figures.hasData, figures.speedAtPeakPower));
    json.addRaw("peakTorque", figureOrNull(figures.hasData, figures.peakTorque));
    json.addRaw("coastDown", coastDownJson(run.loss));
    json.addRaw("peakEnginePower", figureOrNull(engine, run.engine.peakPower));
    json.addRaw("speedAtPeakEnginePower", figureOrNull(engine, run.engine.speedAtPeakPower));
    json.addRaw("peakEngineTorque", figureOrNull(engine, run.engine.peakTorque));
    return json.addRaw("curves", curvesJson(run)).str();
}

// A figure over the runs that have it; no mean without a run, no spread without two.
std::string spreadJson(const FigureSpread& figure) {
    return JsonObject()
        .add("runs", figure.runs)
        .addRaw("mean", figureOrNull(figure.runs > 0, figure.mean))
        .addRaw("spreadPercent", figureOrNull(figure.runs > 1, figure.spreadPercent))
        .str();
}

std::string sessionJson(const SessionStatistics& statistics) {
    const bool flagged = statistics.flaggedRun >= 0;
    const std::string meanCurve =
        JsonObject()
            .addRaw("speed", first(statistics.meanCurveSpeed, statistics.meanCurvePoints))
            .addRaw("power", first(statistics.meanCurvePower, statistics.meanCurvePoints))
            .str();
    return JsonObject()
        .addRaw("peakWheelPower", spreadJson(statistics.peakWheelPower))
        .addRaw("peakEnginePower", spreadJson(statistics.peakEnginePower))
        .addRaw("peakTorque", spreadJson(statistics.peakTorque))
        .addRaw("speedAtPeakPower", spreadJson(statistics.speedAtPeakPower))
        .add("deviationLimitPercent", kRunDeviationLimitPercent)
        .addRaw("flaggedRun", flagged ? std::to_string(statistics.flaggedRun + 1) : kNull)
        .addRaw("flaggedDeviationPercent",
                figureOrNull(flagged, statistics.flaggedDeviationPercent))
        .addRaw("meanCurve", meanCurve)
        .str();
}

}  // namespace

void printAnalysisJson(const AnalysisShown& shown, std::ostream& out) {
    const std::string units = JsonObject()
                                  .add("speed", speedUnitName(shown.options))
                                  .add("power", powerUnitName(shown.options))
                                  .add("torque", "Nm")
                                  .str();
    std::string runs = "[";
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (!shown.shows(r)) continue;
        if (runs.size() > 1) runs += ", ";
        runs += runJson(shown, r);
    }
    out << JsonObject()
               .addRaw("units", units)
               .add("correctionFactor", shown.correctionFactor)
               .addRaw("runs", runs + "]")
               .addRaw("session", sessionJson(shown.analysis.statistics()))
               .str()
        << "\n";
}

}  // namespace dyno::cli
