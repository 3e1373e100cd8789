#include "cli/output/Json.h"

#include <cmath>
#include <cstdio>

#include "model/TextNumbers.h"

namespace dyno::cli {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    return formatRoundTrip(value);
}

std::string jsonBool(bool value) {
    return value ? "true" : "false";
}

JsonObject& JsonObject::addRaw(std::string_view key, std::string_view json) {
    if (text_.size() > 1) text_ += ", ";
    text_ += jsonString(key);
    text_ += ": ";
    text_ += json;
    return *this;
}

JsonObject& JsonObject::add(std::string_view key, double value) {
    return addRaw(key, jsonNumber(value));
}

JsonObject& JsonObject::add(std::string_view key, int value) {
    return addRaw(key, std::to_string(value));
}

JsonObject& JsonObject::add(std::string_view key, bool value) {
    return addRaw(key, jsonBool(value));
}

JsonObject& JsonObject::add(std::string_view key, std::string_view text) {
    return addRaw(key, jsonString(text));
}

}  // namespace dyno::cli
