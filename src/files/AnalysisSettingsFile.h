#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"
#include "model/AnalysisSettings.h"

namespace dyno {

// "vkr_dyno_analysis.ini": what the Analysis page keeps, as a text a workshop can
// read and mend in an editor. UTF-8, one "key = value" per line in sections:
//
//   [channel1]          one section per analog channel 1..5
//   name = AFR          empty: the channel is not calibrated
//   unit = AFR
//   recorded_low = 0    the straight line from the recorded value to the unit
//   value_low = 10
//   recorded_high = 1023
//   value_high = 20
//   smoothing = 1       samples of the moving average; 1 is none
//   [graph]
//   channels = 1,3      at most two of 1..5 drawn over the power curves; 0 or empty: none
//   [liveview]
//   on = 0              0 or 1
//   port = 8040         1..65535
//   reach = network     "network" (every address) or "this_pc" (127.0.0.1)
//   show_each_run = 0   0 or 1
//
// Blank lines and lines starting with '#' or ';' are comments. Numbers are written
// so that they read back as the same double.
inline constexpr const char* kCannotSaveAnalysisFile = "Cannot save analysis settings file";
inline constexpr const char* kCannotReadAnalysisFile = "Cannot read analysis settings file";

// What a read gives: the settings, with the defaults for whatever was damaged, and
// one message per damaged line ("line 7: port 70000 is outside 1..65535, 8040 is
// used"). No message: the file was whole (or there was none).
struct AnalysisSettingsRead {
    AnalysisSettings settings;
    std::vector<std::string> messages;
};

std::string encodeAnalysisSettings(const AnalysisSettings& settings);
AnalysisSettingsRead decodeAnalysisSettings(std::string_view text);

// Replaces the file whole (a failed save leaves the old one), "Cannot save analysis
// settings file" on failure.
FileResult<> saveAnalysisSettingsFile(const std::filesystem::path& file,
                                      const AnalysisSettings& settings);

// The read at start-up. Nothing at the name gives the defaults without a message;
// a file that is there but cannot be read fails with "Cannot read analysis settings
// file", and the caller keeps the defaults.
FileResult<AnalysisSettingsRead> readAnalysisSettingsFile(const std::filesystem::path& file);

}  // namespace dyno
