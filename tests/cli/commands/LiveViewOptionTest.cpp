// Black-box tests of --live-view on `dynotool simulate`: where it goes, and a card
// session served while it runs at the rider's pace.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

TEST(LiveViewOption, WithoutLiveView_ItsCompanionsAreUsageErrors) {
    for (const char* companion : {"--live-view-hold", "--live-view-reach"}) {
        const auto run = runDynotool({"simulate", "--out", "x.zsd", companion, "1"});
        EXPECT_EQ(run.exitStatus, 2) << companion;
        EXPECT_NE(run.err.find("goes with --live-view"), std::string::npos) << run.err;
    }
}

TEST(LiveViewOption, OnThePtyServer_BelongsToTheProgramOpeningTheTerminal) {
    const auto run = runDynotool({"simulate", "--pty", "--live-view", "0"});
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_NE(run.err.find("--live-view belongs to the program"), std::string::npos) << run.err;
}

TEST(LiveViewOption, UnknownReach_IsAUsageError) {
    const auto run = runDynotool(
        {"simulate", "--out", "x.zsd", "--live-view", "0", "--live-view-reach", "everywhere"});
    EXPECT_EQ(run.exitStatus, 2);
}

TEST(LiveViewOption, CardSession_PrintsTheAddressWithItsCodeAndFinishes) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("dynotool_live_view_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto run = runDynotool({"simulate", "--card", "--time-lapse", "50", "--live-view", "0",
                                  "--out", (folder / "card.zsd").string()});
    std::filesystem::remove_all(folder);
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_TRUE(std::regex_search(
        run.err, std::regex(R"(live view at http://127\.0\.0\.1:\d+/\?code=\d{6}\n)")))
        << run.err;
    EXPECT_NE(run.out.find("\"runs\": ["), std::string::npos) << run.out;
}

}  // namespace
}  // namespace dyno
