#pragma once

#include <array>
#include <cstdint>

#include "evaluation/EvaluationOptions.h"
#include "model/ChannelSettings.h"
#include "model/DynoSettings.h"
#include "model/SessionLayout.h"

// What the Analog page draws from, as plain values: its own controls, the channel
// settings of the A/D Sett. page and the few program-wide values it shares with the
// Graphs page. The window reads them from its controls, `dynotool analog` from its
// options; both hand them to redrawAnalog.
namespace dyno {

enum class AnalogCurve { power, speed };  // "V. scale": "Hp" or "Speed"

struct AnalogView {
    // Item of ana_grafsel1 .. ana_grafsel4: 0 shows nothing of the slot, n its run n.
    std::array<int, kSessionSlots> runItem{1, 0, 0, 0};
    std::array<bool, kAnalogChannels> channelTicked{};  // dana1 .. dana5
    AnalogCurve curve = AnalogCurve::power;
    int leftScaleChannel = 0;                    // item of left_scale: channel 1..5 as 0..4
    std::array<int, kSessionSlots> slotShift{};  // move1 .. move4, in samples
    int scrollOffset = 0;                        // scrollbar1, in samples
    int zoom = 2;                                // zoomupdown: pixels per sample
    std::int32_t endHp = 10;                     // top of the power axis in force
    bool fixedGearing = false;                   // "Fixed Gearing": the cursor's engine speed
    // Units and roller weight of the evaluation; the right scale names the units.
    EvaluationOptions evaluation;
    // The A/D Sett. page as typed, and the decimal separator its reals are typed with.
    AnalogChannelTextSet channels = defaultAnalogChannelTexts();
    char decimalSeparator = '.';
};

// One channel's scaling as the plot uses it.
struct AnalogChannelScaling {
    ChannelSettings scaling;
    double delaySeconds = 0.0;
};

// The reals of the A/D Sett. page: a number in the user's notation, else the leading
// number of the text (a box without a number gives 0), so that a half-typed box
// never stops the redraw.
std::array<AnalogChannelScaling, kAnalogChannels> channelScalingOf(
    const AnalogChannelTextSet& channels, char decimalSeparator);

}  // namespace dyno
