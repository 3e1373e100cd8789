#pragma once

#include <ostream>

#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "simulator/VehicleProfile.h"

namespace dyno::cli {

// The start `simulate --card` makes: the same entries as the window's "Start Test"
// with the card electronics on the dyno --model names (K70 or K80), a standard roller
// without extras and that dyno's remote button. Throws UsageError for --model or
// --test values the card's dyno does not take.
PreparedTestStart simulatedCardStart(const Arguments& arguments, const RecordingOptions& options);

// `dynotool simulate --card`: a whole card session of the K70/K80 card sequence
// against the simulated card, saved as the window would save it.
int simulateCardSession(const Arguments& arguments, const VehicleProfile& vehicle,
                        RecordingOptions options, std::ostream& out, std::ostream& err);

}  // namespace dyno::cli
