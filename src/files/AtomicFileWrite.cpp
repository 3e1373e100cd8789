#include "files/AtomicFileWrite.h"

#include <fstream>
#include <string>
#include <system_error>

#include "files/SaveTarget.h"

namespace dyno {

FileResult<> writeFileAtomically(const std::filesystem::path& file,
                                 std::span<const std::uint8_t> bytes,
                                 std::string_view failureMessage) {
    // Through a link the file it leads to is replaced, and the link stays. Same
    // folder, so the rename never crosses file systems.
    const std::filesystem::path target = resolvedSaveTarget(file);
    std::filesystem::path temporary = target;
    temporary += ".saving";
    const auto fail = [&](const std::string& detail) -> FileResult<> {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return FileError{std::string(failureMessage), detail};
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return fail("cannot create " + temporary.string());
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) return fail("cannot write " + temporary.string());
    }
    std::error_code error;
    // The file keeps who may read and write it.
    const std::filesystem::file_status old = std::filesystem::status(target, error);
    if (!error && std::filesystem::is_regular_file(old)) {
        std::filesystem::permissions(temporary, old.permissions(), error);
        if (error) return fail(error.message());
    }
    error.clear();
    std::filesystem::rename(temporary, target, error);
    if (error) return fail(error.message());
    return std::monostate{};
}

}  // namespace dyno
