#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

namespace dyno {

// The file a save really writes: `file` itself, or, when it is a symbolic link, the
// file the link leads to (through any chain of links), so that the save replaces the
// target and the link stays a link. A link whose target is missing gives that
// target; a chain that loops gives `file`.
std::filesystem::path resolvedSaveTarget(const std::filesystem::path& file);

// A save writes a temporary "<archive>.XXXXXX" beside the archive (six letters or
// digits) and renames it into place. One left behind by a save that was killed is
// empty or a zip archive cut short: it begins like one but cannot be opened.
bool isLeftoverSaveTemporary(const std::filesystem::path& file);

// Removes the leftover temporaries in `folder` that are older than `staleAfter`; a
// younger one may belong to a save still running. Errors are passed over: this is
// tidying up, never a reason to fail a save.
void removeStaleSaveTemporaries(const std::filesystem::path& folder,
                                std::chrono::seconds staleAfter = std::chrono::minutes(10));

}  // namespace dyno
