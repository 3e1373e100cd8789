#include "app/composition/ProgramParts.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <thread>

#include "acquisition/ports/LinuxPortCardBus.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "simulator/SimulatedCard.h"
#include "simulator/VehicleProfile.h"
#include "simulator/WallClockPacer.h"

namespace dyno {

ProgramParts::ProgramParts(const ProgramOptions& options) : ProgramParts(options, false) {}

std::unique_ptr<ProgramParts> ProgramParts::forHardware(const ProgramOptions& options) {
    return std::unique_ptr<ProgramParts>(new ProgramParts(options, true));
}

ProgramParts::ProgramParts(const ProgramOptions& options, bool isHardware)
    : options_(options), isHardware_(isHardware) {
    if (options_.clock == nullptr) ownedClock_ = std::make_unique<QtClock>(options_.timeLapse);
    clock_ = options_.clock != nullptr ? options_.clock : ownedClock_.get();
}

ProgramParts::~ProgramParts() = default;

bool ProgramParts::isCardSimulated() const {
    return !isHardware_ || options_.isSimulated || options_.isCardSimulated;
}

ByteLink& ProgramParts::linkFor(std::string_view portName) {
    const bool isOtherPortReal = isHardware_ && !options_.isSimulated;
    const bool isOtherPortGiven = !isHardware_ && options_.otherPortsLink != nullptr;
    if (portName != kSimulatedPortName && isOtherPortGiven) return *options_.otherPortsLink;
    if (portName == kSimulatedPortName || !isOtherPortReal) {
        if (!simulatedK40_) {
            const VehicleProfile* vehicle = findVehicleProfile(options_.vehicle);
            if (vehicle == nullptr) vehicle = &vehicleProfiles().front();
            simulatedK40_ = std::make_unique<SimulatedK40>(*clock_, *vehicle, options_.electronics);
        }
        return *simulatedK40_;
    }
    if (!serial_) serial_ = std::make_unique<SerialByteLink>();
    return *serial_;
}

namespace {

// The one line that tells the workshop how to let the program reach the card.
std::string portGrantLine() {
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    return "To reach the card's ports run: sudo setcap cap_sys_rawio+ep " + program +
           " (and give your user read and write access to " + LinuxPortCardBus::kPortDevice +
           ", see README)";
}

}  // namespace

CardBusOpening explainedPortRefusal(CardBusOpening opening) {
    if (opening.bus == nullptr) opening.errorText += "\n" + portGrantLine();
    return opening;
}

CardBusOpener ProgramParts::cardBusOpener() const {
    if (isCardSimulated()) {
        return [options = options_](const CardChoice& choice) {
            const VehicleProfile* vehicle = findVehicleProfile(options.vehicle);
            if (vehicle == nullptr) vehicle = &vehicleProfiles().front();
            SimulatedCardOptions card;
            card.dynoModel = choice.dynoModel;
            card.rollerCode = choice.rollerCode;
            card.base = choice.base;
            card.accessNs = options.cardAccessNs;
            card.rider.coastDown = options.electronics.coastDown;
            auto simulated = std::make_unique<SimulatedCard>(*vehicle, card);
            if (options.isCardPaced) simulated->setPacer(WallClockPacer(options.timeLapse));
            CardBusOpening opening;
            opening.timing = simulated.get();
            opening.bus = std::move(simulated);
            return opening;
        };
    }
    return [](const CardChoice&) { return explainedPortRefusal(LinuxPortCardBus::open()); };
}

}  // namespace dyno
