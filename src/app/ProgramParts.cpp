#include "app/ProgramParts.h"

#include "acquisition/ports/LinuxPortCardBus.h"
#include "acquisition/ports/QtClock.h"
#include "acquisition/ports/SerialByteLink.h"
#include "simulator/VehicleProfile.h"

namespace dyno {

ProgramParts::ProgramParts(const ProgramOptions& options) : options_(options) {
    if (options_.clock == nullptr) ownedClock_ = std::make_unique<QtClock>(options_.timeLapse);
    clock_ = options_.clock != nullptr ? options_.clock : ownedClock_.get();
}

ProgramParts::~ProgramParts() = default;

ByteLink& ProgramParts::linkFor(std::string_view portName) {
    if (options_.isSimulated || portName == kSimulatedPortName) {
        if (!simulatedK40_) {
            const VehicleProfile* vehicle = findVehicleProfile(options_.vehicle);
            if (vehicle == nullptr) vehicle = &vehicleProfiles().front();
            simulatedK40_ =
                std::make_unique<SimulatedK40>(*clock_, *vehicle, options_.electronics);
        }
        return *simulatedK40_;
    }
    if (!serial_) serial_ = std::make_unique<SerialByteLink>();
    return *serial_;
}

CardBusOpener ProgramParts::cardBusOpener() const {
    // The simulated card goes here when it is built.
    if (options_.isSimulated) return {};
    return [] { return LinuxPortCardBus::open(); };
}

}  // namespace dyno
