#pragma once

#include <memory>
#include <optional>
#include <string_view>

#include "acquisition/card/CardBus.h"
#include "evaluation/DynoConstants.h"
#include "model/MessageSink.h"

namespace dyno {

// The caption of the box that shows why the card could not be reached.
inline constexpr std::string_view kCardErrorCaption = "GetLastError";

struct CardStartup {
    std::unique_ptr<CardBus> bus;  // kept for the whole run; empty without the card
    CardTiming* timing = nullptr;  // the bus's own time, null for the wall clock
    // Set when the program must end now, with this status: the card was chosen and
    // could not be opened. The caller returns it from main().
    std::optional<int> exitStatus;
};

// The last start-up step for the K70/K80 card: with the card electronics ("K80/K70
// type card") the card bus is opened; if that fails the system's reason is shown
// with the caption "GetLastError" and exit status 1 is asked for. Other electronics
// leave the bus closed, and so does an empty `openBus` (the simulated card is
// plugged in elsewhere).
CardStartup connectCard(Electronics electronics, const CardChoice& choice,
                        const CardBusOpener& openBus, MessageSink& messages);

}  // namespace dyno
