#include "files/AtomicFileWrite.h"

#include <fstream>
#include <string>
#include <system_error>

namespace dyno {

FileResult<> writeFileAtomically(const std::filesystem::path& file,
                                 std::span<const std::uint8_t> bytes,
                                 std::string_view failureMessage) {
    // Same folder, so the rename never crosses file systems.
    std::filesystem::path temporary = file;
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
    std::filesystem::rename(temporary, file, error);
    if (error) return fail(error.message());
    return std::monostate{};
}

}  // namespace dyno
