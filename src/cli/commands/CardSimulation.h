#pragma once

#include <ostream>

#include "cli/options/Arguments.h"
#include "cli/options/RecordingOptions.h"
#include "simulator/VehicleProfile.h"

namespace dyno::cli {

// `dynotool simulate --card`: a whole card session of the K70/K80 card sequence
// against the simulated card, saved as the window would save it.
int simulateCardSession(const Arguments& arguments, const VehicleProfile& vehicle,
                        RecordingOptions options, std::ostream& out, std::ostream& err);

}  // namespace dyno::cli
