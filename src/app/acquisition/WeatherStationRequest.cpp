#include "app/acquisition/WeatherStationRequest.h"

#include <QPushButton>
#include <optional>

#include "acquisition/weather/CardWeatherReadout.h"
#include "app/acquisition/CardSession.h"
#include "app/acquisition/K40Session.h"
#include "app/pages/ParamPage.h"
#include "app/composition/ProgramState.h"
#include "app/pages/SetupPage.h"
#include "evaluation/CorrectionApply.h"
#include "model/SessionModel.h"

namespace dyno {

WeatherStationRequest::WeatherStationRequest(const WeatherStationParts& parts, QObject* parent)
    : QObject(parent), parts_(parts) {
    connect(parts_.setup.weatherStationButton(), &QPushButton::clicked, this,
            &WeatherStationRequest::request);
}

void WeatherStationRequest::request() {
    // Either answer writes slot 1's factors.
    if (parts_.isSlot1Refused && parts_.isSlot1Refused()) return;
    if (parts_.setup.electronicsIndex() != static_cast<int>(Electronics::Card)) {
        const K40Link::Outcome outcome =
            parts_.k40.requestWeather(parts_.setup.portName(), parts_.state.transferDelay);
        if (outcome == K40Link::Outcome::Busy) {
            parts_.messages.show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
        }
        return;
    }
    readThroughCard();
}

void WeatherStationRequest::readThroughCard() {
    const ProgramState& state = parts_.state;
    CardWeatherSetup setup;
    setup.isStationConnected = parts_.setup.isWeatherStationConnected();
    setup.constants = state.weatherConstants;
    setup.options = {parts_.param.airUnits(), parts_.param.correctionStandard()};
    setup.pressureScale = state.cardPressureScale;
    setup.settleDelaySteps = state.delayCounts.settleDelay;

    std::optional<StationCorrection> station;
    const CardChoice choice = cardChoiceOf(parts_.setup.dynoModelIndex(), state);
    const bool isRead = parts_.card.withIdleBus(
        choice, [&](CardBus& bus) { station = cardStationReadout(bus, setup); });
    if (!isRead) return;
    if (!station) {
        applyCorrection(factorOne(), CorrectionTarget::CorrectionFactor, parts_.model.slot(1),
                        parts_.messages);
        return;
    }
    parts_.boxes.showStationValues(station->displayTexts);
    parts_.boxes.showCorrectionFactor(station->correction.correctionText);
    applyCorrection(station->correction, CorrectionTarget::CorrectionFactor, parts_.model.slot(1),
                    parts_.messages);
}

}  // namespace dyno
