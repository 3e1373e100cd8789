#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include "acquisition/card/CardSequence.h"
#include "acquisition/electronics/DynoElectronics.h"
#include "acquisition/k40/K40StatusView.h"

namespace dyno {

// The K70/K80 card run in its caller's thread: a start returns when the session or
// check is over, its outcome kept for lastOutcome(). For `dynotool` and tests, which
// have nothing else to do meanwhile; the window runs the same sequence on a worker
// (app's CardSession). The bus is the real card or the simulated one on a CardBus.
class CardElectronics final : public DynoElectronics {
  public:
    struct Seams {
        CardBus& bus;
        CardTiming& timing;
        SequenceView& view;
        LiveDisplay& live;
        CardMarkerDisplay& markers;
        K40StatusView& boxes;  // the air boxes a station readout fills
        MessageSink& messages;
    };

    CardElectronics(const Seams& seams, TestSession& slot1) : seams_(seams), slot1_(slot1) {}

    Request start(const PreparedTestStart& start) override;
    Request readWeatherStation(const StationRequest& request) override;
    // From another thread (a stop signal's watcher) while start() runs.
    bool stop() override;
    bool isSessionRunning() const override { return isRunning_.load(); }
    bool isBusyWithSlot1() const override { return isRunning_.load(); }
    bool isWritingSlot1Meanwhile() const override { return false; }
    std::optional<SessionOutcome> lastOutcome() const override { return lastOutcome_; }

  private:
    Seams seams_;
    TestSession& slot1_;
    // Made at each start and kept until the next, so a late stop finds it.
    std::unique_ptr<CardSequence> sequence_;
    std::atomic<bool> isRunning_{false};
    std::optional<SessionOutcome> lastOutcome_;
};

}  // namespace dyno
