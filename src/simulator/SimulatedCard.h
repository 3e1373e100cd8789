#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <random>

#include "acquisition/card/CardBus.h"
#include "acquisition/card/CardPorts.h"
#include "acquisition/card/CardTiming.h"
#include "simulator/SimulatedRide.h"
#include "simulator/SimulatedTimers.h"
#include "simulator/StationAir.h"

namespace dyno {

struct SimulatedCardOptions {
    DynoModel dynoModel = DynoModel::K70;
    int rollerCode = 0;
    std::uint16_t base = cardport::kBase1B0;
    // Simulated time per port access: about what one access of the real port costs.
    std::int64_t accessNs = 1000;
    std::uint32_t seed = 1;
    RiderHabits rider;
    StationAir air;
};

// The K70/K80 plug-in card with a vehicle on the roller, behind the same port bus as
// the real card: the status port driven by the ride's roller and ignition signals and
// the remote button, the two 8254 timers with their cascaded pairs, and the A/D
// converter with the weather station on inputs 0..2 and the analog channels on 3..7.
//
// Time is the card's own: every port access moves it on by `accessNs`, and a sleep
// by its length, so a session is deterministic and runs as fast as the computer
// goes. A pacer, when set, is called with the simulated time every few thousand
// accesses and after each sleep; the window uses it to hold the card to the wall
// clock so the needles move at the rider's pace.
//
// The remote button pulls both remote bits (0 and 4) low, so it works whatever dyno
// model the settings name.
class SimulatedCard final : public CardBus, public CardTiming {
  public:
    using Pacer = std::function<void(std::int64_t simulatedUs)>;

    SimulatedCard(const VehicleProfile& vehicle, const SimulatedCardOptions& options);

    std::uint8_t readPort(std::uint16_t address) override;
    void writePort(std::uint16_t address, std::uint8_t value) override;
    std::int64_t nowUs() override { return nowNs_ / 1000; }
    void sleepMs(std::int64_t ms) override;

    void setPacer(Pacer pacer) { pacer_ = std::move(pacer); }
    // The demo changes the weather; safe from any thread.
    void setStationAir(const StationAir& air);
    StationAir stationAir() const;

    std::uint64_t accesses() const { return accesses_; }
    const SimulatedRide& ride() const { return ride_; }
    // The 12-bit value input `input` converts to now, before noise.
    int inputValue(int input) const;

  private:
    void tick();
    std::uint64_t cardTicks() const;
    std::uint8_t status();

    SimulatedCardOptions options_;
    SimulatedRide ride_;
    SimulatedTimers timers_;
    std::mt19937 random_;
    mutable std::mutex airMutex_;
    StationAir air_;
    Pacer pacer_;

    std::int64_t nowNs_ = 0;
    std::uint64_t accesses_ = 0;
    int selectedInput_ = 0;
    int conversion_ = 0;
};

}  // namespace dyno
