#pragma once

#include "acquisition/electronics/DynoElectronics.h"
#include "evaluation/DynoConstants.h"

namespace dyno {

// The electronics of both kinds the program holds, and the one place that picks
// which of them a stored `electronics` index means.
class ElectronicsChoice {
  public:
    ElectronicsChoice(DynoElectronics& card, DynoElectronics& usbSerial)
        : card_(card), usbSerial_(usbSerial) {}

    DynoElectronics& of(Electronics electronics) const {
        return electronics == Electronics::UsbSerial ? usbSerial_ : card_;
    }
    // Through electronicsOf: an index the list does not have counts as the card.
    DynoElectronics& ofIndex(int electronicsIndex) const {
        return of(electronicsOf(electronicsIndex));
    }

    // Slot 1 stays the acquisition's until a session of either kind lets it go, even
    // when the Setup page's choice changed meanwhile.
    bool isEitherBusyWithSlot1() const {
        return usbSerial_.isBusyWithSlot1() || card_.isBusyWithSlot1();
    }
    bool isEitherWritingSlot1Meanwhile() const {
        return usbSerial_.isWritingSlot1Meanwhile() || card_.isWritingSlot1Meanwhile();
    }
    bool isEitherSessionRunning() const {
        return usbSerial_.isSessionRunning() || card_.isSessionRunning();
    }
    // "Stop" and Escape: whichever session runs ends. False when none was running.
    bool stopRunning() const {
        const bool isK40Stopped = usbSerial_.stop();
        const bool isCardStopped = card_.stop();
        return isK40Stopped || isCardStopped;
    }

  private:
    DynoElectronics& card_;
    DynoElectronics& usbSerial_;
};

}  // namespace dyno
