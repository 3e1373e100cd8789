#pragma once

#include <optional>

#include "acquisition/electronics/DynoElectronics.h"
#include "acquisition/electronics/ElectronicsChoice.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "model/MessageSink.h"

namespace dyno::testing {

// Electronics that record nothing: a test says whether slot 1 is theirs now.
class StandInElectronics final : public DynoElectronics {
  public:
    bool isBusy = false;              // a K40 packet's wait, or a card session
    bool isWritingMeanwhile = false;  // a card session on its worker

    Request start(const PreparedTestStart&) override { return Request::Done; }
    Request readWeatherStation(const StationRequest&) override { return Request::Done; }
    bool stop() override { return false; }
    bool isSessionRunning() const override { return isBusy; }
    bool isBusyWithSlot1() const override { return isBusy; }
    bool isWritingSlot1Meanwhile() const override { return isWritingMeanwhile; }
    std::optional<SessionOutcome> lastOutcome() const override { return std::nullopt; }
};

// A slot-1 lock on stand-in electronics of both kinds, telling `messages`.
struct StandInSlot1 {
    explicit StandInSlot1(MessageSink& messages) : lock(choice, messages) {}

    StandInElectronics card;
    StandInElectronics k40;
    ElectronicsChoice choice{card, k40};
    Slot1Lock lock;
};

}  // namespace dyno::testing
