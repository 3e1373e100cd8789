#pragma once

#include <cstdint>

namespace dyno {

// The radio groups' item indexes on the A/D Sett. page.
enum class GainMode : std::int16_t { Multiply = 0, Divide = 1 };  // "Mul.", "Div."
enum class OffsetMode : std::int16_t { Add = 0, Subtract = 1 };   // "Add", "Sub."

// A channel's stored factor use and offset use ("vkr_dyno.ana", or the item the
// A/D Sett. page has chosen) read as the page shows them. The number is the radio
// group's item index: past the last item the page chooses the last ("Div.",
// "Sub."); below 0 it chooses none, and a channel without a choice is scaled with
// the first ("Mul.", "Add"). Every reader of a stored use goes through these two.
constexpr GainMode gainModeOf(int factorUse) {
    return factorUse >= 1 ? GainMode::Divide : GainMode::Multiply;
}
constexpr OffsetMode offsetModeOf(int offsetUse) {
    return offsetUse >= 1 ? OffsetMode::Subtract : OffsetMode::Add;
}

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
