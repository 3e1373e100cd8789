#include "app/pages/AnalogPageInputs.h"

#include "app/files/SettingsBinding.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/SetupPage.h"

namespace dyno {

void readAnalogInputs(const AnalogInputPages& pages, const GraphScale& scaleInForce,
                      AnalogView& view) {
    view.channels = pages.adSettings.channelTexts();
    view.decimalSeparator = userDecimalSeparator();
    view.endHp = scaleInForce.endHp;
    view.fixedGearing = pages.graphs.isFixedGearingChosen();
    view.evaluation = pages.setup.evaluationOptions();
    view.evaluation.rpmCurveShown = pages.graphs.isSpeedAndRpmChosen();
}

}  // namespace dyno
