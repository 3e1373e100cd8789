#include "model/TextNumbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace dyno {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// from_chars rejects a leading '+'; it is a valid sign in every box.
double parseDecimal(std::string_view digits, bool negative) {
    double value = 0.0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    return negative ? -value : value;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    bool anyDigit = false;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        anyDigit = true;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
            anyDigit = true;
        }
    }
    if (!anyDigit) return 0.0;
    std::string_view number = text.substr(start, i - start);
    // from_chars wants a digit before the point: read ".5" as "0.5". A box's text is
    // short; anything longer than the buffer has long passed double precision.
    if (number.front() == '.') {
        char padded[64] = {'0'};
        const std::size_t n = std::min(number.size(), sizeof padded - 1);
        std::copy_n(number.data(), n, padded + 1);
        return parseDecimal(std::string_view(padded, n + 1), negative);
    }
    return parseDecimal(number, negative);
}

std::int32_t leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    while (i < text.size() && isDigit(text[i])) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), limit);
        ++i;
    }
    if (negative) value = -value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::optional<double> strictDecimal(std::string_view text, char decimalSeparator) {
    text = trimmed(text);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // Rewrite into the point form from_chars understands, checking every character.
    std::string number;
    number.reserve(text.size() + 1);
    bool digitsBeforeExponent = false;
    bool seenSeparator = false;
    std::size_t i = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (isDigit(c)) {
            digitsBeforeExponent = true;
            number.push_back(c);
        } else if ((c == decimalSeparator || c == '.') && !seenSeparator) {
            seenSeparator = true;
            if (number.empty()) number.push_back('0');
            number.push_back('.');
        } else {
            break;
        }
    }
    if (!digitsBeforeExponent) return std::nullopt;
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
        number.push_back('e');
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.push_back(text[i++]);
        const std::size_t exponentStart = i;
        while (i < text.size() && isDigit(text[i])) number.push_back(text[i++]);
        if (i == exponentStart || i != text.size()) return std::nullopt;
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) {
        return std::nullopt;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return negative ? -value : value;
}

std::optional<std::int32_t> strictInteger(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::int32_t value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    return value;
}

std::string notAFloatMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid floating point value";
}

std::string notAnIntegerMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid integer value";
}

std::size_t formatFixedInto(double value, int decimals, char* out, std::size_t size) {
    if (size == 0) return 0;
    if (std::isnan(value)) {
        if (size < 4) return 0;
        std::copy_n(std::signbit(value) ? "-nan" : "nan", std::signbit(value) ? 4 : 3, out);
        return std::signbit(value) ? 4 : 3;
    }
    if (std::isinf(value)) {
        const char* text = value < 0 ? "-inf" : "inf";
        const std::size_t n = value < 0 ? 4 : 3;
        if (size < n) return 0;
        std::copy_n(text, n, out);
        return n;
    }
    const auto result = std::to_chars(out, out + size, value, std::chars_format::fixed, decimals);
    if (result.ec != std::errc()) return 0;
    return static_cast<std::size_t>(result.ptr - out);
}

std::string formatFixed(double value, int decimals) {
    char buffer[400];  // "%.3f" of the largest double fits
    const std::size_t n = formatFixedInto(value, decimals, buffer, sizeof buffer);
    return std::string(buffer, n);
}

std::string formatGeneral15(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string formatRoundTrip(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
    return std::string(buffer, result.ptr);
}

}  // namespace dyno
