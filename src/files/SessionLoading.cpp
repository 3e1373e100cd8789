#include "files/SessionLoading.h"

#include <fstream>
#include <memory>

#include "files/SessionArchive.h"
#include "files/SessionRecordCodec.h"

namespace dyno {

FileResult<LoadOutcome> loadSessionFile(const std::filesystem::path& file, TestSession& slot) {
    if (!hasSessionArchiveName(file)) {
        std::ifstream plain(file, std::ios::binary);
        if (!plain) return FileError{kCannotReadFile, "cannot open " + file.string()};
        return LoadOutcome::notASessionArchive;
    }
    auto record = readSessionMember(file);
    if (!record) return record.error();

    auto scratch = std::make_unique<TestSession>(slot);
    decodeSessionRecord(record.value(), *scratch);
    slot = *scratch;
    return LoadOutcome::loaded;
}

}  // namespace dyno
