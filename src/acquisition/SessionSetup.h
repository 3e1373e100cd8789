#pragma once

#include <cstdint>

#include "evaluation/DynoConstants.h"
#include "model/TestSession.h"

namespace dyno {

// `linear_rpm_check`: how the engine drives the wheel.
enum class GearboxType : std::int16_t { Variomatic = 0, FixedGearing = 1 };

// The set-up a recorded session is stamped with, as the Setup and Test pages held it
// when the test was started: the same for the K40 electronics and the K70/K80 card.
struct SessionSetup {
    DynoModel dynoModel = DynoModel::K40;              // `dynomodel`
    Electronics electronics = Electronics::UsbSerial;  // `electronics`
    GearboxType gearbox = GearboxType::Variomatic;
    double rollerWeightKg = 0.0;             // `rollerweightedit`; an empty box is 0
    std::int16_t rollerCode = 0;             // of the settings; stored for K70 and K80 only
    double speedDialConstant = 7'096'320.0;  // for the fixed-gearing ratio

    friend bool operator==(const SessionSetup&, const SessionSetup&) = default;
};

// Writes the set-up into slot 1 when a session is complete: dyno model, electronics,
// gearbox and roller weight, and for the big rollers their roller code.
void stampSessionSetup(TestSession& slot1, const SessionSetup& setup);

}  // namespace dyno
