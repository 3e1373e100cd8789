#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <thread>

#include "acquisition/CardBus.h"
#include "acquisition/card/CardSequence.h"
#include "acquisition/k40/TestStart.h"

class QWidget;

namespace dyno {

class MessageSink;
class SessionModel;
class SpeedPage;
struct ProgramState;

// The card choice of the settings in force: dyno model, roller and card base.
CardChoice cardChoiceOf(int dynoModelIndex, const ProgramState& state);

// A card start from the prepared constants and what the program holds in force: the
// card's base, remote button and its delay, the A/D settle wait, the station.
CardStart cardStartOf(const PreparedTestStart& prepared, const ProgramState& state, bool speedInMph,
                      bool isRevCounterCheck);

// The window's K70/K80 card: its bus, and the card sequence run on a worker thread
// that owns the bus and slot 1 for the session. The sequence draws on the Speed page
// through queued calls, so the window stays live; "Stop" on the Speed page, Escape
// and closing the window stop it at its next wait. While it runs, slot 1 is the
// worker's: the window's loads, saves, copies and updates of slot 1 are refused
// (refuseWhileRunning). When it ends, slot 1 is handed back and a session that did
// not finish shows the sequence's message.
class CardSession : public QObject {
    Q_OBJECT
  public:
    CardSession(SessionModel& model, SpeedPage& speedPage, MessageSink& messages,
                QObject* parent = nullptr);
    ~CardSession() override;
    CardSession(const CardSession&) = delete;
    CardSession& operator=(const CardSession&) = delete;

    // Opens the bus at a card start or a readout that finds it closed, or opened for
    // another dyno. Empty: the card cannot be reached.
    void setOpener(CardBusOpener opener) { opener_ = std::move(opener); }
    // The bus opened at start-up, for `choice`.
    void useBus(std::unique_ptr<CardBus> bus, CardTiming* timing, const CardChoice& choice);
    // Escape pressed anywhere in `window` stops a running session.
    void stopOnEscapeIn(QWidget& window);

    // Starts a test or rev counter check on the worker. False, after telling the
    // user, when a session runs already or the card cannot be opened.
    bool start(const CardStart& start, const CardChoice& choice);
    // Runs `use` on the bus on the window thread, briefly, between sessions. False,
    // after telling the user, while a session runs or when the card cannot be opened.
    bool withIdleBus(const CardChoice& choice, const std::function<void(CardBus&)>& use);

    bool isRunning() const { return isRunning_; }
    // True, after telling the user, while a session owns slot 1.
    bool refuseWhileRunning(MessageSink& messages) const;

  public slots:
    // Every wait of the running sequence ends; the session ends soon after.
    void requestStop();
    // Stops a running session and waits for its thread: slot 1 is the window's
    // again when this returns. Nothing is shown.
    void stopAndWait();

  signals:
    // On the window thread, once slot 1 has been handed back.
    void sessionEnded(const dyno::CardOutcome& outcome);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    class QueuedViews;

    bool openFor(const CardChoice& choice);
    void finish(unsigned session, const CardOutcome& outcome);
    void handBack();

    SessionModel& model_;
    SpeedPage& speedPage_;
    MessageSink& messages_;
    std::unique_ptr<QueuedViews> views_;
    CardBusOpener opener_;
    std::unique_ptr<CardBus> bus_;
    CardTiming* busTiming_ = nullptr;
    std::unique_ptr<CardTiming> wallClock_;
    CardChoice openedFor_;
    QWidget* window_ = nullptr;

    std::unique_ptr<CardSequence> sequence_;
    std::thread worker_;
    bool isRunning_ = false;
    unsigned session_ = 0;  // counts starts, so a late end of a joined session is ignored
};

}  // namespace dyno
