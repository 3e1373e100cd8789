#pragma once

#include <string>

#include "acquisition/RecordingViews.h"
#include "acquisition/card/CardMarkerDisplay.h"

namespace dyno::test {

// The recording display with the card's markers: "card marker 1 0->295".
class RecordingCardDisplay final : public CardMarkerDisplay {
  public:
    explicit RecordingCardDisplay(RecordingDisplay& display) : display_(display) {}
    void moveCardMarker(int channel, int oldOffset, int offset) override {
        display_.log.push_back("card marker " + std::to_string(channel) + " " +
                               std::to_string(oldOffset) + "->" + std::to_string(offset));
    }

  private:
    RecordingDisplay& display_;
};

}  // namespace dyno::test
