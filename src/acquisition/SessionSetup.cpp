#include "acquisition/SessionSetup.h"

#include "model/SessionHeader.h"

namespace dyno {

void stampSessionSetup(TestSession& slot1, const SessionSetup& setup) {
    auto& words = slot1.header.words;
    words[SessionHeader::kDynoModel] = static_cast<std::int16_t>(setup.dynoModel);
    words[SessionHeader::kElectronicsType] = static_cast<std::int16_t>(setup.electronics);
    words[SessionHeader::kGearboxType] = static_cast<std::int16_t>(setup.gearbox);
    slot1.values.values[SessionValues::kRollerWeight] = setup.rollerWeightKg;
    // The big rollers' inertia comes from the roller code; the K40's from its weight.
    if (setup.dynoModel != DynoModel::K40) words[SessionHeader::kRollerCode] = setup.rollerCode;
}

}  // namespace dyno
