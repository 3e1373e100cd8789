#pragma once

#include <array>
#include <string_view>

#include "model/ChannelSettings.h"
#include "model/SessionLayout.h"

namespace dyno {

// What the A/D Sett. page shows for one channel: `mul1edit`/`mulch1group`,
// `plus1edit`/`plusch1group` and `invert1` for channel 1, and so on.
struct ChannelEntries {
    std::string_view gainText = "1";
    GainMode gainMode = GainMode::Multiply;
    std::string_view offsetText = "0";
    OffsetMode offsetMode = OffsetMode::Add;
    bool isInvertTicked = false;
};

using ChannelSettingsSet = std::array<ChannelSettings, kAnalogChannels>;

// Third preparation step of a test start: gain and offset read leniently (a box
// without a number gives 0.0).
ChannelSettingsSet prepareChannels(const std::array<ChannelEntries, kAnalogChannels>& entries);

// The card's live marker value of channel 1 or 2 from a raw 12-bit converter
// reading: percent of full scale, then gain, then offset; an inverted channel is
// mirrored as 400 - x. The Speed page turns this into a marker offset. A zero
// reading divided by a zero gain stays 0 instead of NaN; other divisions by zero
// give an infinity, which the marker clipping puts at an end of the bar.
double scaleCardChannel(int rawValue, const ChannelSettings& settings);

// The card's marker: the channel's scaled value (percent of full scale after gain,
// offset and inversion) as a pixel offset on the level bar, 0..296. NaN gives 0.
int cardMarkerOffset(double scaledValue);

}  // namespace dyno
