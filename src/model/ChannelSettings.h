#pragma once

#include <cstdint>

namespace dyno {

// The radio groups' item indexes on the A/D Sett. page.
enum class GainMode : std::int16_t { Multiply = 0, Divide = 1 };  // "Mul.", "Div."
enum class OffsetMode : std::int16_t { Add = 0, Subtract = 1 };   // "Add", "Sub."

// The scaling of one analog channel (1..5) as the A/D Sett. page holds it when a
// test starts. The card's live markers use it for channels 1 and 2.
struct ChannelSettings {
    double channelGain = 1.0;
    GainMode gainMode = GainMode::Multiply;
    double channelOffset = 0.0;
    OffsetMode offsetMode = OffsetMode::Add;
    std::int16_t channelInvert = 0;  // 1 = "Invert" ticked

    friend bool operator==(const ChannelSettings&, const ChannelSettings&) = default;
};

}  // namespace dyno
