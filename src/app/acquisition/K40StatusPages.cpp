#include "app/acquisition/K40StatusPages.h"

#include "acquisition/k40/K40Link.h"
#include "acquisition/ports/SerialByteLink.h"

#include <QPushButton>

#include "app/pages/ParamPage.h"
#include "app/pages/RemarksPage.h"
#include "app/pages/SetupPage.h"
#include "app/pages/SpeedPage.h"
#include "simulator/SimulatedK40.h"

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

void K40StatusPages::showSessionRunning(bool isRunning) {
    // The Speed page's "Stop", which the card's session shows too.
    speed_.stopButton()->setVisible(isRunning);
}

void K40StatusPages::showNoAnswer(std::string_view portName) {
    // Named by the device the port opened ("COM1" is /dev/ttyS0), what the system's
    // own tools show.
    const std::string device =
        portName == kSimulatedPortName ? std::string(portName) : serialDevicePath(portName);
    const QString text = portName.empty() ? QString() : fromView(noAnswerText(device));
    setup_.showNoAnswer(text);
    speed_.showNoAnswer(text);
}

}  // namespace dyno
