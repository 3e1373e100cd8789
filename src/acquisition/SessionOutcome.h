#pragma once

#include <optional>
#include <string>

#include "evaluation/CorrectionSources.h"

namespace dyno {

// How a test session or rev counter check of either electronics ended.
struct SessionOutcome {
    enum class Kind {
        Finished,  // three runs recorded, or the rev counter check ended by the remote
        Stopped,   // the user stopped it
        NoSignal,  // a roller or ignition edge did not come (the card)
        LinkLost,  // the port to the electronics failed (the K40)
    };
    Kind kind = Kind::Finished;
    int completedRuns = 0;
    std::string message;  // for a session that did not finish: what happened
    // The station's readout at the end of a finished card session, for the air boxes;
    // nothing without a station, and nothing from the K40, whose station answers as
    // packets of their own.
    std::optional<StationCorrection> station;
};

}  // namespace dyno
