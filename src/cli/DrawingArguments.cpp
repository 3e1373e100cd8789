#include "cli/DrawingArguments.h"

#include "model/SessionLayout.h"
#include "model/TextNumbers.h"

namespace dyno::cli {

namespace {

std::optional<std::vector<int>> wholeNumbers(const std::string& text, int minimum, int maximum) {
    std::vector<int> numbers;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        const auto number = strictInteger(text.substr(from, comma - from));
        if (!number || *number < minimum || *number > maximum) return std::nullopt;
        numbers.push_back(*number);
        if (comma == std::string::npos) return numbers;
        from = comma + 1;
    }
}

std::string range(int minimum, int maximum) {
    return std::to_string(minimum) + " to " + std::to_string(maximum);
}

}  // namespace

std::vector<int> runsOf(const Arguments& arguments, std::size_t files) {
    const std::string text = arguments.value("run").value_or("1");
    auto runs = wholeNumbers(text, 1, kRunsPerSession);
    if (!runs) {
        throw UsageError("--run takes runs 1, 2 or 3 separated by commas (got '" + text + "')");
    }
    if (runs->size() == 1) runs->resize(files, runs->front());
    if (runs->size() != files) throw UsageError("--run needs one run, or one run per file");
    return *runs;
}

std::optional<std::vector<int>> numberListOf(const Arguments& arguments, const std::string& name,
                                             int minimum, int maximum) {
    const auto text = arguments.value(name);
    if (!text) return std::nullopt;
    auto numbers = wholeNumbers(*text, minimum, maximum);
    if (!numbers) {
        throw UsageError("--" + name + " takes whole numbers " + range(minimum, maximum) +
                         " separated by commas (got '" + *text + "')");
    }
    return numbers;
}

int numberOf(const Arguments& arguments, const std::string& name, int minimum, int maximum,
             int fallback) {
    const auto text = arguments.value(name);
    if (!text) return fallback;
    const auto number = strictInteger(*text);
    if (!number || *number < minimum || *number > maximum) {
        throw UsageError("--" + name + " takes a whole number " + range(minimum, maximum) +
                         " (got '" + *text + "')");
    }
    return *number;
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
