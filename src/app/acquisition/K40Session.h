#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/k40/K40Link.h"

namespace dyno {

class K40LinkFactory;

// Shown when slot 1 is asked to load or save while a test is receiving data into it.
inline constexpr std::string_view kSlot1BusyText =
    "A test is receiving data into Test session 1. Wait until it has finished, then try again.";

// Where the K40 session shows and reports: the Speed page, the boxes of the Setup,
// Param. and Remarks pages, and the message boxes.
struct K40Views {
    SequenceView& sequence;
    LiveDisplay& live;
    K40StatusView& status;
    MessageSink& messages;
};

// The window's K40 link: the K40Link between the port the user names and the
// pages. Which link a port name reaches (serial port, simulated electronics) is
// the factory's to say.
class K40Session final : private MessageSink {
  public:
    K40Session(Clock& clock, K40LinkFactory& links, SessionModel& model, const K40Views& views);
    ~K40Session() override;
    K40Session(const K40Session&) = delete;
    K40Session& operator=(const K40Session&) = delete;

    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    // Reads the set-up a running session may change between runs (see
    // K40TestSequence::setSetupRefresh).
    void setSessionSetupRefresh(std::function<void(SessionSetup&)> refresh);
    // The weather station set-up in force when its readings arrive.
    void setWeatherSetupSource(std::function<K40WeatherSetup()> source);

    // At program start with the USB/serial electronics: open the port and ask the
    // electronics for their firmware version. Messages of this call go to `messages`.
    K40Link::Outcome sendStartUp(const std::string& portName, std::uint8_t transferDelay,
                                 MessageSink& messages);
    // "Start Test" or "Rev. Counter check" with the K40 electronics.
    K40Link::Outcome start(const K40Start& request);
    // The K40 half of "Get data from Weatherstation": the readings arrive later as
    // packets 20 and 21.
    K40Link::Outcome requestWeather(const std::string& portName, std::uint8_t transferDelay);

    // "Stop" on the Speed page, or Escape: a running test or rev counter check ends,
    // keeping the runs received whole. False when none was running.
    bool stop();
    bool isSessionRunning() const;

    // True while a received packet is being handled or its wait is pending: slot 1 and
    // the Speed page are the dispatch's until it is over.
    bool isBusy() const;
    // For the File page: true, after telling the user, when slot 1 must not be loaded
    // or saved now.
    bool refuseWhileBusy(MessageSink& messages) const;

    AcquisitionState& state() { return state_; }
    // What the last start sent, as plain values.
    const std::optional<K40Start>& lastStart() const { return lastStart_; }

  private:
    class NamedPortLink;

    void closeIfOtherPort(const std::string& portName);
    // MessageSink: where the link's messages go now.
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

    MessageSink* messages_;
    AcquisitionState state_;
    std::optional<K40Start> lastStart_;
    std::string openPortName_;
    std::function<K40WeatherSetup()> weatherSource_;
    std::unique_ptr<NamedPortLink> port_;
    std::unique_ptr<K40Link> link_;
};

}  // namespace dyno
