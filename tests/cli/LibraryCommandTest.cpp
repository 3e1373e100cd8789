// Black-box tests of `dynotool library`: archives saved in nested folders, scanned and
// searched by the binary as a script would.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "library/LibraryFixture.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

int lineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(LibraryCommand, ScansAFolderTreeAndFindsSessionsByWordsAndFilters) {
    testing::ScratchFolder folder;
    const std::string db = (folder / "index.sqlite").string();
    testing::saveSession(folder / "shop" / "2023" / "zip.zsd",
                         {"Piaggio", "Zip", "Hansen", "main jet 82"});
    testing::saveSession(folder / "shop" / "aerox.zsd", {"Yamaha", "Aerox", "Berg", ""});
    std::ofstream(folder / "shop" / "broken.zsd") << "no zip";

    const auto scan = runDynotool({"library", "scan", (folder / "shop").string(), "--db", db});
    ASSERT_EQ(scan.exitStatus, 0) << scan.err;
    EXPECT_NE(scan.out.find("\"found\": 3"), std::string::npos) << scan.out;
    EXPECT_NE(scan.out.find("broken.zsd\", \"reason\": \"Cannot read zipfile"), std::string::npos)
        << scan.out;

    const auto words = runDynotool({"library", "search", "jet", "--db", db});
    ASSERT_EQ(words.exitStatus, 0) << words.err;
    EXPECT_EQ(lineCount(words.out), 1);
    EXPECT_NE(words.out.find("zip.zsd\""), std::string::npos);
    EXPECT_NE(words.out.find("\"runs\": [{\"samples\": 900"), std::string::npos) << words.out;

    const auto csv =
        runDynotool({"library", "search", "--make", "yamaha", "--min-power", "0", "--csv", "--db", db});
    ASSERT_EQ(csv.exitStatus, 0) << csv.err;
    EXPECT_EQ(lineCount(csv.out), 2);
    EXPECT_NE(csv.out.find(",Yamaha,Aerox,Berg,"), std::string::npos) << csv.out;

    const auto none = runDynotool({"library", "search", "--since", "2999-01-01", "--db", db});
    EXPECT_EQ(none.exitStatus, 0);
    EXPECT_EQ(none.out, "");
}

TEST(LibraryCommand, RefusesBadDatesAndMissingFolders) {
    testing::ScratchFolder folder;
    const std::string db = (folder / "index.sqlite").string();
    const auto date = runDynotool({"library", "search", "--until", "31/12/2023", "--db", db});
    EXPECT_EQ(date.exitStatus, 2);
    EXPECT_NE(date.err.find("--until must be a date"), std::string::npos) << date.err;

    const auto missing = runDynotool({"library", "scan", (folder / "gone").string(), "--db", db});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_NE(missing.err.find("no such folder"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace dyno
