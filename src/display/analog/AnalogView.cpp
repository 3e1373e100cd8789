#include "display/analog/AnalogView.h"

#include "model/TextNumbers.h"

namespace dyno {

namespace {

double typedReal(const std::string& text, char decimalSeparator) {
    if (const auto strict = strictDecimal(text, decimalSeparator)) return *strict;
    return leadingNumber(text);
}

}  // namespace

std::array<AnalogChannelScaling, kAnalogChannels> channelScalingOf(
    const AnalogChannelTextSet& channels, char decimalSeparator) {
    std::array<AnalogChannelScaling, kAnalogChannels> scalings{};
    for (std::size_t c = 0; c < scalings.size(); ++c) {
        const AnalogChannelTexts& texts = channels[c];
        ChannelSettings& scaling = scalings[c].scaling;
        scaling.channelGain = typedReal(texts.factorText, decimalSeparator);
        scaling.gainMode = gainModeOf(texts.factorUse);
        scaling.channelOffset = typedReal(texts.offsetText, decimalSeparator);
        scaling.offsetMode = offsetModeOf(texts.offsetUse);
        scaling.channelInvert = texts.isInverted ? 1 : 0;
        scalings[c].delaySeconds = typedReal(texts.delayText, decimalSeparator);
    }
    return scalings;
}

}  // namespace dyno
