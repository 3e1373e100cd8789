#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/SessionLayout.h"

namespace dyno {

// What the Analysis page keeps between starts, in a settings file of its own beside
// "vkr_dyno.ini" and "vkr_dyno.ana" (those two stay as they are): what each analog
// channel measures and in which unit, which channels the power graph shows, and the
// rider's live view.
inline constexpr const char* kAnalysisSettingsFileName = "vkr_dyno_analysis.ini";

// How a recorded channel value becomes a reading in the channel's own unit: the
// straight line through two points (a controller's data sheet gives them, e.g. 0 ->
// 10.0 AFR and 1023 -> 20.0 AFR for a wide-band lambda controller's 0-5 V output on
// the K40's 10-bit input).
struct ChannelCalibration {
    std::string name;  // "AFR", "Lambda", "EGT"; empty: the channel is not calibrated
    std::string unit;  // "AFR", "lambda", "degC"
    double recordedLow = 0.0;
    double valueLow = 0.0;
    double recordedHigh = 1023.0;
    double valueHigh = 1023.0;
    // A moving average over this many samples; 1 is none.
    int smoothingSamples = 1;

    friend bool operator==(const ChannelCalibration&, const ChannelCalibration&) = default;
};

// Where the live view listens.
enum class LiveViewReach : std::uint8_t {
    thisPcOnly,    // 127.0.0.1: a browser on the dyno's PC
    localNetwork,  // every address of the PC: a phone on the workshop's network
};

struct LiveViewSettings {
    bool isOn = false;  // off until the user switches it on
    std::uint16_t port = 8040;
    LiveViewReach reach = LiveViewReach::localNetwork;
    // "Show each run as it arrives": the Graphs page shows slot 1 with each run after
    // its "Data OK".
    bool showEachRun = false;

    friend bool operator==(const LiveViewSettings&, const LiveViewSettings&) = default;
};

struct AnalysisSettings {
    std::array<ChannelCalibration, kAnalogChannels> channels{};
    // Channels 1..5 drawn over the power curves on the Analysis page; 0 for none.
    std::array<int, 2> shownChannels{0, 0};
    LiveViewSettings liveView;

    friend bool operator==(const AnalysisSettings&, const AnalysisSettings&) = default;
};

}  // namespace dyno
