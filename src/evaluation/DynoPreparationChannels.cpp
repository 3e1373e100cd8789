#include "evaluation/DynoPreparationChannels.h"

#include <cmath>

#include "model/TextNumbers.h"

namespace dyno {

namespace {

constexpr double kPercentPerCount = 0.09765625;  // 100 / 1024
constexpr double kInvertedFrom = 400.0;
// 296 pixels of the level bar for 400 % of full scale.
constexpr double kCardPixelsPerPercent = 0.74;
constexpr double kLargestCardMarkerOffset = 296.0;

}  // namespace

ChannelSettingsSet prepareChannels(const std::array<ChannelEntries, kAnalogChannels>& entries) {
    ChannelSettingsSet settings{};
    for (std::size_t c = 0; c < entries.size(); ++c) {
        const ChannelEntries& entry = entries[c];
        settings[c] = ChannelSettings{leadingNumber(entry.gainText), entry.gainMode,
                                      leadingNumber(entry.offsetText), entry.offsetMode,
                                      static_cast<std::int16_t>(entry.isInvertTicked ? 1 : 0)};
    }
    return settings;
}

double scaleCardChannel(int rawValue, const ChannelSettings& settings) {
    double x = rawValue * kPercentPerCount;
    if (settings.gainMode == GainMode::Divide) {
        // 0 / 0 would be NaN, which no clipping catches: a zero reading stays zero.
        x = x == 0.0 ? 0.0 : x / settings.channelGain;
    } else {
        x *= settings.channelGain;
    }
    x = settings.offsetMode == OffsetMode::Subtract ? x - settings.channelOffset
                                                    : x + settings.channelOffset;
    if (settings.channelInvert == 1) x = kInvertedFrom - x;
    return x;
}

int cardMarkerOffset(double scaledValue) {
    double x = scaledValue * kCardPixelsPerPercent;
    if (std::isnan(x) || x < 0.0) x = 0.0;
    if (x > kLargestCardMarkerOffset) x = kLargestCardMarkerOffset;
    return static_cast<int>(x);
}

}  // namespace dyno
