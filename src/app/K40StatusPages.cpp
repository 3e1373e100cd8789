#include "app/K40StatusPages.h"

#include "acquisition/k40/K40Link.h"

#include "app/ParamPage.h"
#include "app/RemarksPage.h"
#include "app/SetupPage.h"
#include "app/SpeedPage.h"

namespace dyno {

namespace {

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void K40StatusPages::setLed(bool isOn) {
    setup_.setPortLedOn(isOn);
}

void K40StatusPages::showFirmwareVersion(std::string_view high, std::string_view low) {
    setup_.showFirmwareVersion(fromView(high), fromView(low));
}

void K40StatusPages::showSampleSetting(std::string_view samples) {
    setup_.showSampleSetting(fromView(samples));
}

void K40StatusPages::showStationValues(const StationDisplayTexts& texts) {
    param_.showStationValues(texts);
    remarks_.showAirTexts(1, AirTexts{texts.pressure, texts.temperature, texts.humidity});
}

void K40StatusPages::showCorrectionFactor(std::string_view text) {
    param_.showCorrectionText(fromView(text));
}

void K40StatusPages::showNoAnswer(std::string_view portName) {
    const QString text = portName.empty() ? QString() : fromView(noAnswerText(portName));
    setup_.showNoAnswer(text);
    speed_.showNoAnswer(text);
}

}  // namespace dyno
