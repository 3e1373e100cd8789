#pragma once

#include <ostream>
#include <string>

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/EvaluationOptions.h"

// What `dynotool analysis` prints of a session's analysis: a text for people, JSON
// and a CSV table of curves for scripts. The figures are in the shown units (hp or
// kW, km/h or mph); the torque figure is named in Nm, as the report names it.
namespace dyno::cli {

struct AnalysisShown {
    const AnalysisWorkspace& analysis;
    const EvaluationOptions& options;
    double correctionFactor = 1.0;  // the factor in force, already in every figure
    // The run (0..2) whose figures and curves are printed, or -1 for all three. The
    // session's figures (means, spreads, the run that differs, the mean curve) are
    // always those of all its runs: a run is judged against the others.
    int onlyRun = -1;

    bool shows(int run) const { return onlyRun < 0 || onlyRun == run; }
};

std::string speedUnitName(const EvaluationOptions& options);  // "km/h" or "mph"
std::string powerUnitName(const EvaluationOptions& options);  // "hp" or "kW"

// The power-curve points of a run's pull, from the start to its peak speed.
int pullPoints(const RunAnalysis& run);

void printAnalysisText(const AnalysisShown& shown, std::ostream& out);
void printAnalysisJson(const AnalysisShown& shown, std::ostream& out);
void printAnalysisCsv(const AnalysisShown& shown, std::ostream& out);

}  // namespace dyno::cli
