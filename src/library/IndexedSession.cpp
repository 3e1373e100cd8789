#include "library/IndexedSession.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace dyno {

std::optional<FileStamp> stampOf(const std::filesystem::path& file) {
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    if (error) return std::nullopt;
    const auto written = std::filesystem::last_write_time(file, error);
    if (error) return std::nullopt;
    const auto sinceEpoch = std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::file_clock::to_sys(written).time_since_epoch());
    return FileStamp{static_cast<std::int64_t>(size), sinceEpoch.count()};
}

double IndexedSession::maxPowerHp() const {
    double best = 0.0;
    for (const IndexedRun& run : runs) best = std::max(best, run.maxPowerHp);
    return best;
}

std::string dynoModelName(int dynoModel) {
    switch (dynoModel) {
        case 0: return "K40";
        case 1: return "K70";
        case 2: return "K80";
        default: return std::to_string(dynoModel);
    }
}

}  // namespace dyno
