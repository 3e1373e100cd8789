#pragma once

#include <filesystem>

#include "files/FileResult.h"
#include "model/TestSession.h"

namespace dyno {

enum class LoadOutcome {
    loaded,
    // The file name has no ".zsd": the file could be opened, but a plain file is
    // never loaded. The program shows no message; the slot is unchanged.
    notASessionArchive,
};

// Loads the session archive `file` into a slot (the File page's "Test session 1" to
// "Test session 4" buttons). The member is extracted into memory and decoded into a
// scratch copy of the slot, which replaces the slot only when the whole read
// succeeded: a missing, foreign or damaged archive leaves the slot as it was.
// Failures: "Cannot read file" (plain file that cannot be opened), "Cannot read
// zipfile" (archive or member unreadable).
FileResult<LoadOutcome> loadSessionFile(const std::filesystem::path& file, TestSession& slot);

}  // namespace dyno
