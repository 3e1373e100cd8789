#include "files/SaveTarget.h"

#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <string>
#include <system_error>

#include "files/SessionArchive.h"

namespace dyno {

namespace {

namespace fs = std::filesystem;

// As many links as the system itself follows before it gives up.
constexpr int kMostLinksFollowed = 40;
constexpr std::size_t kTemporarySuffix = 6;

bool hasTemporaryName(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::string mark = std::string(kSessionArchiveMark) + ".";
    if (name.size() < mark.size() + kTemporarySuffix + 1) return false;
    const std::size_t suffixAt = name.size() - kTemporarySuffix;
    if (name.compare(suffixAt - mark.size(), mark.size(), mark) != 0) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(suffixAt), name.end(),
                       [](unsigned char c) { return std::isalnum(c) != 0; });
}

bool beginsLikeAZipArchive(const fs::path& file) {
    std::array<char, 4> start{};
    std::ifstream in(file, std::ios::binary);
    in.read(start.data(), start.size());
    return in.gcount() == 4 && start == std::array<char, 4>{'P', 'K', '\x03', '\x04'};
}

bool opensAsZipArchive(const fs::path& file) {
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error);
    if (zip == nullptr) return false;
    zip_discard(zip);
    return true;
}

}  // namespace

fs::path resolvedSaveTarget(const fs::path& file) {
    fs::path target = file;
    std::error_code error;
    for (int hop = 0; hop < kMostLinksFollowed; ++hop) {
        if (!fs::is_symlink(target, error)) return target;
        const fs::path next = fs::read_symlink(target, error);
        if (error) return file;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return file;
}

bool isLeftoverSaveTemporary(const fs::path& file) {
    if (!hasTemporaryName(file)) return false;
    std::error_code error;
    if (!fs::is_regular_file(fs::symlink_status(file, error))) return false;
    const auto size = fs::file_size(file, error);
    if (error) return false;
    if (size == 0) return true;
    return beginsLikeAZipArchive(file) && !opensAsZipArchive(file);
}

void removeStaleSaveTemporaries(const fs::path& folder, std::chrono::seconds staleAfter) {
    std::error_code error;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator entry(folder.empty() ? fs::path(".") : folder, error), end;
         !error && entry != end; entry.increment(error)) {
        const fs::path& file = entry->path();
        if (!isLeftoverSaveTemporary(file)) continue;
        std::error_code ignored;
        const auto written = fs::last_write_time(file, ignored);
        if (ignored || now - written < staleAfter) continue;
        fs::remove(file, ignored);
    }
}

}  // namespace dyno
