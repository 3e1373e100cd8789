#pragma once

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/EvaluationOptions.h"
#include "model/TestSession.h"

namespace dyno {

// Analyses all three runs of a session under the display options: each run is
// evaluated as the power curve is (same inertia, units, correction factor), its
// coast-down gives the losses and the engine-side curves, and the runs' figures
// are summarised. Writes only into `workspace`; never allocates.
void analyseSession(const TestSession& session, const EvaluationOptions& options,
                    AnalysisWorkspace& workspace);

}  // namespace dyno
