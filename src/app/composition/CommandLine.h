#pragma once

#include <string>
#include <vector>

// The window's command line, read before the toolkit starts: `--help` and
// `--version` must answer on a terminal without a display, and a mistyped option
// must not start the window as if nothing was asked.
namespace dyno {

struct WindowOptions {
    bool isUserFolder = false;      // --user-folder: the workshop's own folder
    bool isDemo = false;            // --demo: the current folder on the simulated dyno
    bool isSimulated = false;       // --simulate: simulated electronics on every port
    bool skipsCalibration = false;  // --skip-calibration
};

struct CommandLine {
    enum class Action { RunWindow, PrintHelp, PrintVersion, Refuse };
    Action action = Action::RunWindow;
    WindowOptions options;
    std::string refusal;  // what was wrong, for Refuse
};

// Reads the words after the program's name. The toolkit's own options (-platform
// NAME, -style NAME, -geometry WxH+X+Y, -reverse, ...) are let through for it.
CommandLine readCommandLine(const std::vector<std::string>& words);

// The usage text `--help` prints: the same options as the man page.
std::string windowUsage();

// "vkr_dyno 2.32"
std::string windowVersion();

}  // namespace dyno
