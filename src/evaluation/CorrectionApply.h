#pragma once

#include <string_view>

#include "evaluation/CorrectionFactor.h"
#include "model/MessageSink.h"
#include "model/TestSession.h"

namespace dyno {

inline constexpr std::string_view kCorrectionOutOfLimitsMessage =
    "The correctionfactor is out of limits, changed to 1.00";

// The factor a session is evaluated and shown with: its stored factor, or 1.0 when
// what is stored is no number at all (a damaged or foreign file). The stored bytes
// stay as they are, so saving the session again writes them unchanged.
double factorInForce(double storedFactor);
bool isFactorUnusable(double storedFactor);

// Where a factor goes in slot 1: the factor applied to power and torque, or the
// station's factor kept with the session's values.
enum class CorrectionTarget { CorrectionFactor, StationCorrection };

// Shows the out-of-limits warning when the result replaced the factor by 1.0.
void reportCorrection(const CorrectionResult& result, MessageSink& messages);

// Stores a computed factor in slot 1, the session being recorded: first the
// out-of-limits warning if the factor was replaced, then the factor and, unless
// the result keeps it, the standard (header word `kCorrectionStandard`).
void applyCorrection(const CorrectionResult& result, CorrectionTarget target, TestSession& slot1,
                     MessageSink& messages);

}  // namespace dyno
