#pragma once

#include <set>
#include <string>

#include "cli/options/Arguments.h"
#include "evaluation/EvaluationOptions.h"

// The display options of the commands that evaluate one session archive (curves,
// analysis): the units and the roller weight typed instead of the session's own.
namespace dyno::cli {

// "--roller-weight KG", to be declared among a command's value options.
std::set<std::string> evaluationValueOptions();
// "--mph", "--kw", to be declared among a command's flags.
std::set<std::string> evaluationFlagOptions();

// The options as "Update Display" would take them: mph, kW, and with --roller-weight
// every run evaluated with that weight ("Update loaded tests with Rollerweight").
EvaluationOptions evaluationOptionsOf(const Arguments& arguments);

}  // namespace dyno::cli
