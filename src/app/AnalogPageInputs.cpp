#include "app/AnalogPageInputs.h"

#include <QWidget>

#include "app/AdSettingsPage.h"
#include "app/ControlLookup.h"
#include "app/SettingsBinding.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

bool checkedIn(const QWidget& window, const char* componentName) {
    bool checked = false;
    controls::readChecked(&window, componentName, checked);
    return checked;
}

}  // namespace

void readAnalogInputs(const QWidget& window, const AdSettingsPage& adSettings,
                      const GraphScale& scaleInForce, AnalogView& view) {
    view.channels = adSettings.channelTexts();
    view.decimalSeparator = userDecimalSeparator();
    view.endHp = scaleInForce.endHp;
    view.fixedGearing = checkedIn(window, "fixed_gearing_check");
    EvaluationOptions& evaluation = view.evaluation;
    evaluation.speedInMph = checkedIn(window, "mphflagbox");
    evaluation.powerInKw = checkedIn(window, "kwflagbox");
    int graphShows = 0;
    controls::readItemIndex(&window, "scalegroup", graphShows);
    evaluation.rpmCurveShown = graphShows == 1;
    evaluation.useTypedRollerWeight = checkedIn(window, "update_test_weight");
    QString weight;
    if (controls::readText(&window, "rollerweightedit", weight)) {
        evaluation.typedRollerWeightKg = leadingNumber(weight.toStdString());
    }
}

}  // namespace dyno
