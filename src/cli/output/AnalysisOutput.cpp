#include "cli/output/AnalysisOutput.h"

#include "evaluation/EngineSidePower.h"

namespace dyno::cli {

std::string speedUnitName(const EvaluationOptions& options) {
    return options.speedInMph ? "mph" : "km/h";
}

std::string powerUnitName(const EvaluationOptions& options) {
    return options.powerInKw ? "kW" : "hp";
}

int pullPoints(const RunAnalysis& run) {
    return accelerationPoints(run.evaluation.evalCount, run.loss.peakIndex);
}

}  // namespace dyno::cli
