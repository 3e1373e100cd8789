// The window's command line: answered before the toolkit starts, so that --help
// works on a terminal without a display and a mistyped option starts nothing.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "app/composition/CommandLine.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using Action = CommandLine::Action;

TEST(WindowCommandLine, ReadsItsOwnOptionsAndLetsTheToolkitsThrough) {
    const CommandLine line = readCommandLine(
        {"--user-folder", "--simulate", "-platform", "offscreen", "--style=Fusion", "-reverse",
         "--qwindowgeometry", "800x600", "-icon", "dyno.png", "-testability"});
    EXPECT_EQ(line.action, Action::RunWindow);
    EXPECT_TRUE(line.options.isUserFolder);
    EXPECT_TRUE(line.options.isSimulated);
    EXPECT_FALSE(line.options.isDemo);
    EXPECT_FALSE(line.options.skipsCalibration);
    EXPECT_TRUE(readCommandLine({"--demo", "--skip-calibration"}).options.skipsCalibration);
    EXPECT_EQ(readCommandLine({}).action, Action::RunWindow);

    EXPECT_EQ(readCommandLine({"--simulate", "--help"}).action, Action::PrintHelp);
    EXPECT_EQ(readCommandLine({"-h"}).action, Action::PrintHelp);
    EXPECT_EQ(readCommandLine({"--version"}).action, Action::PrintVersion);

    const struct {
        std::vector<std::string> words;
        const char* reason;
    } refused[] = {
        {{"--simulte"}, "unknown option --simulte"},
        {{"run.zsd"}, "takes no file or other word: run.zsd"},
        {{"-platform"}, "-platform expects a value"},
        {{"-platform=offscreen"}, "-platform=offscreen: write -platform VALUE, as two words"},
        {{"-"}, "unknown option -"},
        {{"--demo", "--user-folder"}, "--user-folder and --demo exclude each other"}};
    for (const auto& [words, reason] : refused) {
        const CommandLine refusedLine = readCommandLine(words);
        EXPECT_EQ(refusedLine.action, Action::Refuse) << reason;
        EXPECT_EQ(refusedLine.refusal, reason);
    }
}

// With no display and a toolkit that needs one: the program must answer before it
// would start the toolkit.
TEST(WindowCommandLine, TheProgramAnswersWithoutADisplay) {
    const auto run = [](const std::string& option) {
        return testing::runProgram({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY",
                                    "QT_QPA_PLATFORM=xcb", VKR_DYNO_PATH, option});
    };
    const auto help = run("--help");
    EXPECT_EQ(help.exitStatus, 0) << help.err;
    EXPECT_EQ(help.out, windowUsage());
    const auto version = run("--version");
    EXPECT_EQ(version.exitStatus, 0) << version.err;
    EXPECT_EQ(version.out, windowVersion() + "\n");
    EXPECT_EQ(windowVersion().rfind("vkr_dyno ", 0), 0u);
    const auto unknown = run("--bogus");
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_EQ(unknown.err, "vkr_dyno: unknown option --bogus\n" + windowUsage());
    EXPECT_EQ(unknown.out, "");
}

TEST(WindowCommandLine, TheManPageDescribesEveryOptionOfTheUsage) {
    std::ifstream file(std::string(DYNO_SOURCE_DIR) + "/packaging/man/vkr_dyno.1");
    const std::string page((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    ASSERT_FALSE(page.empty());
    const std::string usage = windowUsage();
    const std::regex option("--[a-z-]+");
    int options = 0;
    for (auto at = std::sregex_iterator(usage.begin(), usage.end(), option);
         at != std::sregex_iterator(); ++at, ++options) {
        std::string roff = ".B ";
        for (const char c : at->str()) roff += c == '-' ? std::string("\\-") : std::string(1, c);
        EXPECT_NE(page.find(roff + "\n"), std::string::npos) << roff;
    }
    EXPECT_GE(options, 6);
}

}  // namespace
}  // namespace dyno
