#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

#include "files/FileResult.h"

namespace dyno {

// Writes `bytes` to a temporary file in the folder of `file`, flushes it to the disk
// and renames it over `file`, so a save that fails part way (full disk, pulled
// stick, power cut) leaves the old file as it was and never a truncated or empty one
// for the next start. A link at `file` is written through: the file it leads to is
// replaced with its mode, and the link stays. The temporary has a name of its own
// ("<file>.XXXXXX") and is made new: nothing another user left in the folder is
// opened or followed. On failure the temporary is removed and the result carries
// `failureMessage`.
FileResult<> writeFileAtomically(const std::filesystem::path& file,
                                 std::span<const std::uint8_t> bytes,
                                 std::string_view failureMessage);

// The same for a file that is to be made, not replaced: `file` appears whole, and
// only where nothing is at its name. Whatever is there (a file, a link, even one to
// nothing) is left as it is and the result carries `failureMessage`.
FileResult<> createFileAtomically(const std::filesystem::path& file,
                                  std::span<const std::uint8_t> bytes,
                                  std::string_view failureMessage);

// Nothing at all is at the name: no file, no folder, not even a link to nothing.
bool isNameFree(const std::filesystem::path& file);

}  // namespace dyno
