#pragma once

#include "evaluation/EvaluationOptions.h"
#include "evaluation/EvaluationWarnings.h"
#include "model/SessionHeader.h"

namespace dyno {

// The physical constants one session is evaluated with, chosen from its header and
// stored values and from the display options.
struct EvaluationConstants {
    double speedFactor = 0.0;     // displayed speed unit per roller revolution per second
    double clockRateHz = 0.0;     // ticks per second of the roller period counter
    double massFactor = 0.0;      // roller inertia, before any unit conversion
    double speedOffsetKmh = 0.0;  // added to the speed inside the power formula
    EvaluationWarnings warnings;
};

// Values no setting writes (a damaged or foreign file) get a fallback and a warning:
// an unknown dyno model is evaluated as a K40 (its roller weight, its offset), unknown
// electronics with the USB/serial clock, and on a K70/K80 an unknown roller code as
// the standard roller without extras (code 0 on a K70, 50 on a K80), with +11 km/h
// speed offset unless the code's range already names an offset.
EvaluationConstants evaluationConstantsOf(const SessionHeader& header, const SessionValues& values,
                                          const EvaluationOptions& options);

}  // namespace dyno
