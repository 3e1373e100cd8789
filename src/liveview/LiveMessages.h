#pragma once

#include <QByteArray>

#include "evaluation/AnalysisWorkspace.h"
#include "evaluation/EvaluationOptions.h"
#include "liveview/ArrivedRuns.h"
#include "liveview/LiveReadings.h"

namespace dyno {

// The JSON texts the live view's socket carries. Two kinds, so that the large one goes
// only when it changes:
//   {"type":"live", ...}: the needles (positions and the values on the dials' scales),
//     the instruction in its colours, the run number, when it changed (newest and
//     oldest change not sent before) and when sent;
//   {"type":"runs", ...}: each arrived run's power curve and peak figures, and once the
//     session is over the runs' spread.

// Most points of a run's curve sent: enough for a phone's width.
inline constexpr int kLiveCurvePoints = 200;

QByteArray readingsMessage(const LiveReadings& readings, std::int64_t sentAtMs);

// Evaluates the runs that arrived as the Analysis page does, into `workspace`.
QByteArray runsMessage(const ArrivedRuns& runs, const EvaluationOptions& options,
                       AnalysisWorkspace& workspace);

}  // namespace dyno
