#include "files/SessionPreview.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <system_error>
#include <vector>

#include "files/SessionArchive.h"
#include "model/SessionLayout.h"

namespace dyno {

namespace {

// The remark field's size in the record; its first 66 bytes can be text.
constexpr std::size_t kRemarkField = 68;

std::string remarkText(const std::vector<std::uint8_t>& bytes) {
    const std::size_t limit = std::min<std::size_t>(bytes.size(), kRemarkStoredChars);
    const auto end =
        std::find(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(limit), 0);
    return std::string(bytes.begin(), end);
}

std::string unsignedText(int value) {
    return std::to_string(static_cast<unsigned>(value));
}

// The file's modification time in local time, or nothing when it cannot be read.
bool modificationTime(const std::filesystem::path& file, std::tm& localTime) {
    std::error_code error;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error) return false;
    const auto sinceEpoch = std::chrono::file_clock::to_sys(written);
    const std::time_t seconds = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sinceEpoch));
    return localtime_r(&seconds, &localTime) != nullptr;
}

}  // namespace

void formatPreviewTime(const std::tm& localTime, SessionPreview& preview) {
    // A DOS time stamp keeps seconds / 2.
    preview.timeText = unsignedText(localTime.tm_hour) + ":" + unsignedText(localTime.tm_min) +
                       ":" + unsignedText(localTime.tm_sec / 2 * 2);
    preview.dateText = unsignedText(localTime.tm_mon + 1) + "/" + unsignedText(localTime.tm_mday) +
                       "/" + unsignedText(localTime.tm_year + 1900);
}

FileResult<SessionPreview> previewSessionFile(const std::filesystem::path& file) {
    std::vector<std::uint8_t> start;
    if (hasSessionArchiveName(file)) {
        auto member = readSessionMember(file, kRemarkField);
        if (!member) return member.error();
        start = std::move(member.value());
    } else {
        std::ifstream plain(file, std::ios::binary);
        if (!plain) return FileError{"", "cannot open " + file.string()};
        start.resize(kRemarkField);
        plain.read(reinterpret_cast<char*>(start.data()),
                   static_cast<std::streamsize>(start.size()));
        start.resize(static_cast<std::size_t>(plain.gcount()));
    }
    SessionPreview preview;
    preview.remarkLine1 = remarkText(start);
    std::tm localTime{};
    if (modificationTime(file, localTime)) formatPreviewTime(localTime, preview);
    return preview;
}

}  // namespace dyno
