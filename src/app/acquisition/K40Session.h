#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/electronics/DynoElectronics.h"
#include "acquisition/electronics/Slot1Lock.h"
#include "acquisition/k40/K40Link.h"
#include "liveview/LiveViewTee.h"

namespace dyno {

class K40LinkFactory;

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
// the factory's to say. This is the window's K40 in the electronics table.
class K40Session final : public DynoElectronics, private MessageSink {
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
    bool stop() override;
    bool isSessionRunning() const override;

    // True while a received packet is being handled or its wait is pending: slot 1 and
    // the Speed page are the dispatch's until it is over.
    bool isBusy() const;

    // The electronics table: the prepared start's K40 request; the station's readings
    // are asked for and arrive later as packets 20 and 21.
    Request start(const PreparedTestStart& start) override;
    Request readWeatherStation(const StationRequest& request) override;
    bool isBusyWithSlot1() const override { return isBusy(); }
    // The link writes slot 1 on the window thread only.
    bool isWritingSlot1Meanwhile() const override { return false; }
    std::optional<SessionOutcome> lastOutcome() const override { return link_->lastOutcome(); }

    AcquisitionState& state() { return state_; }
    // Between the link and the Speed page: what the rider's live view is fed from.
    LiveViewTee& liveViewTee() { return liveTee_; }
    // What the last start sent, as plain values.
    const std::optional<K40Start>& lastStart() const { return lastStart_; }

  private:
    class NamedPortLink;

    void closeIfOtherPort(const std::string& portName);
    // MessageSink: where the link's messages go now.
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

    MessageSink* messages_;
    LiveViewTee liveTee_;
    AcquisitionState state_;
    std::optional<K40Start> lastStart_;
    std::string openPortName_;
    std::function<K40WeatherSetup()> weatherSource_;
    std::unique_ptr<NamedPortLink> port_;
    std::unique_ptr<K40Link> link_;
};

}  // namespace dyno
