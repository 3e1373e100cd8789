#pragma once

#include <QObject>

namespace dyno {

class ElectronicsChoice;
class SetupPage;
class Slot1Lock;
class TestControl;

// What "Get data from Weatherstation" reads and asks.
struct WeatherStationParts {
    SetupPage& setup;          // its button
    const TestControl& start;  // the pages and the values in force, as a start reads them
    const ElectronicsChoice& electronics;
    const Slot1Lock& slot1;  // either answer writes slot 1's factors
};

// "Get data from Weatherstation": the chosen electronics read the station. The K40 is
// asked for the station's readings, which arrive later as packets 20 and 21 and set
// the factors of slot 1. The card reads the station at once through its converter
// (the bus is the window's between sessions): its values fill the air boxes and its
// factor becomes slot 1's correction factor; without a station ticked nothing is
// read and the factor is 1.
class WeatherStationRequest : public QObject {
    Q_OBJECT
  public:
    explicit WeatherStationRequest(const WeatherStationParts& parts, QObject* parent = nullptr);

  public slots:
    void request();

  private:
    WeatherStationParts parts_;
};

}  // namespace dyno
