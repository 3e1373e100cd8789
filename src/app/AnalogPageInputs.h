#pragma once

#include "display/AnalogView.h"
#include "display/GraphScale.h"

class QWidget;

namespace dyno {

class AdSettingsPage;

// Everything the Analog page reads from outside itself, in one place: the channel
// settings of the A/D Sett. page, the top of the power axis in force, the unit and
// roller-weight boxes the evaluation reads, and "Fixed Gearing" of the Graphs page.
void readAnalogInputs(const QWidget& window, const AdSettingsPage& adSettings,
                      const GraphScale& scaleInForce, AnalogView& view);

}  // namespace dyno
