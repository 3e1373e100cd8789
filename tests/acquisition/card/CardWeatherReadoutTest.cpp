#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "acquisition/ScriptedCardBus.h"
#include "acquisition/card/CardWeatherReadout.h"

namespace dyno::test {
namespace {

TEST(CardWeatherReadout, TheFirstOfSixConversionsIsDroppedAndTheRestAveraged) {
    EXPECT_EQ(stationAverage({100, 10, 20, 30, 40, 50}), 30);
    EXPECT_EQ(stationAverage({0, 1, 1, 1, 1, 2}), 1) << "whole numbers, truncated";
}

TEST(CardWeatherReadout, HumiditySettlesFor20ConversionsThatAreThrownAway) {
    ScriptedCardBus bus;
    std::vector<int> values = {999, 1000, 1000, 1000, 1000, 1000,   // temperature
                               999, 2000, 2000, 2000, 2000, 2010};  // pressure
    values.insert(values.end(), 20, 4000);                          // humidity settling
    values.insert(values.end(), {4000, 1500, 1500, 1500, 1500, 1500});
    bus.queueConversions(values);
    const WeatherStationReading reading = readCardStation(bus, 0);
    EXPECT_EQ(reading.tempRaw, 1000);
    EXPECT_EQ(reading.baroRaw, 2002);
    EXPECT_EQ(reading.humRaw, 1500);
    // Each conversion selects its input and starts; no idle input is selected after.
    EXPECT_EQ(std::count(bus.log.begin(), bus.log.end(), "w 281 2"), 26);
    EXPECT_EQ(std::count(bus.log.begin(), bus.log.end(), "w 281 3"), 0);
}

TEST(CardWeatherReadout, WithoutAStationTheFactorIs1AndNothingIsRead) {
    ScriptedCardBus bus;
    const CorrectionResult factor = cardStationFactor(bus, CardWeatherSetup{});
    EXPECT_EQ(factor.factor, 1.0);
    EXPECT_FALSE(factor.standard.has_value());
    EXPECT_TRUE(bus.log.empty());
}

}  // namespace
}  // namespace dyno::test
