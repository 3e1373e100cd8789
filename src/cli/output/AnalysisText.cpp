// The analysis as a workshop reads it: a block per run, then the session.
//
//   run 1
//     peak wheel power   4.21 hp at 47.3 km/h
//     peak torque        9.80 Nm
//     coast-down         Coast-down usable, 12.9 to 58.0 km/h
//     peak engine power  5.02 hp at 48.1 km/h
//   session (3 runs)
//     peak wheel power   mean 4.20 hp, spread 1.9 %
//     ...
//     no run differs from the others by more than 3.0 %
#include <string_view>

#include "cli/output/AnalysisOutput.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

std::string line(std::string_view label, const std::string& text) {
    std::string padded = "  " + std::string(label);
    padded.resize(21, ' ');
    return padded + text + "\n";
}

std::string powerText(double power, const EvaluationOptions& options) {
    return formatFixed(power, 2) + " " + powerUnitName(options);
}

std::string speedText(double speed, const EvaluationOptions& options) {
    return formatFixed(speed, 1) + " " + speedUnitName(options);
}

std::string coastDownText(const RunAnalysis& run, const EvaluationOptions& options) {
    std::string text(coastDownVerdictText(run.loss.verdict));
    if (run.loss.isUsable()) {
        text += ", " + formatFixed(run.loss.lowSpeed, 1) + " to " +
                speedText(run.loss.highSpeed, options);
    }
    return text;
}

std::string engineText(const RunAnalysis& run, const EvaluationOptions& options) {
    if (run.engine.hasEngineSide) {
        return powerText(run.engine.peakPower, options) + " at " +
               speedText(run.engine.speedAtPeakPower, options);
    }
    // Never a figure made up without the losses the run itself measured.
    return run.loss.isUsable() ? "none: the coast-down covers none of the pull's speeds"
                               : "none without a usable coast-down";
}

void printRun(const AnalysisShown& shown, int r, std::ostream& out) {
    const RunAnalysis& run = shown.analysis.run(r);
    const RunFigures& figures = shown.analysis.statistics().runs[static_cast<std::size_t>(r)];
    out << "run " << r + 1 << "\n";
    if (!figures.hasData) {
        out << line("coast-down", std::string(coastDownVerdictText(run.loss.verdict)));
        return;
    }
    out << line("peak wheel power", powerText(figures.peakWheelPower, shown.options) + " at " +
                                        speedText(figures.speedAtPeakPower, shown.options));
    out << line("peak torque", formatFixed(figures.peakTorque, 2) + " Nm");
    out << line("coast-down", coastDownText(run, shown.options));
    out << line("peak engine power", engineText(run, shown.options));
}

std::string spreadText(const FigureSpread& figure, const std::string& meanText) {
    if (figure.runs == 0) return "none";
    std::string text = "mean " + meanText;
    if (figure.runs < 2) return text + ", one run only";
    text += ", spread " + formatFixed(figure.spreadPercent, 1) + " %";
    if (figure.runs < kRunsPerSession) text += " over " + std::to_string(figure.runs) + " runs";
    return text;
}

std::string flaggedText(const SessionStatistics& statistics) {
    // Of two runs nothing tells which one is off.
    if (statistics.peakWheelPower.runs < kRunsPerSession) {
        return "no run judged against the others: that takes " + std::to_string(kRunsPerSession) +
               " runs";
    }
    if (statistics.flaggedRun < 0) {
        return "no run differs from the others by more than " +
               formatFixed(kRunDeviationLimitPercent, 1) + " %";
    }
    return "run " + std::to_string(statistics.flaggedRun + 1) + " differs from the others by " +
           formatFixed(statistics.flaggedDeviationPercent, 1) + " %";
}

void printSession(const AnalysisShown& shown, std::ostream& out) {
    const SessionStatistics& statistics = shown.analysis.statistics();
    const EvaluationOptions& options = shown.options;
    out << "session (" << statistics.peakWheelPower.runs << " runs with data, correction factor "
        << formatFixed(shown.correctionFactor, 3) << ")\n";
    out << line("peak wheel power", spreadText(statistics.peakWheelPower,
                                               powerText(statistics.peakWheelPower.mean, options)));
    out << line("peak engine power",
                spreadText(statistics.peakEnginePower,
                           powerText(statistics.peakEnginePower.mean, options)));
    out << line("peak torque", spreadText(statistics.peakTorque,
                                          formatFixed(statistics.peakTorque.mean, 2) + " Nm"));
    out << line("speed at peak", spreadText(statistics.speedAtPeakPower,
                                            speedText(statistics.speedAtPeakPower.mean, options)));
    out << "  " << flaggedText(statistics) << "\n";
}

}  // namespace

void printAnalysisText(const AnalysisShown& shown, std::ostream& out) {
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (shown.shows(r)) printRun(shown, r, out);
    }
    printSession(shown, out);
}

}  // namespace dyno::cli
