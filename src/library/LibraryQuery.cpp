#include "library/LibraryQuery.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <limits>
#include <sstream>

namespace dyno {

std::optional<std::int64_t> localDayStartNs(std::string_view date, int dayOffset) {
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') return std::nullopt;
    const auto digits = [&](std::size_t from, std::size_t count) -> std::optional<int> {
        int value = 0;
        for (std::size_t i = from; i < from + count; ++i) {
            if (!std::isdigit(static_cast<unsigned char>(date[i]))) return std::nullopt;
            value = value * 10 + (date[i] - '0');
        }
        return value;
    };
    const auto year = digits(0, 4), month = digits(5, 2), day = digits(8, 2);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > 31) {
        return std::nullopt;
    }
    std::tm local{};
    local.tm_year = *year - 1900;
    local.tm_mon = *month - 1;
    local.tm_mday = *day + dayOffset;
    local.tm_isdst = -1;  // let the library decide summer time for that day
    const std::time_t seconds = std::mktime(&local);
    if (seconds == static_cast<std::time_t>(-1)) return std::nullopt;
    // mktime rolls 31 February over into March: such a date is not a date.
    if (dayOffset == 0 && (local.tm_mon != *month - 1 || local.tm_mday != *day)) {
        return std::nullopt;
    }
    // Nanoseconds reach to the year 2262; later days all lie beyond every archive.
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    constexpr std::int64_t kLastSecond = std::numeric_limits<std::int64_t>::max() / kNsPerSecond;
    const auto clamped = std::clamp<std::int64_t>(seconds, -kLastSecond, kLastSecond);
    return clamped * kNsPerSecond;
}

std::string fullTextQuery(std::string_view words) {
    std::istringstream in{std::string(words)};
    std::string word, query;
    while (in >> word) {
        // A word of only punctuation has no token to match; FTS5 would reject it.
        const bool hasToken = std::any_of(word.begin(), word.end(), [](char c) {
            const auto u = static_cast<unsigned char>(c);
            return std::isalnum(u) || u >= 0x80;
        });
        if (!hasToken) continue;
        if (!query.empty()) query += ' ';
        query += '"';
        for (const char c : word) query += c == '"' ? std::string("\"\"") : std::string(1, c);
        query += "\"*";
    }
    return query;
}

}  // namespace dyno
