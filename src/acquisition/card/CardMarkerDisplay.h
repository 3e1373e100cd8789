#pragma once

namespace dyno {

// The card's live markers above the level bars of analog channels 1 and 2: erased
// at `oldOffset`, drawn at `offset` (pixels 0..296 from the bar's left end).
class CardMarkerDisplay {
  public:
    virtual ~CardMarkerDisplay() = default;
    virtual void moveCardMarker(int channel, int oldOffset, int offset) = 0;
};

}  // namespace dyno
