#pragma once

#include <string>
#include <utility>
#include <variant>

namespace dyno {

// Why a file operation failed. `message` is the program's own text, shown in a box
// captioned "File error" ("Cannot read zipfile", ...); it is empty where the
// program stays silent. `detail` is what the library or system said, for dynotool.
// A save stopped by a box that does not hold a number carries the toolkit's
// conversion message instead (`isConversionError`), shown as that error is.
struct FileError {
    std::string message;
    std::string detail;
    bool isConversionError = false;
};

// The outcome of a file operation: a value, or the error that stopped it. Expected
// failures (a missing file, a foreign archive) travel this way, never as exceptions.
template <typename T = std::monostate>
class [[nodiscard]] FileResult {
  public:
    FileResult(T value) : state_(std::move(value)) {}
    FileResult(FileError error) : state_(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(state_); }
    explicit operator bool() const { return ok(); }

    T& value() { return std::get<T>(state_); }
    const T& value() const { return std::get<T>(state_); }
    const FileError& error() const { return std::get<FileError>(state_); }

  private:
    std::variant<T, FileError> state_;
};

// The messages of the File page, the Setup page and the A/D Sett. page.
inline constexpr const char* kCannotSaveFile = "Cannot save file";
inline constexpr const char* kCannotReadFile = "Cannot read file";
inline constexpr const char* kCannotReadZipfile = "Cannot read zipfile";
inline constexpr const char* kCannotSaveIniFile = "Cannot save ini file";
inline constexpr const char* kCannotReadIniFile = "Cannot read ini file";
inline constexpr const char* kCannotSaveAnaFile = "Cannot save .ana file";
inline constexpr const char* kCannotReadAnaFile = "Cannot read .ana file";

}  // namespace dyno
