#pragma once

#include <cstdint>
#include <string>

#include "acquisition/SequenceView.h"

namespace dyno {

// What the Speed page shows the rider at this moment, as the rider's live view sends
// it: the two needles, the instruction `remotetext` in its colours and the run number.
struct LiveReadings {
    // Needle positions as the Speed page draws them: 0..320 degrees of travel.
    int speedPosition = 0;
    int rpmPosition = 0;
    std::string instruction;
    Rgb shadow = Rgb::Black;
    Rgb font = Rgb::Black;
    int runNumber = 0;
    // The speed needle's unit: the card's needle follows "Show speed as MPH", the
    // K40's always shows km/h.
    bool isSpeedNeedleInMph = false;
    // Counts every change, so a sender sees whether there is anything new.
    std::uint64_t revision = 0;
    // When the newest change came, milliseconds of the system clock: the page measures
    // from here how late it shows it.
    std::int64_t changedAtMs = 0;
    // The oldest change not yet sent (taken by LiveFeed::takeReadings): how long the
    // earliest of the changes a send carries has waited.
    std::int64_t firstUnsentChangeAtMs = 0;

    friend bool operator==(const LiveReadings&, const LiveReadings&) = default;
};

}  // namespace dyno
