// The analysis's curves as one table for a spreadsheet:
//   run,speed_kmh,wheel_power_hp,loss_power_hp,engine_power_hp,engine_torque_nm
// One row per point of a run's pull (run 1..3), in run order; the loss and the
// engine-side cells are empty where the run's coast-down does not cover the speed
// (all of them without a usable coast-down). Then rows "mean" with the session's
// mean wheel power curve and the other cells empty. Units follow --mph and --kw.
#include "cli/output/AnalysisOutput.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

void printHeader(const EvaluationOptions& options, std::ostream& out) {
    const std::string power = options.powerInKw ? "_kw" : "_hp";
    out << "run," << (options.speedInMph ? "speed_mph" : "speed_kmh") << ",wheel_power" << power
        << ",loss_power" << power << ",engine_power" << power << ",engine_torque_nm\n";
}

void printRun(const RunAnalysis& run, int r, std::ostream& out) {
    const int pull = pullPoints(run);
    // The engine-side curve holds the pull's points the coast-down covers, in order.
    int engineAt = 0;
    for (int i = 0; i < pull; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const double speed = run.curves.speedCurve[at];
        out << r + 1 << ',' << formatRoundTrip(speed) << ','
            << formatRoundTrip(run.curves.powerCurve[at]) << ',';
        if (run.loss.covers(speed) && engineAt < run.engine.points) {
            const auto k = static_cast<std::size_t>(engineAt++);
            out << formatRoundTrip(run.loss.lossPowerAt(speed)) << ','
                << formatRoundTrip(run.engine.power[k]) << ','
                << formatRoundTrip(run.engine.torque[k]);
        } else {
            out << ",,";
        }
        out << '\n';
    }
}

}  // namespace

void printAnalysisCsv(const AnalysisShown& shown, std::ostream& out) {
    printHeader(shown.options, out);
    for (int r = 0; r < kRunsPerSession; ++r) {
        if (shown.shows(r)) printRun(shown.analysis.run(r), r, out);
    }
    const SessionStatistics& statistics = shown.analysis.statistics();
    for (int i = 0; i < statistics.meanCurvePoints; ++i) {
        const auto at = static_cast<std::size_t>(i);
        out << "mean," << formatRoundTrip(statistics.meanCurveSpeed[at]) << ','
            << formatRoundTrip(statistics.meanCurvePower[at]) << ",,,\n";
    }
}

}  // namespace dyno::cli
