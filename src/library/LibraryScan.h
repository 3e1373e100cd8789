#pragma once

#include <filesystem>
#include <functional>
#include <stop_token>

#include "library/LibraryIndex.h"

namespace dyno {

// How far a scan is: archives examined of those found in the folder tree.
struct ScanProgress {
    int examined = 0;
    int found = 0;
};

struct ScanOptions {
    int threads = 0;  // archives read at once; 0: one per core of the machine
    // Called on the thread that scans, whenever more archives have been examined.
    std::function<void(const ScanProgress&)> progress;
    // Stops the scan soon: what was read so far is kept, nothing is removed.
    std::stop_token stop;
};

struct ScanReport {
    int found = 0;       // session archives in the folder tree
    int added = 0;       // read for the first time
    int changed = 0;     // read again: size, time or member content differed
    int unchanged = 0;   // as the index had them
    int removed = 0;     // gone from the folder tree, dropped from the index
    int unreadable = 0;  // of the added and changed, those that could not be read
    bool cancelled = false;
    bool folderMissing = false;  // the folder is not there: the index was left alone
};

// Brings the index up to date with the session archives (names with ".zsd") in
// `folder` and below. Only new archives and those whose size or modification time
// changed are read; where size and time agree, the member's fingerprint in the
// archive's directory decides. Archives are read on several threads and stored in
// batches, each one transaction, so another program scanning the same index at the
// same time leaves it consistent. Entries whose archives are gone are dropped;
// archives that are there but could not be listed (no permission) keep theirs.
ScanReport scanFolder(LibraryIndex& index, const std::filesystem::path& folder,
                      const ScanOptions& options = {});

// Reads one archive into the index at once (after the window saved it).
void indexArchive(LibraryIndex& index, const std::filesystem::path& archive);

}  // namespace dyno
