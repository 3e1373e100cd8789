#include "app/acquisition/CardSession.h"

#include <QPointer>
#include <QPushButton>
#include <string>

#include "acquisition/electronics/CardStationReadout.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "acquisition/k40/K40StatusView.h"
#include "app/acquisition/CardStartup.h"
#include "app/pages/SpeedPage.h"
#include "model/MessageSink.h"
#include "model/SessionModel.h"

namespace dyno {

// What the sequence shows, called on the worker and carried out on the window
// thread in the order it was asked for. Calls still queued when the Speed page or
// the session is gone are dropped.
class CardSession::QueuedViews final : public SequenceView,
                                       public LiveDisplay,
                                       public CardMarkerDisplay,
                                       public MessageSink {
  public:
    QueuedViews(SpeedPage& page, CardSession& session) : page_(&page), session_(&session) {}

    void showRemoteText(std::string_view text, Rgb shadow, Rgb font) override {
        onPage([text = std::string(text), shadow, font](SpeedPage& page) {
            page.showRemoteText(text, shadow, font);
        });
    }
    void showRemoteTextInLastColours(std::string_view text) override {
        onPage([text = std::string(text)](SpeedPage& page) {
            page.showRemoteTextInLastColours(text);
        });
    }
    void showDigit(int digit) override {
        onPage([digit](SpeedPage& page) { page.showDigit(digit); });
    }
    void drawNeedle(Dial dial, int position, Rgb colour) override {
        onPage([=](SpeedPage& page) { page.drawNeedle(dial, position, colour); });
    }
    void moveK40Marker(int channel, int oldPosition, int position) override {
        onPage([=](SpeedPage& page) { page.moveK40Marker(channel, oldPosition, position); });
    }
    void moveCardMarker(int channel, int oldOffset, int offset) override {
        onPage([=](SpeedPage& page) { page.moveCardMarker(channel, oldOffset, offset); });
    }
    void show(MessageKind kind, std::string_view caption, std::string_view text) override {
        session_->handToWindow(
            [session = session_, kind, caption = std::string(caption), text = std::string(text)] {
                session->messages_.show(kind, caption, text);
            });
    }

  private:
    template <typename Draw>
    void onPage(Draw draw) {
        session_->handToWindow([page = page_, draw] { draw(*page); });
    }

    SpeedPage* page_;
    CardSession* session_;
};

CardSession::CardSession(SessionModel& model, SpeedPage& speedPage, K40StatusView& boxes,
                         MessageSink& messages, QObject* parent)
    : QObject(parent),
      model_(model),
      speedPage_(speedPage),
      boxes_(boxes),
      messages_(messages),
      views_(std::make_unique<QueuedViews>(speedPage, *this)),
      liveTee_(std::make_unique<LiveViewTee>(*views_, *views_, model.slot(1))),
      wallClock_(std::make_unique<SteadyCardTiming>()) {}

CardSession::~CardSession() {
    stopAndWait();
}

void CardSession::useBus(std::unique_ptr<CardBus> bus, CardTiming* timing,
                         const CardChoice& choice) {
    bus_ = std::move(bus);
    busTiming_ = timing;
    openedFor_ = choice;
}

bool CardSession::openFor(const CardChoice& choice) {
    if (bus_ != nullptr && choice == openedFor_) return true;
    if (!opener_) {
        messages_.show(MessageKind::Error, kCardErrorCaption,
                       "The K70/K80 card cannot be reached by this program.");
        return false;
    }
    // The card chosen: connectCard opens it and reports a failure.
    CardStartup card = connectCard(Electronics::Card, choice, opener_, messages_);
    if (card.bus == nullptr) return false;
    useBus(std::move(card.bus), card.timing, choice);
    return true;
}

bool CardSession::refuseWhileRunning() const {
    if (!isRunning_) return false;
    messages_.show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
    return true;
}

DynoElectronics::Request CardSession::start(const PreparedTestStart& start) {
    if (refuseWhileRunning()) return Request::Busy;
    return this->start(start.card, start.cardChoice) ? Request::Done : Request::Failed;
}

DynoElectronics::Request CardSession::readWeatherStation(const StationRequest& request) {
    if (refuseWhileRunning()) return Request::Busy;
    const bool isRead = withIdleBus(request.cardChoice, [&](CardBus& bus) {
        readCardStationInto(bus, request.cardWeather, model_.slot(1), boxes_, messages_);
    });
    return isRead ? Request::Done : Request::Failed;
}

bool CardSession::stop() {
    if (!isRunning_) return false;
    requestStop();
    return true;
}

bool CardSession::start(const CardStart& start, const CardChoice& choice) {
    if (refuseWhileRunning() || !openFor(choice)) return false;
    CardTiming& timing = busTiming_ != nullptr ? *busTiming_ : *wallClock_;
    QueuedViews& views = *views_;
    liveTee_->beginSession(start.session, start.isRevCounterCheck, start.speedInMph);
    sequence_ = std::make_unique<CardSequence>(
        CardSequence::Seams{*bus_, timing, *liveTee_, *liveTee_, views, views}, model_.slot(1));
    isRunning_ = true;
    speedPage_.stopButton()->show();
    const unsigned session = ++session_;
    worker_ = std::thread([this, session, start, sequence = sequence_.get()] {
        const CardOutcome outcome = sequence->run(start);
        handToWindow([this, session, outcome] { finish(session, outcome); });
    });
    return true;
}

bool CardSession::withIdleBus(const CardChoice& choice, const std::function<void(CardBus&)>& use) {
    if (refuseWhileRunning() || !openFor(choice)) return false;
    use(*bus_);
    return true;
}

void CardSession::requestStop() {
    if (isRunning_ && sequence_) sequence_->requestStop();
}

void CardSession::stopAndWait() {
    if (!isRunning_) return;
    sequence_->requestStop();
    handBack();
}

void CardSession::handBack() {
    if (worker_.joinable()) worker_.join();
    isRunning_ = false;
    speedPage_.stopButton()->hide();
}

void CardSession::finish(unsigned session, const CardOutcome& outcome) {
    // A session stopped and joined by stopAndWait() has been handed back already.
    if (session != session_ || !isRunning_) return;
    handBack();
    lastOutcome_ = outcome;
    if (outcome.kind != CardOutcome::Kind::Finished) {
        messages_.show(MessageKind::Warning, kDynoCaption, outcome.message);
    }
    if (outcome.station) {
        boxes_.showStationValues(outcome.station->displayTexts);
        boxes_.showCorrectionFactor(outcome.station->correction.correctionText);
    }
    // The runs kept, with the station's correction the end of the session applied.
    liveTee_->sessionEnded(outcome.completedRuns);
    emit sessionEnded(outcome);
}

// The worker's calls wait in a queue of this session's own, under its own lock, and the
// window's thread runs them in order: a hand-over every tool can follow, the calls'
// captured values included. The toolkit is only asked to wake the window's thread.
void CardSession::handToWindow(std::function<void()> call) {
    {
        const std::scoped_lock lock(handOverMutex_);
        handOver_.push_back(std::move(call));
    }
    QMetaObject::invokeMethod(this, "runHandedOver", Qt::QueuedConnection);
}

void CardSession::runHandedOver() {
    for (;;) {
        std::function<void()> call;
        {
            const std::scoped_lock lock(handOverMutex_);
            if (handOver_.empty()) return;
            call = std::move(handOver_.front());
            handOver_.pop_front();
        }
        call();
    }
}

}  // namespace dyno
