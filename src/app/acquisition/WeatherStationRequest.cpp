#include "app/acquisition/WeatherStationRequest.h"

#include <QPushButton>

#include "acquisition/electronics/ElectronicsChoice.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "app/acquisition/TestControl.h"
#include "app/pages/SetupPage.h"

namespace dyno {

WeatherStationRequest::WeatherStationRequest(const WeatherStationParts& parts, QObject* parent)
    : QObject(parent), parts_(parts) {
    connect(parts_.setup.weatherStationButton(), &QPushButton::clicked, this,
            &WeatherStationRequest::request);
}

void WeatherStationRequest::request() {
    if (parts_.slot1.refuseChange()) return;
    const TestStartEntries entries = parts_.start.readEntries();
    parts_.electronics.ofIndex(entries.electronicsIndex)
        .readWeatherStation(prepareStationRequest(entries, parts_.start.inForce()));
}

}  // namespace dyno
