#pragma once

#include <string_view>

#include "acquisition/electronics/ElectronicsChoice.h"
#include "model/MessageSink.h"

namespace dyno {

// Shown when slot 1 is asked to load or save while a test is receiving data into it.
inline constexpr std::string_view kSlot1BusyText =
    "A test is receiving data into Test session 1. Wait until it has finished, then try again.";

// The one lock on slot 1: asks the electronics whether slot 1 is the acquisition's
// now and, when it is, tells the user and refuses. Every part that loads, saves,
// copies, evaluates or prints slot 1 is handed this lock when it is made.
class Slot1Lock {
  public:
    Slot1Lock(const ElectronicsChoice& electronics, MessageSink& messages)
        : electronics_(electronics), messages_(messages) {}

    // Loads, saves, factors and starts: refused while either electronics is busy with
    // slot 1 (a K40 packet being handled or its wait, a card session).
    bool refuseChange() const { return refuseChange(messages_); }
    bool refuseChange(MessageSink& messages) const {
        return refuseIf(electronics_.isEitherBusyWithSlot1(), messages);
    }
    // Evaluating, copying and printing slot 1: refused while the electronics write it
    // at any moment, from a thread of their own (a card session).
    bool refuseReading() const {
        return refuseIf(electronics_.isEitherWritingSlot1Meanwhile(), messages_);
    }

  private:
    static bool refuseIf(bool isRefused, MessageSink& messages) {
        if (isRefused) messages.show(MessageKind::Warning, kDynoCaption, kSlot1BusyText);
        return isRefused;
    }

    const ElectronicsChoice& electronics_;
    MessageSink& messages_;
};

}  // namespace dyno
