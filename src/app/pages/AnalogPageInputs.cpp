#include "app/pages/AnalogPageInputs.h"

#include "app/files/SettingsBinding.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/SetupPage.h"
#include "model/TextNumbers.h"

namespace dyno {

void readAnalogInputs(const AnalogInputPages& pages, const GraphScale& scaleInForce,
                      AnalogView& view) {
    view.channels = pages.adSettings.channelTexts();
    view.decimalSeparator = userDecimalSeparator();
    view.endHp = scaleInForce.endHp;
    view.fixedGearing = pages.graphs.isFixedGearingChosen();
    EvaluationOptions& evaluation = view.evaluation;
    evaluation.speedInMph = pages.setup.isSpeedInMph();
    evaluation.powerInKw = pages.setup.isPowerInKw();
    evaluation.rpmCurveShown = pages.graphs.isSpeedAndRpmChosen();
    evaluation.useTypedRollerWeight = pages.setup.isRollerWeightForLoadedTests();
    evaluation.typedRollerWeightKg = leadingNumber(pages.setup.rollerWeightText());
}

}  // namespace dyno
