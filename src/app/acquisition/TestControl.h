#pragma once

#include <QObject>
#include <functional>
#include <optional>
#include <string>

#include "acquisition/k40/TestStart.h"

class QTabWidget;
class QWidget;

namespace dyno {

class AdSettingsPage;
class GraphsPage;
class K40Session;
class MessageSink;
class ParamPage;
class SessionModel;
class SetupPage;
class SpeedPage;
class TestPage;
struct ProgramState;

// The pages a start reads.
struct TestStartPages {
    TestPage& test;
    SetupPage& setup;
    ParamPage& param;
    AdSettingsPage& adSettings;
    GraphsPage& graphs;  // its "Show" choice is latched at a start
};

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

    TestControl(const TestStartPages& startPages, QTabWidget& pages, SpeedPage& speedPage,
                K40Session& k40, SessionModel& model, ProgramState& state, MessageSink& messages,
                QObject* parent = nullptr);

    void setCardStart(CardStart start) { cardStart_ = std::move(start); }
    // Asked before a start and before "Use Rpm data": true (after telling the user
    // through the sink it is given) while a test writes into slot 1. By default the
    // K40 link is asked.
    void setSlot1Guard(std::function<bool(MessageSink&)> isSlot1Refused) {
        isSlot1Refused_ = std::move(isSlot1Refused);
    }
    // Where a start that cannot go on and "Use Rpm data" report.
    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    const RpmConstants& rpmConstants() const { return rpmInForce_; }
    const ChannelSettingsSet& channelSettings() const { return channels_; }

    // The pages read into plain values.
    TestStartEntries readEntries() const;
    // What a start would prepare now, without starting.
    PreparedTestStart prepare(bool isRevCounterCheck) const;

  public slots:
    void startTest();
    void startRevCounterCheck();
    void useRpmData();

  signals:
    // The Graphs page's choice latched at a start: "Speed + Rpm" or "Speed".
    void graphChoiceLatched(bool isSpeedAndRpm);
    // A test or rev counter check is starting: both record into slot 1.
    void slot1Recording();

  private:
    void start(bool isRevCounterCheck);

    TestStartPages startPages_;
    QTabWidget& pages_;
    SpeedPage& speedPage_;
    K40Session& k40_;
    SessionModel& model_;
    ProgramState& state_;
    MessageSink* messages_;
    CardStart cardStart_;
    std::function<bool(MessageSink&)> isSlot1Refused_;
    RpmConstants rpmInForce_;
    ChannelSettingsSet channels_{};
};

}  // namespace dyno
