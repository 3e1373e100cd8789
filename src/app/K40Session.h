#pragma once

#include <functional>

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "acquisition/k40/K40Link.h"
#include "simulator/SimulatedK40.h"

class QWidget;

namespace dyno {

// The port name that plugs the simulated electronics in instead of a serial port.
inline constexpr std::string_view kSimulatedPortName = "SIM";

// Shown when slot 1 is asked to load or save while a test is receiving into it.
inline constexpr std::string_view kSlot1BusyText =
    "A test is receiving data into Test session 1. Wait until it has finished, then try again.";

// How the window talks to the K40 electronics.
struct K40SessionOptions {
    // `--simulate`: the simulated electronics whatever port `comedit` names.
    bool isAlwaysSimulated = false;
    // The clock of the link and of the simulated electronics; null uses the toolkit's
    // timers, `timeLapse` times faster than the wall clock.
    Clock* clock = nullptr;
    int timeLapse = 1;
    // The vehicle on the simulated roller and how its electronics behave: by default
    // at the line rate, the rider pressing the remote after a short pause.
    std::string vehicle = "scooter50";
    SimulatedK40Options electronics = pacedElectronics();

    static SimulatedK40Options pacedElectronics() {
        SimulatedK40Options options;
        options.isPacedAtLineRate = true;
        return options;
    }
};

// The window's K40 link: owns the clock, the serial port, the simulated electronics
// (port "SIM" or `--simulate`) and the K40Link between them and the Speed page. The
// Setup page's LED, firmware version, sample setting and the Param. page's weather
// boxes are written by component name under `window`.
class K40Session final : private K40StatusView, private MessageSink {
  public:
    K40Session(QWidget& window, SessionModel& model, SequenceView& sequenceView,
               LiveDisplay& liveDisplay, MessageSink& messages);
    ~K40Session() override;
    K40Session(const K40Session&) = delete;
    K40Session& operator=(const K40Session&) = delete;

    // Takes effect at the next use of the link; a link in use is closed first.
    void configure(const K40SessionOptions& options);
    const K40SessionOptions& options() const { return options_; }
    void setMessageSink(MessageSink& messages) { messages_ = &messages; }
    // Reads the set-up a running session may change between runs (see
    // K40TestSequence::setSetupRefresh).
    void setSessionSetupRefresh(std::function<void(K40SessionSetup&)> refresh);

    // At program start with the USB/serial electronics: open the port and ask the
    // electronics for their firmware version. Messages of this call go to `messages`.
    K40Link::Outcome sendStartUp(const QString& portName, std::uint8_t transferDelay,
                                 MessageSink& messages);
    // "Start Test" or "Rev. Counter check" with the K40 electronics.
    K40Link::Outcome start(const K40Start& request);

    // True while a received packet is being handled or its wait is pending: slot 1 and
    // the Speed page are the dispatch's until it is over.
    bool isBusy() const;
    // For the File page: true, after telling the user, when slot 1 must not be loaded
    // or saved now.
    bool refuseWhileBusy(MessageSink& messages) const;

    AcquisitionState& state() { return state_; }
    // The simulated electronics, once the port "SIM" has been asked for.
    SimulatedK40* simulatedElectronics() const { return simulated_.get(); }
    // What the last start sent, as plain values.
    const std::optional<K40Start>& lastStart() const { return lastStart_; }

  private:
    class PortChoice;

    K40Link& link();
    void closeIfOtherPort(const std::string& portName);

    // K40StatusView: the Setup and Param. pages' boxes.
    void setLed(bool isOn) override;
    void showFirmwareVersion(std::string_view high, std::string_view low) override;
    void showSampleSetting(std::string_view samples) override;
    void showStationValues(const StationDisplayTexts& texts) override;
    void showCorrectionFactor(std::string_view text) override;
    // MessageSink: where the link's messages go now.
    void show(MessageKind kind, std::string_view caption, std::string_view text) override;

    QWidget& window_;
    SessionModel& model_;
    SequenceView& sequenceView_;
    LiveDisplay& liveDisplay_;
    MessageSink* messages_;
    K40SessionOptions options_;
    AcquisitionState state_;
    std::optional<K40Start> lastStart_;
    std::string openPortName_;

    // Destroyed in reverse: the link first, the clock last.
    std::unique_ptr<Clock> ownedClock_;
    std::unique_ptr<ByteLink> serial_;
    std::unique_ptr<SimulatedK40> simulated_;
    std::unique_ptr<PortChoice> portChoice_;
    std::unique_ptr<K40Link> link_;
    std::function<void(K40SessionSetup&)> setupRefresh_;
};

}  // namespace dyno
