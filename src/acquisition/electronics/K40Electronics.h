#pragma once

#include "acquisition/electronics/DynoElectronics.h"
#include "acquisition/k40/K40Link.h"
#include "model/MessageSink.h"

namespace dyno {

// The K40 electronics behind a K40Link: a real serial port or the simulated K40 on
// a ByteLink. The link does the work; this is its entry in the electronics table.
class K40Electronics final : public DynoElectronics {
  public:
    K40Electronics(K40Link& link, MessageSink& messages) : link_(link), messages_(messages) {}

    Request start(const PreparedTestStart& start) override;
    Request readWeatherStation(const StationRequest& request) override;
    bool stop() override { return link_.stopSession(); }
    bool isSessionRunning() const override { return link_.isSessionRunning(); }
    bool isBusyWithSlot1() const override { return link_.isDispatching() || link_.isPaused(); }
    // The link writes slot 1 on its caller's thread only.
    bool isWritingSlot1Meanwhile() const override { return false; }
    std::optional<SessionOutcome> lastOutcome() const override { return link_.lastOutcome(); }

  private:
    Request told(K40Link::Outcome outcome);

    K40Link& link_;
    MessageSink& messages_;
};

// What a K40 link's answer to a start or station request means to the table.
DynoElectronics::Request requestOf(K40Link::Outcome outcome);

}  // namespace dyno
