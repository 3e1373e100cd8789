#include "evaluation/HumidityTable.h"

#include <array>
#include <cstddef>

namespace dyno {

namespace {

constexpr std::size_t kRows = 20;
constexpr std::size_t kColumns = 13;
constexpr double kRowStepPercent = 5.0;

constexpr std::array<double, kColumns> kColumnUpperBoundsC{1,  4,  7,  10, 13, 15, 18,
                                                           21, 24, 26, 29, 32, 34};

// clang-format off
constexpr std::array<std::array<float, kColumns>, kRows> kHumidityFactors{{
    {1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f, 1.000f},  // 0 %
    {1.000f, 1.000f, 1.000f, 1.000f, 1.001f, 1.001f, 1.001f, 1.001f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f},  // 5 %
    {1.000f, 1.001f, 1.001f, 1.002f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.004f, 1.005f, 1.006f, 1.007f},  // 10 %
    {1.001f, 1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f},  // 15 %
    {1.002f, 1.002f, 1.003f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.012f},  // 20 %
    {1.002f, 1.003f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.014f, 1.016f},  // 25 %
    {1.002f, 1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.012f, 1.014f, 1.016f, 1.018f},  // 30 %
    {1.003f, 1.004f, 1.005f, 1.006f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.014f, 1.016f, 1.018f, 1.020f},  // 35 %
    {1.003f, 1.004f, 1.005f, 1.007f, 1.008f, 1.009f, 1.010f, 1.011f, 1.013f, 1.016f, 1.018f, 1.020f, 1.022f},  // 40 %
    {1.004f, 1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.011f, 1.013f, 1.015f, 1.017f, 1.019f, 1.022f, 1.025f},  // 45 %
    {1.004f, 1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.012f, 1.014f, 1.016f, 1.019f, 1.021f, 1.025f, 1.029f},  // 50 %
    {1.004f, 1.006f, 1.007f, 1.009f, 1.010f, 1.011f, 1.013f, 1.015f, 1.018f, 1.020f, 1.024f, 1.028f, 1.032f},  // 55 %
    {1.005f, 1.006f, 1.008f, 1.009f, 1.010f, 1.012f, 1.015f, 1.017f, 1.019f, 1.021f, 1.026f, 1.031f, 1.036f},  // 60 %
    {1.005f, 1.007f, 1.008f, 1.010f, 1.011f, 1.013f, 1.016f, 1.018f, 1.020f, 1.023f, 1.029f, 1.034f, 1.039f},  // 65 %
    {1.006f, 1.007f, 1.009f, 1.010f, 1.012f, 1.014f, 1.017f, 1.019f, 1.022f, 1.026f, 1.032f, 1.036f, 1.042f},  // 70 %
    {1.006f, 1.008f, 1.009f, 1.011f, 1.013f, 1.015f, 1.018f, 1.020f, 1.024f, 1.028f, 1.034f, 1.038f, 1.044f},  // 75 %
    {1.007f, 1.008f, 1.010f, 1.012f, 1.014f, 1.016f, 1.018f, 1.021f, 1.025f, 1.030f, 1.036f, 1.040f, 1.046f},  // 80 %
    {1.007f, 1.009f, 1.010f, 1.012f, 1.015f, 1.017f, 1.019f, 1.022f, 1.026f, 1.032f, 1.037f, 1.042f, 1.048f},  // 85 %
    {1.008f, 1.009f, 1.011f, 1.014f, 1.016f, 1.018f, 1.020f, 1.024f, 1.029f, 1.033f, 1.039f, 1.045f, 1.052f},  // 90 %
    {1.008f, 1.010f, 1.011f, 1.014f, 1.017f, 1.019f, 1.021f, 1.025f, 1.030f, 1.035f, 1.041f, 1.048f, 1.056f},  // 95 %
}};
// clang-format on

constexpr double kMaxHumidityPercent = 95.0;
constexpr double kMinTableTemperatureC = 2.0;
constexpr double kMaxTableTemperatureC = 34.0;

std::size_t rowOf(double humidityPercent) {
    if (humidityPercent > kMaxHumidityPercent) humidityPercent = kMaxHumidityPercent;
    if (!(humidityPercent >= 0.0)) humidityPercent = 0.0;
    std::size_t row = 0;
    while (row + 1 < kRows && static_cast<double>(row) * kRowStepPercent < humidityPercent) ++row;
    return row;
}

std::size_t columnOf(double temperatureC) {
    if (temperatureC > kMaxTableTemperatureC) temperatureC = kMaxTableTemperatureC;
    if (!(temperatureC >= kMinTableTemperatureC)) temperatureC = kMinTableTemperatureC;
    std::size_t column = 0;
    while (column + 1 < kColumns && kColumnUpperBoundsC[column] < temperatureC) ++column;
    return column;
}

}  // namespace

float humidityFactor(double humidityPercent, double temperatureC) {
    return kHumidityFactors[rowOf(humidityPercent)][columnOf(temperatureC)];
}

}  // namespace dyno
