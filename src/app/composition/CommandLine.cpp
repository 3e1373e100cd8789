#include "app/composition/CommandLine.h"

#include <array>
#include <string_view>

namespace dyno {

namespace {

// The toolkit's command-line options, with one or two dashes. Those that take a value
// take the next word; only a few also read "-name=value", and any other option
// written so would be ignored by the toolkit, so it is refused here.
constexpr std::array<std::string_view, 15> kToolkitOptionsWithValue{
    "platform",     "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
    "qwindowtitle", "qwindowicon",        "style",         "stylesheet", "session",
    "display",      "geometry",           "title",         "icon",       "name"};
constexpr std::array<std::string_view, 3> kToolkitOptionsWithEquals{"style", "stylesheet",
                                                                    "qmljsdebugger"};
constexpr std::array<std::string_view, 6> kToolkitFlags{"reverse", "widgetcount", "nograb",
                                                        "dograb",  "sync",        "testability"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
    for (std::string_view known : names) {
        if (name == known) return true;
    }
    return false;
}

// "-platform" or "--platform" as "platform"; "--x=y" as "x".
std::string_view optionName(std::string_view word) {
    word.remove_prefix(word.starts_with("--") ? 2 : 1);
    return word.substr(0, word.find('='));
}

bool isToolkitOption(std::string_view word) {
    const std::string_view name = optionName(word);
    return isOneOf(name, kToolkitOptionsWithValue) || isOneOf(name, kToolkitOptionsWithEquals) ||
           isOneOf(name, kToolkitFlags);
}

}  // namespace

CommandLine readCommandLine(const std::vector<std::string>& words) {
    CommandLine line;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") return {CommandLine::Action::PrintHelp, {}, {}};
        if (word == "--version") return {CommandLine::Action::PrintVersion, {}, {}};
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--user-folder") {
            line.options.isUserFolder = true;
        } else if (word == "--demo") {
            line.options.isDemo = true;
        } else if (word == "--simulate") {
            line.options.isSimulated = true;
        } else if (word == "--skip-calibration") {
            line.options.skipsCalibration = true;
        } else if (word.size() > 1 && word[0] == '-' && isToolkitOption(word)) {
            const std::string_view name = optionName(word);
            const bool hasEquals = word.find('=') != std::string::npos;
            if (hasEquals && !isOneOf(name, kToolkitOptionsWithEquals)) {
                return {CommandLine::Action::Refuse,
                        {},
                        word + ": write -" + std::string(name) + " VALUE, as two words"};
            }
            if (!hasEquals && isOneOf(name, kToolkitOptionsWithValue) && ++i == words.size()) {
                return {CommandLine::Action::Refuse, {}, word + " expects a value"};
            }
        } else if (word.starts_with("-")) {
            return {CommandLine::Action::Refuse, {}, "unknown option " + word};
        } else {
            return {CommandLine::Action::Refuse, {}, "takes no file or other word: " + word};
        }
    }
    if (line.options.isUserFolder && line.options.isDemo) {
        return {CommandLine::Action::Refuse, {}, "--user-folder and --demo exclude each other"};
    }
    return line;
}

std::string windowUsage() {
    return "usage: vkr_dyno [--user-folder | --demo] [--simulate] [--skip-calibration]\n"
           "       vkr_dyno --help | --version\n"
           "\n"
           "The roller dyno program. It works in the current folder unless told otherwise.\n"
           "  --user-folder       work in the user's own folder ($XDG_DATA_HOME/vkr_dyno),\n"
           "                      made with default settings on the first start\n"
           "  --demo              prepare the current folder for the simulated dyno (port SIM)\n"
           "                      and use the simulated K70/K80 card\n"
           "  --simulate          the simulated electronics on every port, and the simulated card\n"
           "  --skip-calibration  leave the card's timing loops uncalibrated (quicker start)\n"
           "  --help              this text\n"
           "  --version           the program's version\n";
}

std::string windowVersion() {
    return std::string("vkr_dyno ") + DYNO_VERSION;
}

}  // namespace dyno
