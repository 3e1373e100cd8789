#include "evaluation/RollerPower.h"

#include "model/Units.h"

namespace dyno {

RollerPowerScale rollerPowerScaleOf(const EvaluationConstants& constants,
                                    const EvaluationOptions& options, double correctionFactor) {
    // With mph both the acceleration and the speed are turned back into km/h, so the
    // power is the same figure whatever speed unit is shown.
    RollerPowerScale scale;
    scale.speedToKmh = options.speedInMph ? kKmhPerMph : 1.0;
    scale.massFactor = constants.massFactor * scale.speedToKmh;
    scale.powerFactor = options.powerInKw ? scale.massFactor * kKwPerHp : scale.massFactor;
    scale.speedOffsetKmh = constants.speedOffsetKmh;
    scale.correctionFactor = correctionFactor;
    return scale;
}

}  // namespace dyno
