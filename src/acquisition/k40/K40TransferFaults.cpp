#include "acquisition/k40/K40TransferFaults.h"

#include "acquisition/k40/K40Packet.h"

namespace dyno {

void K40TransferFaults::begin() {
    places_[0] = Place{};
    placeCount_ = 1;
    newest_ = 0;
    packets_ = 0;
    faults_ = 0;
    isWaitingForRevolution_ = false;
}

bool K40TransferFaults::takeSample(std::uint8_t code, const K40SampleCounts& counts) {
    if (code == k40code::kRollerSample) {
        isWaitingForRevolution_ = false;
        newest_ = (newest_ + 1) % kPlacesKept;
        places_[newest_] = Place{packets_, counts};
        if (placeCount_ < kPlacesKept) ++placeCount_;
    }
    ++packets_;
    return !isWaitingForRevolution_;
}

K40SampleCounts K40TransferFaults::faultFound() {
    ++faults_;
    isWaitingForRevolution_ = true;
    if (placeCount_ == 0) return {};
    // The newest place at least kPacketsAroundFault packets back, else the oldest kept.
    std::size_t chosen = newest_;
    for (std::size_t i = 0; i < placeCount_; ++i) {
        chosen = (newest_ + kPlacesKept - i) % kPlacesKept;
        if (places_[chosen].packet <= packets_ - kPacketsAroundFault) break;
    }
    const Place place = places_[chosen];
    // Later faults go back no further than this one did.
    places_[0] = place;
    placeCount_ = 1;
    newest_ = 0;
    packets_ = place.packet;
    return place.counts;
}

}  // namespace dyno
