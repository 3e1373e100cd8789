// The "vkr_dyno.ini" reader over arbitrary files. Whatever it restores must save as a
// complete file, unless a restored number is one the boxes cannot take (NaN,
// infinity), and saving what that file restores must give the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/SettingsFileCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    dyno::DynoSettings settings;
    dyno::decodeSettingsFile(std::span(data, size), settings);
    const auto saved = dyno::encodeSettingsFile(settings);
    if (!saved) return 0;
    if (saved.value().bytes.size() != dyno::kSettingsFileSize) std::abort();
    dyno::DynoSettings restored;
    dyno::decodeSettingsFile(saved.value().bytes, restored);
    const auto again = dyno::encodeSettingsFile(restored);
    if (!again || again.value().bytes != saved.value().bytes) std::abort();
    return 0;
}
