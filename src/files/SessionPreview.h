#pragma once

#include <ctime>
#include <filesystem>
#include <string>

#include "files/FileResult.h"

namespace dyno {

// What the File page shows for the selected file: its first remark line and its
// modification time.
struct SessionPreview {
    std::string remarkLine1;  // Windows-1252 bytes up to the first zero, at most 66
    std::string timeText;     // "%u:%u:%u", hours:minutes:seconds, e.g. "9:5:4"
    std::string dateText;     // "%u/%u/%u", month/day/year, e.g. "7/29/2007"
};

// The time and date texts of a local time, seconds in the two-second steps of a DOS
// time stamp.
void formatPreviewTime(const std::tm& localTime, SessionPreview& preview);

// The preview of `file`. A name with ".zsd" shows the start of its member (failure:
// "Cannot read zipfile"); any other file shows its own first 68 bytes as text, and
// when it cannot be opened the preview fails without a message (empty message).
FileResult<SessionPreview> previewSessionFile(const std::filesystem::path& file);

}  // namespace dyno
