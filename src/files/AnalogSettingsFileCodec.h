#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "files/FileResult.h"
#include "model/DynoSettings.h"

namespace dyno {

// "vkr_dyno.ana": the "A/D Sett." page's five channels as a 390-byte image in the
// start directory. Factors and delays are binary32, so 1.1 comes back as
// 1.10000002384186.
inline constexpr std::size_t kAnalogSettingsFileSize = 390;
inline constexpr const char* kAnalogSettingsFileName = "vkr_dyno.ana";

// The file image. Fails with the toolkit's conversion message when a factor or delay
// is not a decimal number (with the user's `decimalSeparator`) or lies beyond the
// range of binary32.
FileResult<std::vector<std::uint8_t>> encodeAnalogSettingsFile(const AnalogChannelTextSet& channels,
                                                               char decimalSeparator = '.');

// Restores an image into `channels`. The fields a short image lacks keep what the
// channels held (the window's defaults at start-up).
void decodeAnalogSettingsFile(std::span<const std::uint8_t> bytes, AnalogChannelTextSet& channels);

// "Save settings": nothing is written when a conversion fails; the file is replaced
// only by a complete new one. Failure to write: "Cannot save .ana file".
FileResult<> saveAnalogSettingsFile(const std::filesystem::path& file,
                                    const AnalogChannelTextSet& channels,
                                    char decimalSeparator = '.');

// The analog settings file of a folder prepared for a first start: made whole where
// nothing is at its name, never through a link. Failure: "Cannot save .ana file".
FileResult<> createAnalogSettingsFile(const std::filesystem::path& file,
                                      const AnalogChannelTextSet& channels);

// The read at start-up. "Cannot read .ana file" when it cannot be opened; the
// channels are then left as they were.
FileResult<> readAnalogSettingsFile(const std::filesystem::path& file,
                                    AnalogChannelTextSet& channels);

}  // namespace dyno
