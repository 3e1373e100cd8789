#include "app/acquisition/TestControl.h"

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "acquisition/electronics/ElectronicsChoice.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "app/composition/ProgramState.h"
#include "app/files/SettingsBinding.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/GraphsPage.h"
#include "app/pages/ParamPage.h"
#include "app/pages/SetupPage.h"
#include "app/pages/SpeedPage.h"
#include "app/pages/TestPage.h"
#include "model/ChannelSettings.h"
#include "model/MessageSink.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno {

std::optional<double> rpmPer100FromText(std::string_view text, char decimalSeparator) {
    const std::optional<double> rpm = strictDecimal(text, decimalSeparator);
    if (!rpm) return std::nullopt;
    return *rpm * 0.01;
}

TestControl::TestControl(const TestStartPages& startPages, QTabWidget& pages, SpeedPage& speedPage,
                         const ElectronicsChoice& electronics, const Slot1Lock& slot1,
                         SessionModel& model, ProgramState& state, MessageSink& messages,
                         QObject* parent)
    : QObject(parent),
      startPages_(startPages),
      pages_(pages),
      speedPage_(speedPage),
      electronics_(electronics),
      slot1_(slot1),
      model_(model),
      state_(state),
      messages_(&messages) {
    TestPage& testPage = startPages_.test;
    connect(&testPage, &TestPage::testStartConfirmed, this, &TestControl::startTest);
    connect(&testPage, &TestPage::revCounterCheckConfirmed, this,
            &TestControl::startRevCounterCheck);
    connect(testPage.useRpmDataButton(), &QPushButton::clicked, this, &TestControl::useRpmData);
}

TestStartEntries TestControl::readEntries() const {
    const TestPage& test = startPages_.test;
    const SetupPage& setup = startPages_.setup;
    const ParamPage& param = startPages_.param;
    TestStartEntries entries;
    entries.dynoModelIndex = setup.dynoModelIndex();
    entries.electronicsIndex = setup.electronicsIndex();
    entries.portName = setup.portName();
    entries.isSpeedInMph = setup.isSpeedInMph();
    entries.testTypes = test.testTypeButtons();
    entries.userDegreesText = test.userDegreesText().toStdString();
    entries.markers = test.barMarkerEntries();
    const AnalogChannelTextSet channels = startPages_.adSettings.channelTexts();
    for (std::size_t c = 0; c < entries.channels.size(); ++c) {
        const AnalogChannelTexts& typed = channels[c];
        ChannelEntryTexts& channel = entries.channels[c];
        channel.gainText = typed.factorText;
        channel.gainMode = gainModeOf(typed.factorUse);
        channel.offsetText = typed.offsetText;
        channel.offsetMode = offsetModeOf(typed.offsetUse);
        channel.isInvertTicked = typed.isInverted;
    }
    entries.recording.analogChannels = test.analogChannels();
    entries.recording.isWeatherStationConnected = setup.isWeatherStationConnected();
    entries.gearbox = test.gearbox();
    entries.rollerWeightText = setup.rollerWeightText();
    entries.airUnits = param.airUnits();
    entries.standard = param.correctionStandard();
    return entries;
}

TestStartInForce TestControl::inForce() const {
    TestStartInForce inForce;
    inForce.dyno = state_.dyno;
    inForce.rpm = rpmInForce_;
    inForce.transferDelay = state_.transferDelay;
    inForce.rollerCode = state_.rollerCode;
    inForce.weatherConstants = state_.weatherConstants;
    inForce.cardBase = state_.cardPorts[0];
    inForce.remoteButtonMask = state_.remoteButtonMask;
    inForce.remoteButtonDelayMs = state_.remoteButtonDelayMs;
    inForce.settleDelaySteps = state_.delayCounts.settleDelay;
    inForce.cardPressureScale = state_.cardPressureScale;
    return inForce;
}

PreparedTestStart TestControl::prepare(bool isRevCounterCheck) const {
    return prepareTestStart(readEntries(), inForce(), isRevCounterCheck);
}

void TestControl::startTest() {
    start(false);
}

void TestControl::startRevCounterCheck() {
    start(true);
}

void TestControl::start(bool isRevCounterCheck) {
    if (slot1_.refuseChange(*messages_)) return;
    const PreparedTestStart prepared = prepare(isRevCounterCheck);
    if (!prepared.error.empty()) {
        // As the toolkit's conversion error would: the start goes no further.
        messages_->show(MessageKind::Error, kDynoCaption, prepared.error);
        return;
    }
    state_.dyno = prepared.dyno;
    rpmInForce_ = prepared.rpm;
    channels_ = prepared.channels;
    speedPage_.setBarZones(prepared.dyno.barMarkers);

    if (!isRevCounterCheck) {
        emit graphChoiceLatched(startPages_.graphs.isSpeedAndRpmChosen());
    }
    emit slot1Recording();
    pages_.setCurrentWidget(&speedPage_);

    electronics_.of(prepared.dyno.currentElectronics).start(prepared);
}

void TestControl::useRpmData() {
    const std::string text = startPages_.test.rpmAt100Text().toStdString();
    const char separator = userDecimalSeparator();
    const std::optional<double> rpmPer100 = rpmPer100FromText(text, separator);
    if (!rpmPer100) {
        messages_->show(MessageKind::Error, kDynoCaption, notAFloatMessage(text));
        return;
    }
    if (slot1_.refuseChange(*messages_)) return;
    TestSession& slot1 = model_.slot(1);
    for (int run = 0; run < kRunsPerSession; ++run) {
        slot1.values.values[static_cast<std::size_t>(SessionValues::kRpmPer100Run0 + run)] =
            *rpmPer100;
    }
}

}  // namespace dyno
