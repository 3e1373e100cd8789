#include "evaluation/ChannelCalibrationRules.h"

#include <array>
#include <cmath>

namespace dyno {

namespace {

constexpr double kK40Top = 1023.0;   // 10-bit converter at 5 V
constexpr double kCardTop = 4095.0;  // 12-bit converter at 5 V

ChannelCalibration line(const char* name, const char* unit, double recordedHigh, double valueLow,
                        double valueHigh) {
    return ChannelCalibration{name, unit, 0.0, valueLow, recordedHigh, valueHigh, 1};
}

// What is wrong with a calibration, or nullptr.
const char* flawOf(const ChannelCalibration& c) {
    for (const double number : {c.recordedLow, c.valueLow, c.recordedHigh, c.valueHigh}) {
        if (!std::isfinite(number)) return "a calibration point is not a number";
    }
    if (c.recordedLow == c.recordedHigh) return "the two recorded points are equal";
    if (c.smoothingSamples < kFewestSmoothingSamples ||
        c.smoothingSamples > kMostSmoothingSamples) {
        return "smoothing must be 1..50 samples";
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> calibrationRefusal(int channel, const ChannelCalibration& calibration) {
    const char* flaw = flawOf(calibration);
    if (flaw == nullptr) return std::nullopt;
    std::string refusal = channelTitle(channel, calibration) + ": " + flaw;
    if (std::string_view(flaw).starts_with("smoothing")) {
        refusal += ", not " + std::to_string(calibration.smoothingSamples);
    }
    return refusal;
}

bool isCalibrationUsable(const ChannelCalibration& calibration) {
    return flawOf(calibration) == nullptr;
}

double calibratedReading(const ChannelCalibration& c, double recorded) {
    const double slope = (c.valueHigh - c.valueLow) / (c.recordedHigh - c.recordedLow);
    return c.valueLow + (recorded - c.recordedLow) * slope;
}

std::string channelTitle(int channel, const ChannelCalibration& calibration) {
    std::string title = "Channel " + std::to_string(channel);
    if (!calibration.name.empty()) title += " (" + calibration.name + ")";
    return title;
}

std::span<const CalibrationPreset> calibrationPresets() {
    // Wide-band controllers put out 0-5 V for AFR 10-20 (lambda 0.68-1.36 on
    // petrol); K-type thermocouple amplifiers 5 mV per degree, 0-5 V for 0-1000 degC.
    static const std::array<CalibrationPreset, 6> presets{{
        {"Wide-band lambda 0-5 V as AFR 10-20, K40 input", line("AFR", "AFR", kK40Top, 10, 20)},
        {"Wide-band lambda 0-5 V as AFR 10-20, card input", line("AFR", "AFR", kCardTop, 10, 20)},
        {"Wide-band lambda 0-5 V as lambda 0.68-1.36, K40 input",
         line("Lambda", "lambda", kK40Top, 0.68, 1.36)},
        {"Wide-band lambda 0-5 V as lambda 0.68-1.36, card input",
         line("Lambda", "lambda", kCardTop, 0.68, 1.36)},
        {"K-type amplifier 5 mV/degC, 0-1000 degC, K40 input",
         line("EGT", "degC", kK40Top, 0, 1000)},
        {"K-type amplifier 5 mV/degC, 0-1000 degC, card input",
         line("EGT", "degC", kCardTop, 0, 1000)},
    }};
    return presets;
}

}  // namespace dyno
