#include <gtest/gtest.h>

#include "evaluation/AirTexts.h"
#include "model/TestSession.h"

namespace dyno {
namespace {

TEST(SessionAirTexts, WritesTheStoredAirInTheChosenUnits) {
    TestSession session;
    session.airPressure = 1013.4;
    session.airTemperature = 20.0;
    session.airHumidity = 40.4;

    const AirTexts metric = sessionAirTexts(session, {});
    EXPECT_EQ(metric.pressure, "1013");
    EXPECT_EQ(metric.temperature, "20");
    EXPECT_EQ(metric.humidity, "40");

    // 1013.4 x 29.44 x 0.001 = 29.834 inch of mercury; 20 C = 68 F.
    const AirTexts imperial = sessionAirTexts(session, {true, true});
    EXPECT_EQ(imperial.pressure, "29.83");
    EXPECT_EQ(imperial.temperature, "68");
    EXPECT_EQ(imperial.humidity, "40");
}

}  // namespace
}  // namespace dyno
