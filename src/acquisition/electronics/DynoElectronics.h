#pragma once

#include <optional>

#include "acquisition/SessionOutcome.h"
#include "acquisition/electronics/TestStart.h"

namespace dyno {

// The dyno's electronics as the window and `dynotool` hold them, whichever they are:
// the K40 over its serial link, the K70/K80 plug-in card, or a simulated twin of
// either behind the same ByteLink or CardBus. A new kind of electronics is one more
// implementation of this table, not one more branch in the callers.
class DynoElectronics {
  public:
    // What a start or a station request came to at once; how a session ended comes
    // later (lastOutcome).
    enum class Request {
        Done,         // started, or the request was made
        NothingToDo,  // a rev counter check without rpm registration
        Failed,       // the electronics could not be reached (the user has been told)
        Busy,         // slot 1 is the acquisition's now (the user has been told)
    };

    virtual ~DynoElectronics() = default;

    // "Start Test" or "Rev. Counter check" (`isRevCounterCheck` of the prepared start).
    virtual Request start(const PreparedTestStart& start) = 0;
    // "Get data from Weatherstation": the readings become slot 1's factor and fill the
    // air boxes, at once or when the electronics answer.
    virtual Request readWeatherStation(const StationRequest& request) = 0;
    // "Stop" on the Speed page, or Escape: a running session ends at its next step,
    // keeping the runs completed. False when none was running.
    virtual bool stop() = 0;
    // From a start until the session finishes, is stopped or loses its electronics.
    virtual bool isSessionRunning() const = 0;
    // True while slot 1 is the acquisition's: loads, saves, copies and updates of
    // slot 1 must wait.
    virtual bool isBusyWithSlot1() const = 0;
    // True while the electronics may write slot 1 at any moment, not only between the
    // window's events (a session on a thread of its own): nothing may even read it.
    virtual bool isWritingSlot1Meanwhile() const = 0;
    // How the last session ended; nothing before the first one has.
    virtual std::optional<SessionOutcome> lastOutcome() const = 0;
};

}  // namespace dyno
