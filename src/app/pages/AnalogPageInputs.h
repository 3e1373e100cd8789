#pragma once

#include "display/analog/AnalogView.h"
#include "display/graph/GraphScale.h"

namespace dyno {

class AdSettingsPage;
class GraphsPage;
class SetupPage;

// The pages the Analog page reads outside itself.
struct AnalogInputPages {
    const AdSettingsPage& adSettings;
    const SetupPage& setup;
    const GraphsPage& graphs;
};

// Everything the Analog page reads from outside itself, in one place: the channel
// settings of the A/D Sett. page, the top of the power axis in force, the units and
// roller weight the evaluation reads, and the graph choices of the Graphs page.
void readAnalogInputs(const AnalogInputPages& pages, const GraphScale& scaleInForce,
                      AnalogView& view);

}  // namespace dyno
