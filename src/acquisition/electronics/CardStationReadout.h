#pragma once

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardWeatherReadout.h"
#include "acquisition/k40/K40StatusView.h"
#include "model/MessageSink.h"
#include "model/TestSession.h"

namespace dyno {

// "Get data from Weatherstation" with the card: the station is read at once through
// the card's converter, its values fill the air boxes and its factor becomes slot 1's
// correction factor. Without a station ticked nothing is read and the factor is 1.
void readCardStationInto(CardBus& bus, const CardWeatherSetup& setup, TestSession& slot1,
                         K40StatusView& boxes, MessageSink& messages);

}  // namespace dyno
