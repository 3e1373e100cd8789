#include "cli/options/LoadSessionArgument.h"

#include "files/SessionLoading.h"

namespace dyno::cli {

bool loadSessionArgument(std::string_view command, const std::string& file, TestSession& slot,
                         std::ostream& err) {
    const auto loaded = loadSessionFile(file, slot);
    if (!loaded) {
        err << "dynotool " << command << ": " << loaded.error().message << ": " << file;
        if (!loaded.error().detail.empty()) err << " (" << loaded.error().detail << ")";
        err << "\n";
        return false;
    }
    if (loaded.value() == LoadOutcome::notASessionArchive) {
        err << "dynotool " << command
            << ": not a session archive (the name has no \".zsd\"): " << file << "\n";
        return false;
    }
    return true;
}

}  // namespace dyno::cli
