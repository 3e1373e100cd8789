#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dyno {

enum class LibraryOrder {
    newestFirst,     // by the archive's modification time
    mostPowerFirst,  // by the best run's maximum power, then newest first
    // By the mean peak engine-side power, then newest first; sessions without one last.
    mostEnginePowerFirst,
    // By the spread of the runs' peak power, the most repeatable first, then newest
    // first; sessions whose runs cannot be compared last.
    leastSpreadFirst,
};

// What the user looks for. Every part that is set must hold for a session to be
// found; unreadable archives are never found by a search.
struct LibraryQuery {
    // Words matched against make, model, owner and the three remark lines; each word
    // may be the start of a word there ("pia" finds "Piaggio"), case and accents
    // ignored.
    std::string words;
    // Contained anywhere in the field, case ignored for ASCII letters.
    std::string make, model, owner;
    // Modification time in nanoseconds since the epoch: since <= time < until.
    std::optional<std::int64_t> sinceNs, untilNs;
    std::optional<int> dynoModel;  // 0 K40, 1 K70, 2 K80
    std::optional<double> minPowerHp;
    // A session without an engine-side figure, or without runs to compare, passes
    // neither of these: nothing says it would.
    std::optional<double> minEnginePowerHp;
    std::optional<double> maxSpreadPercent;
    LibraryOrder order = LibraryOrder::newestFirst;
    int limit = 0;  // 0: every session found
    // Only archives in this folder or below it; empty: everywhere.
    std::filesystem::path folder;
};

// The start of a local calendar day "YYYY-MM-DD" in nanoseconds since the epoch, or
// nothing when the text is not such a date. `dayOffset` 1 gives the next day's start,
// which is where a range "until" that day ends.
std::optional<std::int64_t> localDayStartNs(std::string_view date, int dayOffset = 0);

// The full-text query for the user's words: each becomes a quoted prefix term, so
// quotes, stars and operators typed by the user are taken as text. Empty when no
// word has a letter or digit.
std::string fullTextQuery(std::string_view words);

}  // namespace dyno
