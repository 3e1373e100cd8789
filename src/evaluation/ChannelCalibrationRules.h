#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "model/AnalysisSettings.h"

namespace dyno {

// The moving average a channel may get: 1 sample (none) up to 50, a fifth of a
// second or so of a run at full speed; more would smear a lean spike away.
inline constexpr int kFewestSmoothingSamples = 1;
inline constexpr int kMostSmoothingSamples = 50;

// Why `calibration` of channel 1..5 cannot turn recorded values into its unit, named
// for the workshop ("Channel 3 (EGT): the two recorded points are equal"), or nothing
// when it can: its two recorded points must differ, all four numbers be finite and
// the smoothing lie within 1..50 samples.
std::optional<std::string> calibrationRefusal(int channel, const ChannelCalibration& calibration);

// The same test without the message, for the evaluation's path (no allocation).
bool isCalibrationUsable(const ChannelCalibration& calibration);

// The reading in the calibration's unit on the straight line through its two points;
// beyond them the line goes on (a controller's output past its data sheet's range is
// still its reading). Only for a calibration without a refusal.
double calibratedReading(const ChannelCalibration& calibration, double recorded);

// "Channel 3 (EGT)", or "Channel 3" for a channel without a name.
std::string channelTitle(int channel, const ChannelCalibration& calibration);

// Calibrations the workshop picks instead of typing the data sheet's numbers. The
// K40's inputs are 10-bit (0..1023 over 0-5 V), the card's 12-bit (0..4095).
struct CalibrationPreset {
    std::string_view title;  // "Wide-band lambda 0-5 V as AFR 10-20, K40 input"
    ChannelCalibration calibration;
};
std::span<const CalibrationPreset> calibrationPresets();

}  // namespace dyno
