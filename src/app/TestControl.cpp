#include "app/TestControl.h"

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

#include "app/ControlLookup.h"
#include "app/K40Session.h"
#include "app/ProgramState.h"
#include "app/SettingsBinding.h"
#include "app/SpeedPage.h"
#include "model/MessageSink.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"

namespace dyno {

namespace {

std::string textOf(const QObject* window, const char* componentName, std::string fallback) {
    QString text;
    return controls::readText(window, componentName, text) ? text.toStdString() : fallback;
}

bool isChecked(const QObject* window, const char* componentName) {
    bool checked = false;
    controls::readChecked(window, componentName, checked);
    return checked;
}

int itemIndexOf(const QObject* window, const char* componentName, int fallback) {
    int index = fallback;
    controls::readItemIndex(window, componentName, index);
    return index;
}

}  // namespace

PreparedTestStart prepareTestStart(const TestStartEntries& entries,
                                   const DynoConstantsInForce& dynoInForce,
                                   const RpmConstants& rpmInForce, const ProgramState& state,
                                   bool isRevCounterCheck) {
    PreparedTestStart prepared{dynoInForce, rpmInForce, {}, {}, {}};
    // A choice the lists do not have (nothing chosen) counts as the first item.
    const auto dynoModel = static_cast<DynoModel>(
        isKnownDynoModel(entries.dynoModelIndex) ? entries.dynoModelIndex : 0);
    const auto electronics = static_cast<Electronics>(
        isKnownElectronics(entries.electronicsIndex) ? entries.electronicsIndex : 0);

    const BarMarkerTexts markers{entries.markers.posA1, entries.markers.posA2,
                                 entries.markers.posB1, entries.markers.posB2};
    const DynoPreparation dyno = prepareDyno(dynoInForce, dynoModel, electronics, markers);
    if (!dyno.markerError.empty()) {
        prepared.error = dyno.markerError;
        return prepared;
    }
    prepared.dyno = dyno.constants;

    const RpmPreparation rpm =
        prepareRpm(entries.testTypes, entries.userDegreesText, dynoModel, rpmInForce);
    if (rpm.isUserDegreesOutOfRange) {
        prepared.error = "User defined degrees must be a whole number from 0 to " +
                         std::to_string(maxUserDegrees(dynoModel));
        return prepared;
    }
    prepared.rpm = rpm.constants;

    std::array<ChannelEntries, kAnalogChannels> channels{};
    for (std::size_t c = 0; c < channels.size(); ++c) {
        const ChannelEntryTexts& typed = entries.channels[c];
        channels[c] = {typed.gainText, typed.gainMode, typed.offsetText, typed.offsetMode,
                       typed.isInvertTicked};
    }
    prepared.channels = prepareChannels(channels);

    K40Start& k40 = prepared.k40;
    k40.portName = entries.portName;
    k40.isRevCounterCheck = isRevCounterCheck;
    k40.rpmRegistration = prepared.rpm.rpmRegistration;
    k40.recording = entries.recording;
    k40.recording.transferDelay = state.transferDelay;
    k40.dial = {prepared.dyno.speedDialConstant, prepared.rpm.rpmDialConstant,
                prepared.rpm.rpmSampleConstant};
    k40.session.dynoModel = dynoModel;
    k40.session.electronics = electronics;
    k40.session.gearbox = entries.gearbox;
    k40.session.rollerWeightKg = leadingNumber(entries.rollerWeightText);
    k40.session.rollerCode = state.rollerCode;
    k40.session.speedDialConstant = prepared.dyno.speedDialConstant;
    k40.weather = {state.weatherConstants, entries.airUnits, entries.standard};
    return prepared;
}

std::optional<double> rpmPer100FromText(std::string_view text, char decimalSeparator) {
    const std::optional<double> rpm = strictDecimal(text, decimalSeparator);
    if (!rpm) return std::nullopt;
    return *rpm * 0.01;
}

TestControl::TestControl(QWidget& window, QTabWidget& pages, TestPage& testPage,
                         SpeedPage& speedPage, K40Session& k40, SessionModel& model,
                         ProgramState& state, MessageSink& messages, QObject* parent)
    : QObject(parent),
      window_(window),
      pages_(pages),
      testPage_(testPage),
      speedPage_(speedPage),
      k40_(k40),
      model_(model),
      state_(state),
      messages_(&messages) {
    connect(&testPage_, &TestPage::testStartConfirmed, this, &TestControl::startTest);
    connect(&testPage_, &TestPage::revCounterCheckConfirmed, this,
            &TestControl::startRevCounterCheck);
    connect(testPage_.useRpmDataButton(), &QPushButton::clicked, this, &TestControl::useRpmData);
    // What the rider may change between runs counts from the next run on.
    k40_.setSessionSetupRefresh([this](K40SessionSetup& setup) {
        const TestStartEntries entries = readEntries();
        setup.gearbox = entries.gearbox;
        setup.rollerWeightKg = leadingNumber(entries.rollerWeightText);
        if (isKnownDynoModel(entries.dynoModelIndex)) {
            setup.dynoModel = static_cast<DynoModel>(entries.dynoModelIndex);
        }
        if (isKnownElectronics(entries.electronicsIndex)) {
            setup.electronics = static_cast<Electronics>(entries.electronicsIndex);
        }
    });
}

TestStartEntries TestControl::readEntries() const {
    const QObject* w = &window_;
    TestStartEntries entries;
    entries.dynoModelIndex = itemIndexOf(w, "dynomodel", entries.dynoModelIndex);
    entries.electronicsIndex = itemIndexOf(w, "electronics", entries.electronicsIndex);
    entries.portName =
        QString::fromStdString(textOf(w, "comedit", entries.portName)).trimmed().toStdString();
    entries.testTypes = testPage_.testTypeButtons();
    entries.userDegreesText = testPage_.userDegreesText().toStdString();
    entries.markers = testPage_.barMarkerEntries();
    for (std::size_t c = 0; c < entries.channels.size(); ++c) {
        const std::string n = std::to_string(c + 1);
        ChannelEntryTexts& channel = entries.channels[c];
        channel.gainText = textOf(w, ("mul" + n + "edit").c_str(), channel.gainText);
        channel.gainMode =
            static_cast<GainMode>(itemIndexOf(w, ("mulch" + n + "group").c_str(), 0) == 1);
        channel.offsetText = textOf(w, ("plus" + n + "edit").c_str(), channel.offsetText);
        channel.offsetMode =
            static_cast<OffsetMode>(itemIndexOf(w, ("plusch" + n + "group").c_str(), 0) == 1);
        channel.isInvertTicked = isChecked(w, ("invert" + n).c_str());
    }
    entries.recording.analogChannels = testPage_.analogChannels();
    entries.recording.isWeatherStationConnected = isChecked(w, "vejrstation_check");
    entries.gearbox = testPage_.gearbox();
    entries.rollerWeightText = textOf(w, "rollerweightedit", "");
    entries.airUnits = {isChecked(w, "fahrenheitcheck"), isChecked(w, "inchhgcheck")};
    entries.standard = correctionStandardFromIndex(itemIndexOf(w, "corrchoice", 3))
                           .value_or(CorrectionStandard::Eec);
    return entries;
}

void TestControl::startTest() {
    start(false);
}

void TestControl::startRevCounterCheck() {
    start(true);
}

void TestControl::start(bool isRevCounterCheck) {
    const PreparedTestStart prepared =
        prepareTestStart(readEntries(), state_.dyno, rpmInForce_, state_, isRevCounterCheck);
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
        emit graphChoiceLatched(itemIndexOf(&window_, "scalegroup", 0) == 1);
    }
    pages_.setCurrentWidget(&speedPage_);

    if (prepared.dyno.currentElectronics == Electronics::UsbSerial) {
        k40_.start(prepared.k40);
    } else if (cardStart_) {
        cardStart_(prepared, isRevCounterCheck);
    }
}

void TestControl::useRpmData() {
    const std::string text = testPage_.rpmAt100Text().toStdString();
    const char separator = userDecimalSeparator();
    const std::optional<double> rpmPer100 = rpmPer100FromText(text, separator);
    if (!rpmPer100) {
        messages_->show(MessageKind::Error, kDynoCaption, notAFloatMessage(text));
        return;
    }
    if (k40_.refuseWhileBusy(*messages_)) return;
    TestSession& slot1 = model_.slot(1);
    for (int run = 0; run < kRunsPerSession; ++run) {
        slot1.values.values[static_cast<std::size_t>(SessionValues::kRpmPer100Run0 + run)] =
            *rpmPer100;
    }
}

}  // namespace dyno
