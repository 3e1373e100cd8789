// The dyno's constant tables checked whole against a separate transcription of the
// published tables, and the correction factor to the last bit over a grid of air
// conditions, worked out step by step in the order the factor has always been
// computed (stored sessions carry it, and must agree bit for bit).
#include <gtest/gtest.h>

#include <cmath>

#include "evaluation/CorrectionFactor.h"
#include "evaluation/CorrectionStandard.h"
#include "evaluation/HumidityTable.h"
#include "evaluation/RollerInertia.h"

namespace dyno {
namespace {

// Humidity factors; rows 0, 5, .., 95 %, columns up to 1, 4, 7, .., 34 degrees C.
constexpr double kTemperatureBounds[13] = {1, 4, 7, 10, 13, 15, 18, 21, 24, 26, 29, 32, 34};
// clang-format off
constexpr float kHumidity[20][13] = {
    {1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f},
    {1.000f, 1.000f, 1.000f, 1.000f, 1.001f, 1.001f, 1.001f, 1.001f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f},
    {1.000f, 1.001f, 1.001f, 1.002f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.004f, 1.005f, 1.006f, 1.007f},
    {1.001f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f},
    {1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.012f},
    {1.002f, 1.003f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.014f, 1.016f},
    {1.002f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.012f, 1.014f, 1.016f, 1.018f},
    {1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.014f, 1.016f, 1.018f, 1.020f},
    {1.003f, 1.004f, 1.005f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.013f, 1.016f, 1.018f, 1.020f, 1.022f},
    {1.004f, 1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.011f, 1.013f, 1.015f, 1.017f, 1.019f, 1.022f, 1.025f},
    {1.004f, 1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.012f, 1.014f, 1.016f, 1.019f, 1.021f, 1.025f, 1.029f},
    {1.004f, 1.006f, 1.007f, 1.009f, 1.010f, 1.011f, 1.013f, 1.015f, 1.018f, 1.020f, 1.024f, 1.028f, 1.032f},
    {1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.012f, 1.015f, 1.017f, 1.019f, 1.021f, 1.026f, 1.031f, 1.036f},
    {1.005f, 1.007f, 1.008f, 1.010f, 1.011f, 1.013f, 1.016f, 1.018f, 1.020f, 1.023f, 1.029f, 1.034f, 1.039f},
    {1.006f, 1.007f, 1.009f, 1.010f, 1.012f, 1.014f, 1.017f, 1.019f, 1.022f, 1.026f, 1.032f, 1.036f, 1.042f},
    {1.006f, 1.008f, 1.009f, 1.011f, 1.013f, 1.015f, 1.018f, 1.020f, 1.024f, 1.028f, 1.034f, 1.038f, 1.044f},
    {1.007f, 1.008f, 1.010f, 1.012f, 1.014f, 1.016f, 1.018f, 1.021f, 1.025f, 1.030f, 1.036f, 1.040f, 1.046f},
    {1.007f, 1.009f, 1.010f, 1.012f, 1.015f, 1.017f, 1.019f, 1.022f, 1.026f, 1.032f, 1.037f, 1.042f, 1.048f},
    {1.008f, 1.009f, 1.011f, 1.014f, 1.016f, 1.018f, 1.020f, 1.024f, 1.029f, 1.033f, 1.039f, 1.045f, 1.052f},
    {1.008f, 1.010f, 1.011f, 1.014f, 1.017f, 1.019f, 1.021f, 1.025f, 1.030f, 1.035f, 1.041f, 1.048f, 1.056f},
};
// clang-format on

TEST(ConstantTables, HumidityFactorsAtBothEndsOfEveryCell) {
    // The lookup clamps temperatures to at least 2 C, so the 1 C column is never read.
    for (int row = 0; row < 20; ++row) {
        const double top = 5.0 * row;
        const double bottom = row == 0 ? 0.0 : top - 4.99;
        for (int column = 1; column < 13; ++column) {
            const double warm = kTemperatureBounds[column];
            const double cold = column == 1 ? 2.0 : kTemperatureBounds[column - 1] + 0.01;
            const float expected = kHumidity[row][column];
            EXPECT_EQ(humidityFactor(top, warm), expected) << top << "% " << warm << " C";
            EXPECT_EQ(humidityFactor(bottom, cold), expected) << bottom << "% " << cold << " C";
        }
    }
}

TEST(ConstantTables, RollerInertiaOfEveryListedRoller) {
    struct Roller {
        int code;
        double massFactor;
    };
    constexpr Roller kRollers[] = {
        {0, 0.02092050209},  {1, 0.02107531381},  {2, 0.02122175732},  {3, 0.02137656904},
        {10, 0.02859832636}, {11, 0.02881171548}, {12, 0.02900836820}, {13, 0.02922594142},
        {20, 0.02617573222}, {21, 0.02634728033}, {22, 0.02651046025}, {23, 0.02669037657},
        {30, 0.03463179916}, {31, 0.03492887029}, {32, 0.03478661088}, {33, 0.03508786611},
        {50, 0.02383682008}, {51, 0.02401255230}, {52, 0.02417991632}, {53, 0.02435564854},
        {60, 0.03276150628}, {61, 0.03297071130}, {62, 0.03316736402}, {63, 0.03337656904},
        {70, 0.02895397490}, {71, 0.02913389121}, {72, 0.02929288703}, {73, 0.02945606695},
        {80, 0.03904602510}, {81, 0.03934309623}, {82, 0.03920083682}, {83, 0.03950209205},
    };
    for (const Roller& roller : kRollers) {
        EXPECT_EQ(RollerInertiaTable::massFactorOf(roller.code), roller.massFactor) << roller.code;
    }
}

struct Standard {
    CorrectionStandard standard;
    double c, p0;
};
constexpr Standard kStandards[] = {{CorrectionStandard::SaeStp, 506, 1012},
                                   {CorrectionStandard::SaeJ1349, 492, 990},
                                   {CorrectionStandard::Din, 501, 993},
                                   {CorrectionStandard::Eec, 492, 990},
                                   {CorrectionStandard::Iso1585, 492, 990}};

TEST(ConstantTables, CorrectionStandardConstants) {
    for (const Standard& s : kStandards) {
        const CorrectionStandardConstants constants = constantsOf(s.standard);
        EXPECT_EQ(constants.temperatureTerm, s.c) << correctionStandardName(s.standard);
        EXPECT_EQ(constants.referencePressureMbar, s.p0) << correctionStandardName(s.standard);
    }
}

// The factor step by step: 1.8 T as T x 9 x 0.2, the division by 537 as a product,
// the humidity row and column as the first bound at or above the clamped values.
double documentedFactor(double t, double b, double h, const Standard& s) {
    double ratio = t * 9.0;
    ratio = ratio * 0.2;
    ratio = ratio + s.c;
    ratio = ratio * 0.00186219739292365;
    double base = std::sqrt(ratio);
    base = base * (s.p0 / b);
    base = base * 1.18;
    base = base - 0.18;
    double clampedH = h > 95 ? 95.0 : h;
    if (!(clampedH >= 0)) clampedH = 0.0;
    int row = 0;
    while (5.0 * row < clampedH) ++row;
    double clampedT = t > 34 ? 34.0 : t;
    if (clampedT < 2) clampedT = 2.0;
    int column = 0;
    while (kTemperatureBounds[column] < clampedT) ++column;
    const double factor = static_cast<double>(kHumidity[row][column]) * base;
    return factor >= 0.5 && factor <= 1.5 ? factor : 1.0;
}

TEST(CorrectionFactor, AgreesToTheLastBitOverAGridOfAirConditions) {
    // 29.9 and 32.4 C are among the temperatures where 1.8 x T and T x 9 x 0.2 part.
    const double temperatures[] = {-29.6, 0.0,  1.9,  4.0,  4.01, 13.7,
                                   23.0,  24.5, 29.9, 32.4, 34.0, 41.3};
    const double pressures[] = {700.0, 958.6, 1000.0, 1013.25, 1046.0};
    const double humidities[] = {0.0, 0.4, 5.0, 5.01, 37.5, 50.0, 94.99, 95.0, 120.0};
    for (const Standard& s : kStandards) {
        for (const double t : temperatures) {
            for (const double b : pressures) {
                for (const double h : humidities) {
                    const double expected = documentedFactor(t, b, h, s);
                    const double actual = computeCorrection({t, b, h}, s.standard).factor;
                    EXPECT_EQ(actual, expected) << correctionStandardName(s.standard) << " " << t
                                                << " C " << b << " mbar " << h << " %";
                }
            }
        }
    }
}

}  // namespace
}  // namespace dyno
