#include "library/IndexedSession.h"

#include <sys/stat.h>

#include <algorithm>

namespace dyno {

std::optional<FileStamp> stampOf(const std::filesystem::path& file) {
    // One stat call for both: a rescan looks at every archive.
    struct stat status {};
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    constexpr std::int64_t kNsPerSecond = 1'000'000'000;
    // Widened without a cast: off_t and time_t are at most 64 bits wide.
    return FileStamp{std::int64_t{status.st_size},
                     std::int64_t{status.st_mtim.tv_sec} * kNsPerSecond + status.st_mtim.tv_nsec};
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
