#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/electronics/DynoElectronics.h"
#include "acquisition/electronics/TestStart.h"
#include "liveview/LiveViewTee.h"

namespace dyno {

class K40StatusView;
class MessageSink;
class SessionModel;
class SpeedPage;

// The window's K70/K80 card: its bus, and the card sequence run on a worker thread
// that owns the bus and slot 1 for the session. The sequence draws on the Speed page
// through queued calls, so the window stays live; "Stop" on the Speed page, Escape
// and closing the window stop it at its next wait. While it runs, slot 1 is the
// worker's: the window's loads, saves, copies and updates of slot 1 are refused
// (isWritingSlot1Meanwhile). When it ends, slot 1 is handed back, a session that did
// not finish shows the sequence's message and the station read at the end of one
// that did fills the air boxes. This is the window's card in the
// electronics table.
class CardSession : public QObject, public DynoElectronics {
    Q_OBJECT
  public:
    // `boxes`: the air boxes a station readout between sessions fills.
    CardSession(SessionModel& model, SpeedPage& speedPage, K40StatusView& boxes,
                MessageSink& messages, QObject* parent = nullptr);
    ~CardSession() override;
    CardSession(const CardSession&) = delete;
    CardSession& operator=(const CardSession&) = delete;

    // Opens the bus at a card start or a readout that finds it closed, or opened for
    // another dyno. Empty: the card cannot be reached.
    void setOpener(CardBusOpener opener) { opener_ = std::move(opener); }
    // The bus opened at start-up, for `choice`.
    void useBus(std::unique_ptr<CardBus> bus, CardTiming* timing, const CardChoice& choice);

    // Starts a test or rev counter check on the worker. False, after telling the
    // user, when a session runs already or the card cannot be opened.
    bool start(const CardStart& start, const CardChoice& choice);
    // Runs `use` on the bus on the window thread, briefly, between sessions. False,
    // after telling the user, while a session runs or when the card cannot be opened.
    bool withIdleBus(const CardChoice& choice, const std::function<void(CardBus&)>& use);

    bool isRunning() const { return isRunning_; }
    // Between the sequence and the queue to the Speed page, on the worker's thread:
    // what the rider's live view is fed from.
    LiveViewTee& liveViewTee() { return *liveTee_; }

    // The electronics table: the prepared card start on the card it names; the
    // station read through the card at once, between sessions. While a session runs
    // slot 1 is the worker's, written at any moment.
    Request start(const PreparedTestStart& start) override;
    Request readWeatherStation(const StationRequest& request) override;
    bool stop() override;
    bool isSessionRunning() const override { return isRunning_; }
    bool isBusyWithSlot1() const override { return isRunning_; }
    bool isWritingSlot1Meanwhile() const override { return isRunning_; }
    std::optional<SessionOutcome> lastOutcome() const override { return lastOutcome_; }

  public slots:
    // Every wait of the running sequence ends; the session ends soon after.
    void requestStop();
    // Stops a running session and waits for its thread: slot 1 is the window's
    // again when this returns. Nothing is shown.
    void stopAndWait();

  signals:
    // On the window thread, once slot 1 has been handed back.
    void sessionEnded(const dyno::SessionOutcome& outcome);

  private slots:
    // On the window's thread: the calls the worker has handed over, in order.
    void runHandedOver();

  private:
    class QueuedViews;

    // From the worker: `call` is to run on the window's thread.
    void handToWindow(std::function<void()> call);
    bool openFor(const CardChoice& choice);
    // True, after telling the user, while a session owns slot 1.
    bool refuseWhileRunning() const;
    void finish(unsigned session, const SessionOutcome& outcome);
    void handBack();

    SessionModel& model_;
    SpeedPage& speedPage_;
    K40StatusView& boxes_;
    MessageSink& messages_;
    std::unique_ptr<QueuedViews> views_;
    std::unique_ptr<LiveViewTee> liveTee_;
    CardBusOpener opener_;
    std::unique_ptr<CardBus> bus_;
    CardTiming* busTiming_ = nullptr;
    std::unique_ptr<CardTiming> wallClock_;
    CardChoice openedFor_;

    std::unique_ptr<CardSequence> sequence_;
    std::thread worker_;
    bool isRunning_ = false;
    std::optional<SessionOutcome> lastOutcome_;
    unsigned session_ = 0;  // counts starts, so a late end of a joined session is ignored
    std::mutex handOverMutex_;
    std::deque<std::function<void()>> handOver_;
};

}  // namespace dyno
