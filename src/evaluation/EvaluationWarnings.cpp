#include "evaluation/EvaluationWarnings.h"

#include "evaluation/CorrectionApply.h"

namespace dyno {

std::vector<std::string> warningTexts(EvaluationWarnings warnings) {
    std::vector<std::string> texts;
    if (warnings.has(EvaluationWarning::kUnknownDynoModel)) {
        texts.emplace_back(
            "The session names an unknown dyno model; it was evaluated as a K40 session.");
    }
    if (warnings.has(EvaluationWarning::kUnknownElectronics)) {
        texts.emplace_back(
            "The session names unknown dyno electronics; it was evaluated with the "
            "USB/serial clock of 2500000 ticks per second.");
    }
    if (warnings.has(EvaluationWarning::kUnknownRollerCode)) {
        texts.emplace_back(
            "The session names an unknown roller; it was evaluated as the standard roller "
            "without extras of its dyno model.");
    }
    if (warnings.has(EvaluationWarning::kMaximumTooLarge)) {
        texts.emplace_back(
            "A maximum of the run is too large to show; the roller periods are probably "
            "damaged.");
    }
    if (warnings.has(EvaluationWarning::kCorrectionFactorUnusable)) {
        texts.emplace_back(kCorrectionOutOfLimitsMessage);
    }
    return texts;
}

}  // namespace dyno
