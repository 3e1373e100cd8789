#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/k40/K40Link.h"
#include "app/TestPage.h"
#include "evaluation/DynoPreparation.h"
#include "evaluation/DynoPreparationChannels.h"
#include "evaluation/DynoPreparationRpm.h"

class QTabWidget;
class QWidget;

namespace dyno {

class K40Session;
class MessageSink;
class SessionModel;
class SpeedPage;
struct ProgramState;

// One channel of the A/D Sett. page as typed.
struct ChannelEntryTexts {
    std::string gainText = "1";
    GainMode gainMode = GainMode::Multiply;
    std::string offsetText = "0";
    OffsetMode offsetMode = OffsetMode::Add;
    bool isInvertTicked = false;
};

// What a start reads from the Setup, Test, A/D Sett. and Param. pages, as typed.
struct TestStartEntries {
    int dynoModelIndex = 0;    // `dynomodel`
    int electronicsIndex = 1;  // `electronics`
    std::string portName = "COM1";
    TestTypeButtons testTypes{TestType::NoRpmRegistration};
    std::string userDegreesText = "360";
    BarMarkerEntries markers{"50", "75", "50", "75"};
    std::array<ChannelEntryTexts, kAnalogChannels> channels{};
    K40Recording recording{};  // without the transfer delay, which is held in force
    GearboxType gearbox = GearboxType::Variomatic;
    std::string rollerWeightText = "184";
    AirUnitOptions airUnits{};
    CorrectionStandard standard = CorrectionStandard::Eec;
};

// A start after the three preparation steps: the constants now in force and what the
// K40 electronics are sent, or why the start stops.
struct PreparedTestStart {
    DynoConstantsInForce dyno;
    RpmConstants rpm;
    ChannelSettingsSet channels{};
    K40Start k40;
    std::string error;  // a marker level or user angle the program cannot use
};

// prepareDyno, prepareRpm and prepareChannels in this order, from the values in force
// before the start; then the K40 start request built from their results.
PreparedTestStart prepareTestStart(const TestStartEntries& entries,
                                   const DynoConstantsInForce& dynoInForce,
                                   const RpmConstants& rpmInForce, const ProgramState& state,
                                   bool isRevCounterCheck);

// "Use Rpm data": the engine speed at 100 km/h typed in `rpm_at_100_edit`, as the
// sessions keep it (hundreds of rpm). Nothing when the text is not a number.
std::optional<double> rpmPer100FromText(std::string_view text, char decimalSeparator);

// Test control: what "Start Test", "Rev. Counter check" and "Use Rpm data" do once
// the Test page has asked. Prepares the constants from the pages, brings the Speed
// page to the front and starts the sequence of the chosen electronics.
class TestControl : public QObject {
    Q_OBJECT
  public:
    // The card's sequence, when the card electronics are chosen.
    using CardStart = std::function<void(const PreparedTestStart& start, bool isRevCounterCheck)>;

    TestControl(QWidget& window, QTabWidget& pages, TestPage& testPage, SpeedPage& speedPage,
                K40Session& k40, SessionModel& model, ProgramState& state, MessageSink& messages,
                QObject* parent = nullptr);

    void setCardStart(CardStart start) { cardStart_ = std::move(start); }
    // Where a start that cannot go on and "Use Rpm data" report.
    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    const RpmConstants& rpmConstants() const { return rpmInForce_; }
    const ChannelSettingsSet& channelSettings() const { return channels_; }

    // The whole window read into plain values.
    TestStartEntries readEntries() const;

  public slots:
    void startTest();
    void startRevCounterCheck();
    void useRpmData();

  signals:
    // The Graphs page's choice latched at a start: "Speed + Rpm" or "Speed".
    void graphChoiceLatched(bool isSpeedAndRpm);

  private:
    void start(bool isRevCounterCheck);

    QWidget& window_;
    QTabWidget& pages_;
    TestPage& testPage_;
    SpeedPage& speedPage_;
    K40Session& k40_;
    SessionModel& model_;
    ProgramState& state_;
    MessageSink* messages_;
    CardStart cardStart_;
    RpmConstants rpmInForce_;
    ChannelSettingsSet channels_{};
};

}  // namespace dyno
