#pragma once

#include <optional>

#include "model/TestSession.h"

namespace dyno {

// "Fixed gearing": the engine turns at a fixed ratio to the roller, so engine rpm per
// km/h is one number per run. It is averaged over the samples where the roller speeds
// up (a falling speed means the clutch slips or the rider closed the throttle). The
// samples used start at 19 and end at the first zero period or rpm; of those n, the
// average takes samples 20 up to n - 21, leaving out the launch and the end of the
// run. Nothing when fewer than two samples qualify. `speedDialConstant` is the live
// needle's dividend, which carries 1.28 needle positions per km/h.
std::optional<double> fixedGearingRatio(const TestSession& session, int run,
                                        double speedDialConstant);

// Stores the ratio (engine rpm per km/h, which is the rpm at 100 km/h / 100) as
// `rpmPer100` of the run; leaves it unchanged when there is none.
void storeFixedGearingRatio(TestSession& session, int run, double speedDialConstant);

}  // namespace dyno
