#include "evaluation/EvaluationConstants.h"

#include "evaluation/DynoConstants.h"
#include "evaluation/RollerInertia.h"
#include "model/DynoSettings.h"

namespace dyno {

namespace {

constexpr int kK70StandardRoller = 0;
constexpr double kStandardRollerSpeedOffsetKmh = 11.0;

}  // namespace

EvaluationConstants evaluationConstantsOf(const SessionHeader& header, const SessionValues& values,
                                          const EvaluationOptions& options) {
    EvaluationConstants constants;

    DynoModel model = DynoModel::K40;
    if (isKnownDynoModel(header.dynoModel())) {
        model = static_cast<DynoModel>(header.dynoModel());
    } else {
        constants.warnings.set(EvaluationWarning::kUnknownDynoModel);
    }

    Electronics electronics = Electronics::UsbSerial;
    if (isKnownElectronics(header.electronicsType())) {
        electronics = static_cast<Electronics>(header.electronicsType());
    } else {
        constants.warnings.set(EvaluationWarning::kUnknownElectronics);
    }

    const RollerSpeedFactor factor = speedFactorOf(model);
    constants.speedFactor = options.speedInMph ? factor.mph : factor.kmh;
    constants.clockRateHz = clockRateOf(electronics);

    if (model == DynoModel::K40) {
        // The K40 roller's weight is typed in the settings and stored with the session.
        const double weightKg =
            options.useTypedRollerWeight ? options.typedRollerWeightKg : values.rollerWeight();
        constants.massFactor = weightKg * kRollerWeightToMassFactor;
        constants.speedOffsetKmh = *speedOffsetOf(static_cast<int>(DynoModel::K40), 0);
        return constants;
    }

    const int rollerCode = header.rollerCode();
    const auto tableFactor = RollerInertiaTable::massFactorOf(rollerCode);
    const auto offset = speedOffsetOf(static_cast<int>(model), rollerCode);
    // A code the table lacks only matters when the table is read; an offset is always needed.
    if ((!options.useTypedRollerWeight && !tableFactor) || !offset) {
        constants.warnings.set(EvaluationWarning::kUnknownRollerCode);
    }

    if (options.useTypedRollerWeight) {
        constants.massFactor = options.typedRollerWeightKg * kRollerWeightToMassFactor;
    } else if (tableFactor) {
        constants.massFactor = *tableFactor;
    } else {
        const int standard = model == DynoModel::K80 ? kK80RollerCodeOffset : kK70StandardRoller;
        constants.massFactor = *RollerInertiaTable::massFactorOf(standard);
    }
    constants.speedOffsetKmh = offset.value_or(kStandardRollerSpeedOffsetKmh);
    return constants;
}

}  // namespace dyno
