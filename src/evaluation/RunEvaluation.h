#pragma once

#include "evaluation/EvaluationOptions.h"
#include "evaluation/EvaluationWarnings.h"
#include "evaluation/EvaluationWorkspace.h"
#include "model/SessionModel.h"
#include "model/TestSession.h"

namespace dyno {

// At most this many roller periods of a run are evaluated (the last of a full run's
// 2000 entries is never used), so a speed curve has at most 1998 points.
inline constexpr int kMaxEvaluatedPeriods = kSamplesPerRun - 1;

struct EvaluationReport {
    int evalCount = 0;  // curve points of this run: 0 for an empty run
    EvaluationWarnings warnings;
};

// Turns run `run` (0..2) of a session into its speed, rpm, power and torque curves
// and the three maximum texts. Speed comes from the roller's distance per
// revolution, acceleration from the speed change between revolutions, and power
// from the roller's inertia x smoothed acceleration x speed, times the session's
// correction factor. Everything the evaluation writes is cleared first, so
// evaluating twice gives the same result; an empty run leaves the curves cleared
// and the maximum texts as they were. Never allocates. Throws std::out_of_range
// for a run outside 0..2.
EvaluationReport evaluateRun(TestSession& session, int run, const EvaluationOptions& options,
                             EvaluationWorkspace& workspace);

// The same, writing the curves and texts into `curves` instead of the session's
// own, so a session's runs can be evaluated side by side without touching the
// curves on display.
EvaluationReport evaluateRunInto(const TestSession& session, int run,
                                 const EvaluationOptions& options, EvaluationWorkspace& workspace,
                                 EvaluatedCurves& curves);

// The same for slot 1..4 of the model (std::out_of_range for another slot).
EvaluationReport evaluate(SessionModel& model, int slot, int run, const EvaluationOptions& options,
                          EvaluationWorkspace& workspace);

}  // namespace dyno
