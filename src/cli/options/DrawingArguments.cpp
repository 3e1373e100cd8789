#include "cli/options/DrawingArguments.h"

#include "model/SessionLayout.h"

namespace dyno::cli {

std::vector<int> runsOf(const Arguments& arguments, std::size_t files) {
    std::vector<int> runs{1};
    if (const auto chosen = arguments.integerList("run", 1, kRunsPerSession)) {
        runs.assign(chosen->begin(), chosen->end());
    }
    if (runs.size() == 1) runs.resize(files, runs.front());
    if (runs.size() != files) throw UsageError("--run needs one run, or one run per file");
    return runs;
}

std::optional<std::vector<int>> numberListOf(const Arguments& arguments, const std::string& name,
                                             int minimum, int maximum) {
    const auto numbers = arguments.integerList(name, minimum, maximum);
    if (!numbers) return std::nullopt;
    return std::vector<int>(numbers->begin(), numbers->end());
}

int numberOf(const Arguments& arguments, const std::string& name, int minimum, int maximum,
             int fallback) {
    return arguments.integerIn(name, minimum, maximum, fallback);
}

std::unique_ptr<QGuiApplication> headlessApplication() {
    if (QGuiApplication::instance() != nullptr) return nullptr;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "dynotool";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

}  // namespace dyno::cli
