#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "acquisition/ByteLink.h"
#include "acquisition/Clock.h"
#include "acquisition/card/CardBus.h"
#include "app/system/MessageBoxSink.h"
#include "simulator/SimulatedK40.h"

namespace dyno {

class SerialByteLink;

// The port device's refusal, with the line that tells the workshop how to let the
// program reach the card's ports.
CardBusOpening explainedPortRefusal(CardBusOpening opening);

// The byte link behind a K40 port name. The program's composition decides what a
// name reaches; the K40 session only names the port the user chose.
class K40LinkFactory {
  public:
    virtual ~K40LinkFactory() = default;
    // The link to the port `portName`, kept by the factory for the program's life.
    virtual ByteLink& linkFor(std::string_view portName) = 0;
};

// How the program is put together. Parts made from these options alone are
// simulated; only ProgramParts::forHardware reaches the serial ports and the card.
struct ProgramOptions {
    // With the hardware: `--simulate`, every K40 port name reaches the simulated
    // electronics and the K70/K80 card is the simulated one.
    bool isSimulated = false;
    // With the hardware: `--demo`, the simulated card; the K40 port goes where the
    // Setup page says (the demo's settings say "SIM").
    bool isCardSimulated = false;
    // Simulated parts: the line behind K40 port names other than "SIM", as the serial
    // port would be with the hardware (a test's line); null, every name reaches the
    // simulated electronics.
    ByteLink* otherPortsLink = nullptr;
    // The clock of the K40 link and of the simulated electronics; null uses the
    // toolkit's timers, `timeLapse` times faster than the wall clock.
    Clock* clock = nullptr;
    int timeLapse = 1;
    // The vehicle on the simulated roller and how its electronics behave: by default
    // at the line rate, the rider pressing the remote after a short pause. Their
    // `coastDown` is the rider's on the simulated card as well.
    std::string vehicle = "scooter50";
    SimulatedK40Options electronics = pacedElectronics();
    // The simulated K70/K80 card: simulated time per port access, and whether the
    // card is held to the wall clock (`timeLapse` times faster) so the needles move
    // at the rider's pace. Unpaced, a session runs as fast as the computer goes.
    std::int64_t cardAccessNs = 1000;
    bool isCardPaced = true;
    // Where the program's modal messages go; null shows message boxes.
    MessageSink* messages = nullptr;

    static SimulatedK40Options pacedElectronics() {
        SimulatedK40Options options;
        options.isPacedAtLineRate = true;
        return options;
    }
};

// The parts the window is built on, chosen in one place: the clock, the K40 links
// (serial port, simulated electronics), the card bus and the message sink, from which
// the window makes its electronics.
class ProgramParts final : private K40LinkFactory {
  public:
    // Simulated parts: the simulated K40 on every port name (or `otherPortsLink`
    // beside "SIM") and the simulated card.
    explicit ProgramParts(const ProgramOptions& options = {});
    // The program's own parts, for its entry alone: the serial ports and the port
    // device, unless `--simulate` or `--demo` say otherwise.
    static std::unique_ptr<ProgramParts> forHardware(const ProgramOptions& options);
    ~ProgramParts() override;
    ProgramParts(const ProgramParts&) = delete;
    ProgramParts& operator=(const ProgramParts&) = delete;

    Clock& clock() { return *clock_; }
    K40LinkFactory& k40Links() { return *this; }
    // The simulated K40 electronics, once a port name has reached them.
    SimulatedK40* simulatedK40() const { return simulatedK40_.get(); }
    // Opens the K70/K80 card's bus: the port device, or with `--simulate` or `--demo`
    // the simulated card with the chosen vehicle on the roller of the chosen dyno.
    CardBusOpener cardBusOpener() const;
    // The program's modal messages: message boxes over the active window.
    MessageSink& messages() {
        return options_.messages != nullptr ? *options_.messages : messageBoxes_;
    }

  private:
    ProgramParts(const ProgramOptions& options, bool isHardware);
    ByteLink& linkFor(std::string_view portName) override;
    bool isCardSimulated() const;

    ProgramOptions options_;
    bool isHardware_;
    std::unique_ptr<Clock> ownedClock_;
    Clock* clock_;
    MessageBoxSink messageBoxes_;
    // Made when a port name first asks for them; destroyed before the clock.
    std::unique_ptr<SerialByteLink> serial_;
    std::unique_ptr<SimulatedK40> simulatedK40_;
};

}  // namespace dyno
