// The "vkr_dyno.ana" reader over arbitrary files, with the same save-again check as
// the settings file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/AnalogSettingsFileCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto channels = dyno::defaultAnalogChannelTexts();
    dyno::decodeAnalogSettingsFile(std::span(data, size), channels);
    const auto saved = dyno::encodeAnalogSettingsFile(channels);
    if (!saved) return 0;
    if (saved.value().size() != dyno::kAnalogSettingsFileSize) std::abort();
    auto restored = dyno::defaultAnalogChannelTexts();
    dyno::decodeAnalogSettingsFile(saved.value(), restored);
    const auto again = dyno::encodeAnalogSettingsFile(restored);
    if (!again || again.value() != saved.value()) std::abort();
    return 0;
}
