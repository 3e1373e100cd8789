#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "evaluation/CorrectionFactor.h"
#include "evaluation/CorrectionStandard.h"
#include "evaluation/HumidityTable.h"

namespace dyno {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(CorrectionFactor, PageDefaultsGiveAlmostExactlyOne) {
    // 23 C, 1000 mbar, 50 %, EEC.
    const std::optional<double> base = baseCorrectionFactor(23.0, 1000.0, CorrectionStandard::Eec);
    ASSERT_TRUE(base);
    EXPECT_NEAR(*base, 0.98428, 0.000005);
    EXPECT_EQ(humidityFactor(50.0, 23.0), 1.016f);

    const CorrectionResult result =
        computeCorrection({23.0, 1000.0, 50.0}, CorrectionStandard::Eec);
    EXPECT_NEAR(result.factor, 1.00003, 0.000005);
    // The single-precision table entry is widened, not rounded to 1.016 in double.
    EXPECT_EQ(result.factor, static_cast<double>(1.016f) * *base);
    EXPECT_NE(result.factor, 1.016 * *base);
    EXPECT_EQ(result.correctionText, "1.000");
    EXPECT_FALSE(result.isOutOfLimits);
    EXPECT_EQ(result.standard, CorrectionStandard::Eec);
}

TEST(CorrectionFactor, StandardsDifferByTheirConstants) {
    struct Case {
        CorrectionStandard standard;
        double baseAt23C1000Mbar;  // worked by hand from c and p0
    };
    for (const Case& c :
         {Case{CorrectionStandard::SaeStp, 1.025668}, Case{CorrectionStandard::SaeJ1349, 0.984278},
          Case{CorrectionStandard::Din, 0.997617}, Case{CorrectionStandard::Eec, 0.984278},
          Case{CorrectionStandard::Iso1585, 0.984278}}) {
        const CorrectionResult result = computeCorrection({23.0, 1000.0, 0.0}, c.standard);
        EXPECT_NEAR(result.factor, c.baseAt23C1000Mbar, 0.000001)
            << correctionStandardName(c.standard);
    }
}

TEST(CorrectionFactor, HumidityZeroLeavesTheBaseFactorAtEveryTemperature) {
    for (double temperatureC = -30.0; temperatureC <= 60.0; temperatureC += 0.5) {
        EXPECT_EQ(humidityFactor(0.0, temperatureC), 1.0f) << temperatureC;
        const CorrectionResult result =
            computeCorrection({temperatureC, 1000.0, 0.0}, CorrectionStandard::Din);
        EXPECT_EQ(result.factor,
                  *baseCorrectionFactor(temperatureC, 1000.0, CorrectionStandard::Din));
    }
}

TEST(HumidityTable, RowIsTheFirstBoundAtOrAboveTheHumidity) {
    EXPECT_EQ(humidityFactor(50.0, 23.0), 1.016f);   // row 50, column 24
    EXPECT_EQ(humidityFactor(50.01, 23.0), 1.018f);  // row 55
    EXPECT_EQ(humidityFactor(45.5, 23.0), 1.016f);
    EXPECT_EQ(humidityFactor(0.1, 34.0), 1.004f);  // row 5
    // Above 95 % the last row, below 0 % and NaN the first.
    EXPECT_EQ(humidityFactor(96.0, 34.0), 1.056f);
    EXPECT_EQ(humidityFactor(1000.0, 34.0), humidityFactor(95.0, 34.0));
    EXPECT_EQ(humidityFactor(-5.0, 34.0), 1.0f);
    EXPECT_EQ(humidityFactor(kNaN, 34.0), 1.0f);
}

TEST(HumidityTable, ColumnIsTheFirstBoundAtOrAboveTheClampedTemperature) {
    EXPECT_EQ(humidityFactor(95.0, 24.0), 1.030f);
    EXPECT_EQ(humidityFactor(95.0, 24.5), 1.035f);  // column 26
    EXPECT_EQ(humidityFactor(95.0, 40.0), 1.056f);  // column 34
    // Temperatures below 2 C are looked up as 2 C: the 4 C column, never the 1 C one.
    EXPECT_EQ(humidityFactor(95.0, 1.0), 1.010f);
    EXPECT_EQ(humidityFactor(95.0, -20.0), 1.010f);
    EXPECT_EQ(humidityFactor(95.0, kNaN), 1.010f);
}

TEST(CorrectionFactor, HotAirUsesTheLastColumnButItsOwnTemperature) {
    const CorrectionResult at40 = computeCorrection({40.0, 1000.0, 50.0}, CorrectionStandard::Eec);
    EXPECT_EQ(at40.factor, static_cast<double>(1.029f) *
                               *baseCorrectionFactor(40.0, 1000.0, CorrectionStandard::Eec));
    EXPECT_GT(at40.factor, computeCorrection({34.0, 1000.0, 50.0}, CorrectionStandard::Eec).factor);
}

TEST(CorrectionLimits, HalfAndOneAndAHalfAreAcceptedAndAnythingBeyondReplaced) {
    const CorrectionResult atLow = limitedCorrection(0.5, CorrectionStandard::SaeStp);
    EXPECT_FALSE(atLow.isOutOfLimits);
    EXPECT_EQ(atLow.factor, 0.5);
    EXPECT_EQ(atLow.correctionText, "0.500");
    const CorrectionResult atHigh = limitedCorrection(1.5, CorrectionStandard::SaeStp);
    EXPECT_FALSE(atHigh.isOutOfLimits);
    EXPECT_EQ(atHigh.factor, 1.5);
    EXPECT_EQ(atHigh.correctionText, "1.500");

    for (const std::optional<double> outside :
         {std::optional<double>(std::nextafter(0.5, 0.0)),
          std::optional<double>(std::nextafter(1.5, 2.0)), std::optional<double>(-1.0),
          std::optional<double>(kNaN), std::optional<double>(kInf), std::optional<double>(-kInf),
          std::optional<double>()}) {
        const CorrectionResult result = limitedCorrection(outside, CorrectionStandard::Din);
        EXPECT_TRUE(result.isOutOfLimits);
        EXPECT_EQ(result.factor, 1.0);
        EXPECT_EQ(result.correctionText, "1.000");
        EXPECT_EQ(result.standard, CorrectionStandard::Din);
    }
}

TEST(CorrectionFactor, ImpossibleAirIsOutOfLimitsAndNeverNaNOrInfinite) {
    const AirConditions impossible[] = {
        {23.0, 0.0, 50.0},                              // empty pressure box
        {23.0, -0.0, 50.0},     {23.0, -1000.0, 50.0},  // negative factor
        {-300.0, 1000.0, 50.0},  // below absolute zero: root of a negative number
        {1e308, 1000.0, 50.0},   // T x 9 overflows
        {23.0, 1e-320, 50.0},    // p0 / B overflows
        {kNaN, 1000.0, 50.0},   {23.0, kNaN, 50.0},    {23.0, kInf, 50.0},
    };
    for (const AirConditions& air : impossible) {
        const CorrectionResult result = computeCorrection(air, CorrectionStandard::Eec);
        EXPECT_TRUE(result.isOutOfLimits) << air.temperatureC << " C " << air.pressureMbar;
        EXPECT_EQ(result.factor, 1.0);
        EXPECT_EQ(result.correctionText, "1.000");
    }
    EXPECT_FALSE(baseCorrectionFactor(23.0, 0.0, CorrectionStandard::Eec));
    EXPECT_FALSE(baseCorrectionFactor(-300.0, 1000.0, CorrectionStandard::Eec));
}

TEST(CorrectionStandard, NamesAndIndexesMatchTheList) {
    const char* names[] = {"SAE STP", "SAE J1349", "DIN", "EEC", "ISO 1585"};
    for (int index = 0; index < kCorrectionStandards; ++index) {
        const std::optional<CorrectionStandard> byIndex = correctionStandardFromIndex(index);
        ASSERT_TRUE(byIndex);
        EXPECT_EQ(static_cast<int>(*byIndex), index);
        EXPECT_EQ(correctionStandardName(*byIndex), names[index]);
        EXPECT_EQ(correctionStandardNamed(names[index]), byIndex);
    }
    for (const int index : {-1, 5, 100}) EXPECT_FALSE(correctionStandardFromIndex(index));
    for (const char* name : {"", "eec", "SAE", "ISO1585", " DIN"}) {
        EXPECT_FALSE(correctionStandardNamed(name)) << name;
    }
}

}  // namespace
}  // namespace dyno
