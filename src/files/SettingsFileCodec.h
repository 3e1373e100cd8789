#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/FileResult.h"
#include "model/DynoSettings.h"

namespace dyno {

// "vkr_dyno.ini": despite its name a 182-byte binary image of the Setup, Param. and
// advanced setup settings, in the start directory.
inline constexpr std::size_t kSettingsFileSize = 182;
inline constexpr const char* kSettingsFileName = "vkr_dyno.ini";

// What a save or a read puts in force besides the controls' contents: the values the
// program holds as current numbers, and the Param. page texts a read overwrites.
struct SettingsInForce {
    // Start and end of speed, power and engine speed: the current graph scale.
    std::array<std::int32_t, 6> graphLimits{0, 100, 0, 10, 0, 15000};
    std::int16_t rollerCode = 0;  // the roller code of the dyno constants
    double weatherHumidityConstant = 0.0;
    double weatherPressureConstant = 0.0;
    double weatherTemperatureConstant = 0.0;
    std::uint8_t transferDelay = 20;  // byte 7 of every K40 command
    // A read with the Fahrenheit or inch-of-mercury flag set puts a typical value in
    // the unit into the Param. page's temperature or pressure box.
    std::optional<std::string> paramTemperatureText;
    std::optional<std::string> paramPressureText;
};

// Roller code: `rollerspecs` index + 10 x `roller_type` index, + 50 on a K80.
std::int16_t rollerCodeOf(int dynoModel, int rollerType, int rollerSpecs);

// Puts a stored roller code back into the two roller choices. Codes of 90 and above
// leave them as they are.
void applyRollerCode(int rollerCode, DynoSettings& settings);

struct EncodedSettings {
    std::vector<std::uint8_t> bytes;
    SettingsInForce inForce;
};

// Refuses a port name the 8-byte field cannot keep with its terminator, naming the
// limit of 7 characters.
std::string portNameTooLongMessage(std::string_view portName);

// The file image of `settings`. Fails with the toolkit's conversion message when a
// weather station constant (decimal, the user's `decimalSeparator` or a point) or
// the transfer delay (whole number) is not a number, and with
// portNameTooLongMessage() when the port name does not fit.
FileResult<EncodedSettings> encodeSettingsFile(const DynoSettings& settings,
                                               char decimalSeparator = '.');

// Restores a file image into `settings`. An image shorter than the file gives the
// defaults of a first start (no file at all) for the fields it lacks; an empty image
// gives those defaults throughout.
SettingsInForce decodeSettingsFile(std::span<const std::uint8_t> bytes, DynoSettings& settings);

// The settings of a start without a settings file: the window's defaults with the
// first-start values of the fields the file holds (graph limits 0-100 km/h, 0-10 hp,
// 0-15000 rpm, "Your company", "1234567890"). A folder the program prepares starts
// from these too, so that it is never worse than no file at all.
DynoSettings firstStartSettings();

// "Save initialization file". Nothing is written when a conversion fails; the file
// is replaced only by a complete new one. Failure to write: "Cannot save ini file".
FileResult<SettingsInForce> saveSettingsFile(const std::filesystem::path& file,
                                             const DynoSettings& settings,
                                             char decimalSeparator = '.');

// The settings file of a folder prepared for a first start: made whole where nothing
// is at its name, never through a link; whatever is there stays. Failure: "Cannot
// save ini file".
FileResult<> createSettingsFile(const std::filesystem::path& file, const DynoSettings& settings);

struct SettingsFileRead {
    SettingsInForce inForce;
    std::optional<FileError> error;  // "Cannot read ini file": the defaults are in force
};

// The read at start-up: the file's settings, or the defaults with a message when it
// cannot be opened.
SettingsFileRead readSettingsFile(const std::filesystem::path& file, DynoSettings& settings);

}  // namespace dyno
