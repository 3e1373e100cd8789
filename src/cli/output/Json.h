#pragma once

#include <string>
#include <string_view>

namespace dyno::cli {

// Pieces of the JSON that dynotool prints. Numbers are written so that they read
// back as the same double ("%.17g"); JSON has no NaN or infinity, so those are
// written as null. Strings are escaped byte by byte: session texts are
// Windows-1252 and must be converted to UTF-8 before they get here.
std::string jsonString(std::string_view text);
std::string jsonNumber(double value);
std::string jsonBool(bool value);

// Builds one JSON object on a single line: {"a": 1, "b": "x"}.
class JsonObject {
  public:
    JsonObject& add(std::string_view key, double value);
    JsonObject& add(std::string_view key, int value);
    JsonObject& add(std::string_view key, bool value);
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) {
        return add(key, std::string_view(text));
    }
    // `json` must already be valid JSON (a nested object or an array).
    JsonObject& addRaw(std::string_view key, std::string_view json);

    std::string str() const { return text_ + "}"; }

  private:
    std::string text_ = "{";
};

}  // namespace dyno::cli
