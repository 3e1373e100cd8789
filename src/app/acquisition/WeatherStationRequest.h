#pragma once

#include <QObject>
#include <functional>

namespace dyno {

class CardSession;
class K40Session;
class K40StatusView;
class MessageSink;
class ParamPage;
class SessionModel;
class SetupPage;
struct ProgramState;

// What "Get data from Weatherstation" reads and where the answer goes.
struct WeatherStationParts {
    SetupPage& setup;
    ParamPage& param;
    K40Session& k40;
    CardSession& card;
    K40StatusView& boxes;  // the air boxes of the Param. and Remarks pages, `correctionedit`
    SessionModel& model;
    const ProgramState& state;
    MessageSink& messages;
    std::function<bool()> isSlot1Refused;  // true, after telling the user, while slot 1 is busy
};

// "Get data from Weatherstation". With the USB/serial electronics the K40 is asked
// for the station's readings, which arrive later as packets 20 and 21 and set the
// factors of slot 1. With the card the station is read at once through the card's
// converter (the bus is the window's between sessions): its values fill the air
// boxes and its factor becomes slot 1's correction factor; without a station ticked
// nothing is read and the factor is 1.
class WeatherStationRequest : public QObject {
    Q_OBJECT
  public:
    explicit WeatherStationRequest(const WeatherStationParts& parts, QObject* parent = nullptr);

  public slots:
    void request();

  private:
    void readThroughCard();

    WeatherStationParts parts_;
};

}  // namespace dyno
