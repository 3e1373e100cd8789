#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "files/FileResult.h"

namespace dyno {

// Writes `bytes` to a temporary file in the folder of `file` and renames it over
// `file`, so a save that fails part way (full disk, pulled stick) leaves the old file
// as it was and never a truncated one for the next start. On failure the temporary
// is removed and the result carries `failureMessage`.
FileResult<> writeFileAtomically(const std::filesystem::path& file,
                                 std::span<const std::uint8_t> bytes,
                                 std::string_view failureMessage);

}  // namespace dyno
