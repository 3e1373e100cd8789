#include "acquisition/card/CardWeatherReadout.h"

#include <numeric>

#include "acquisition/card/CardAccess.h"

namespace dyno {

namespace {

constexpr int kHumiditySettlingConversions = 20;

int averagedInput(CardAccess& access, int input) {
    std::array<int, kStationConversions> conversions{};
    for (int& value : conversions) value = access.convert(input);
    return stationAverage(conversions);
}

}  // namespace

int stationAverage(const std::array<int, kStationConversions>& conversions) {
    const unsigned sum = std::accumulate(conversions.begin() + 1, conversions.end(), 0u);
    return static_cast<int>(sum / (kStationConversions - 1));
}

WeatherStationReading readCardStation(CardBus& bus, std::int64_t settleDelaySteps) {
    // The converter is not part of the card: its ports do not move with the card base.
    CardAccess access(bus, cardport::kBase1B0, settleDelaySteps);
    WeatherStationReading reading;
    reading.tempRaw = averagedInput(access, cardport::kAdTemperature);
    reading.baroRaw = averagedInput(access, cardport::kAdPressure);
    for (int i = 0; i < kHumiditySettlingConversions; ++i) access.convert(cardport::kAdHumidity);
    reading.humRaw = averagedInput(access, cardport::kAdHumidity);
    return reading;
}

std::optional<StationCorrection> cardStationReadout(CardBus& bus, const CardWeatherSetup& setup) {
    if (!setup.isStationConnected) return std::nullopt;
    const WeatherStationReading reading = readCardStation(bus, setup.settleDelaySteps);
    return correctionFromStationCard(reading, setup.constants, setup.options, setup.pressureScale);
}

CorrectionResult cardStationFactor(CardBus& bus, const CardWeatherSetup& setup) {
    if (const auto station = cardStationReadout(bus, setup)) return station->correction;
    return factorOne();
}

}  // namespace dyno
