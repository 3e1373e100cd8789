#include "acquisition/electronics/CardElectronics.h"

#include "acquisition/electronics/CardStationReadout.h"

namespace dyno {

DynoElectronics::Request CardElectronics::start(const PreparedTestStart& start) {
    if (isRunning_.exchange(true)) return Request::Busy;
    sequence_ = std::make_unique<CardSequence>(
        CardSequence::Seams{seams_.bus, seams_.timing, seams_.view, seams_.live, seams_.markers,
                            seams_.messages},
        slot1_);
    lastOutcome_ = sequence_->run(start.card);
    isRunning_.store(false);
    return Request::Done;
}

DynoElectronics::Request CardElectronics::readWeatherStation(const StationRequest& request) {
    if (isRunning_.load()) return Request::Busy;
    readCardStationInto(seams_.bus, request.cardWeather, slot1_, seams_.boxes, seams_.messages);
    return Request::Done;
}

bool CardElectronics::stop() {
    if (!isRunning_.load()) return false;
    sequence_->requestStop();
    return true;
}

}  // namespace dyno
