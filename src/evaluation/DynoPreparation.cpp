#include "evaluation/DynoPreparation.h"

#include <optional>

#include "model/TextNumbers.h"

namespace dyno {

DynoPreparation prepareDyno(const DynoConstantsInForce& previous, DynoModel dynoModel,
                            Electronics electronics, const BarMarkerTexts& markerTexts) {
    DynoPreparation result{previous, {}};
    DynoConstantsInForce& constants = result.constants;
    constants.currentDynoModel = dynoModel;
    constants.currentElectronics = electronics;
    constants.speedFactor = speedFactorOf(dynoModel).kmh;
    constants.clockRate = clockRateOf(electronics);
    // Multiplied in this order so the needle dividend matches the electronics'
    // software to the last bit.
    constants.speedDialConstant = constants.speedFactor * constants.clockRate;
    constants.speedDialConstant *= kSpeedDialScale;

    const std::array<std::string_view, 4> texts{markerTexts.posA1, markerTexts.posA2,
                                                markerTexts.posB1, markerTexts.posB2};
    std::array<std::int32_t, 4> positions{};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::optional<std::int32_t> position = strictInteger(texts[i]);
        if (!position) {
            result.markerError = notAnIntegerMessage(texts[i]);
            return result;
        }
        positions[i] = *position;
    }
    constants.barMarkers = {BarMarkerPositions{positions[0], positions[1]},
                            BarMarkerPositions{positions[2], positions[3]}};
    return result;
}

}  // namespace dyno
