#include "evaluation/CorrectionApply.h"

#include <cmath>

namespace dyno {

bool isFactorUnusable(double storedFactor) {
    return !std::isfinite(storedFactor);
}

double factorInForce(double storedFactor) {
    return isFactorUnusable(storedFactor) ? 1.0 : storedFactor;
}

void reportCorrection(const CorrectionResult& result, MessageSink& messages) {
    if (result.isOutOfLimits) {
        messages.show(MessageKind::Warning, kDynoCaption, kCorrectionOutOfLimitsMessage);
    }
}

void applyCorrection(const CorrectionResult& result, CorrectionTarget target, TestSession& slot1,
                     MessageSink& messages) {
    reportCorrection(result, messages);
    if (target == CorrectionTarget::CorrectionFactor) {
        slot1.correctionFactor = result.factor;
    } else {
        slot1.values.values[SessionValues::kStationCorrection] = result.factor;
    }
    if (result.standard) {
        slot1.header.words[SessionHeader::kCorrectionStandard] =
            static_cast<std::int16_t>(*result.standard);
    }
}

}  // namespace dyno
