#include "acquisition/electronics/CardStationReadout.h"

#include <optional>

#include "evaluation/CorrectionApply.h"

namespace dyno {

void readCardStationInto(CardBus& bus, const CardWeatherSetup& setup, TestSession& slot1,
                         K40StatusView& boxes, MessageSink& messages) {
    const std::optional<StationCorrection> station = cardStationReadout(bus, setup);
    if (!station) {
        applyCorrection(factorOne(), CorrectionTarget::CorrectionFactor, slot1, messages);
        return;
    }
    boxes.showStationValues(station->displayTexts);
    boxes.showCorrectionFactor(station->correction.correctionText);
    applyCorrection(station->correction, CorrectionTarget::CorrectionFactor, slot1, messages);
}

}  // namespace dyno
