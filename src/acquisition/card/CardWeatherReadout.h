#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "acquisition/card/CardBus.h"
#include "evaluation/CorrectionSources.h"

namespace dyno {

// How the card's weather station is read and turned into a factor.
struct CardWeatherSetup {
    bool isStationConnected = false;  // `vejrstation_check`
    WeatherStationConstants constants{250.0, 250.0, 250.0};
    StationCorrectionOptions options;
    CardPressureScale pressureScale = CardPressureScale::Per253;
    std::int64_t settleDelaySteps = 0;

    friend bool operator==(const CardWeatherSetup&, const CardWeatherSetup&) = default;
};

// Six conversions of one input: the first is dropped (the converter is still
// settling on the new input) and the other five averaged, in whole numbers.
inline constexpr int kStationConversions = 6;
int stationAverage(const std::array<int, kStationConversions>& conversions);

// The three averaged readings: temperature, pressure, then humidity, whose sensor
// needs 20 conversions to settle that are thrown away.
WeatherStationReading readCardStation(CardBus& bus, std::int64_t settleDelaySteps);

// The card's weather readout: the station's values and factor, or nothing without a
// station (then the factor is 1.0 and nothing is read).
std::optional<StationCorrection> cardStationReadout(CardBus& bus, const CardWeatherSetup& setup);

// The factor of the readout: 1.0 without a station.
CorrectionResult cardStationFactor(CardBus& bus, const CardWeatherSetup& setup);

}  // namespace dyno
