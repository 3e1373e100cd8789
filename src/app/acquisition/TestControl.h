#pragma once

#include <QObject>
#include <optional>
#include <string>

#include "acquisition/electronics/TestStart.h"

class QTabWidget;
class QWidget;

namespace dyno {

class AdSettingsPage;
class ElectronicsChoice;
class GraphsPage;
class MessageSink;
class ParamPage;
class SessionModel;
class SetupPage;
class Slot1Lock;
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
// page to the front and starts the chosen electronics. `slot1` is asked before a
// start and before "Use Rpm data".
class TestControl : public QObject {
    Q_OBJECT
  public:
    TestControl(const TestStartPages& startPages, QTabWidget& pages, SpeedPage& speedPage,
                const ElectronicsChoice& electronics, const Slot1Lock& slot1, SessionModel& model,
                ProgramState& state, MessageSink& messages, QObject* parent = nullptr);

    // Where a start that cannot go on and "Use Rpm data" report.
    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    const RpmConstants& rpmConstants() const { return rpmInForce_; }
    const ChannelSettingsSet& channelSettings() const { return channels_; }

    // The pages read into plain values, and the values held in force with them.
    TestStartEntries readEntries() const;
    TestStartInForce inForce() const;
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
    const ElectronicsChoice& electronics_;
    const Slot1Lock& slot1_;
    SessionModel& model_;
    ProgramState& state_;
    MessageSink* messages_;
    RpmConstants rpmInForce_;
    ChannelSettingsSet channels_{};
};

}  // namespace dyno
