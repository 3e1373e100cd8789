#include "cli/options/EvaluationArguments.h"

namespace dyno::cli {

namespace {

constexpr double kLargestRollerWeightKg = 1.0e6;

}  // namespace

std::set<std::string> evaluationValueOptions() {
    return {"roller-weight"};
}

std::set<std::string> evaluationFlagOptions() {
    return {"mph", "kw"};
}

EvaluationOptions evaluationOptionsOf(const Arguments& arguments) {
    EvaluationOptions options;
    options.speedInMph = arguments.flag("mph");
    options.powerInKw = arguments.flag("kw");
    if (arguments.value("roller-weight")) {
        options.useTypedRollerWeight = true;
        options.typedRollerWeightKg =
            arguments.numberIn("roller-weight", 0.0, kLargestRollerWeightKg, 0.0);
    }
    return options;
}

}  // namespace dyno::cli
