#pragma once

// A "vkr_dyno.ana" image whose factor uses and offset uses are written as given. The
// program only ever saves 0 or 1; other numbers come from older or foreign files,
// so they go into the image by hand.
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "files/AnalogSettingsFileCodec.h"

namespace dyno::testing {

using StoredUses = std::array<std::int16_t, kAnalogSettingsChannels>;

inline void writeAnalogSettingsWithUses(const std::filesystem::path& file,
                                        const AnalogChannelTextSet& channels,
                                        const StoredUses& factorUses,
                                        const StoredUses& offsetUses) {
    std::vector<std::uint8_t> bytes = encodeAnalogSettingsFile(channels).value();
    // int16 little-endian: factor uses from byte 60, offset uses from byte 70.
    const auto put = [&bytes](std::size_t at, std::int16_t value) {
        const auto bits = static_cast<std::uint16_t>(value);
        bytes[at] = static_cast<std::uint8_t>(bits & 0xFF);
        bytes[at + 1] = static_cast<std::uint8_t>(bits >> 8);
    };
    for (std::size_t c = 0; c < factorUses.size(); ++c) {
        put(60 + 2 * c, factorUses[c]);
        put(70 + 2 * c, offsetUses[c]);
    }
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

}  // namespace dyno::testing
