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

    const auto csv = runDynotool(
        {"library", "search", "--make", "yamaha", "--min-power", "0", "--csv", "--db", db});
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

std::string contentOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(LibraryCommand, ADbThatIsNotAnIndexIsRefusedAndLeftAsItIs) {
    testing::ScratchFolder folder;
    const auto archive = folder / "shop" / "zip.zsd";
    testing::saveSession(archive, {"Piaggio", "Zip", "Hansen", ""});
    const std::string before = contentOf(archive);
    for (const char* command : {"search", "scan"}) {
        std::vector<std::string> words{"library", command};
        if (std::string(command) == "scan") words.push_back((folder / "shop").string());
        words.insert(words.end(), {"--db", archive.string()});
        const auto refused = runDynotool(words);
        EXPECT_EQ(refused.exitStatus, 1) << command;
        EXPECT_EQ(lineCount(refused.err), 1) << refused.err;
        EXPECT_NE(refused.err.find("is not a session index"), std::string::npos) << refused.err;
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(contentOf(archive), before) << command;
        EXPECT_FALSE(std::filesystem::exists(archive.string() + ".damaged")) << command;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder / "shop"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(LibraryCommand, ADamagedIndexIsRefusedBySearchAndStartedAnewByScan) {
    testing::ScratchFolder folder;
    const std::string db = (folder / "index.sqlite").string();
    testing::saveSession(folder / "shop" / "zip.zsd", {"Piaggio", "Zip", "Hansen", ""});
    ASSERT_EQ(runDynotool({"library", "scan", (folder / "shop").string(), "--db", db}).exitStatus,
              0);
    // The database's header stays; every page after the first is overwritten.
    const auto size = std::filesystem::file_size(db);
    {
        std::fstream damage(db, std::ios::in | std::ios::out | std::ios::binary);
        damage.seekp(4096);
        const std::string garbage(size > 4096 ? size - 4096 : 4096, '\x5a');
        damage.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }
    const std::string damaged = contentOf(db);

    const auto search = runDynotool({"library", "search", "zip", "--db", db});
    EXPECT_EQ(search.exitStatus, 1);
    EXPECT_NE(search.err.find("is damaged"), std::string::npos) << search.err;
    EXPECT_EQ(contentOf(db), damaged);
    EXPECT_FALSE(std::filesystem::exists(db + ".damaged"));

    const auto scan = runDynotool({"library", "scan", (folder / "shop").string(), "--db", db});
    ASSERT_EQ(scan.exitStatus, 0) << scan.err;
    EXPECT_TRUE(std::filesystem::exists(db + ".damaged"));
    const auto found = runDynotool({"library", "search", "zip", "--db", db});
    EXPECT_EQ(found.exitStatus, 0) << found.err;
    EXPECT_EQ(lineCount(found.out), 1);
}

TEST(LibraryCommand, SearchSortsAndFiltersByTheAnalysisAndPrintsItsFigures) {
    testing::ScratchFolder folder;
    const std::string db = (folder / "index.sqlite").string();
    std::filesystem::create_directories(folder / "shop");
    std::filesystem::copy_file(DYNO_TEST_DATA_DIR "/coast_down_scooter50_seed7.zsd",
                               folder / "shop" / "ridden.zsd");
    testing::saveSession(folder / "shop" / "plain.zsd", {"Piaggio", "Zip", "Hansen", ""});
    ASSERT_EQ(runDynotool({"library", "scan", (folder / "shop").string(), "--db", db}).exitStatus,
              0);

    const auto json =
        runDynotool({"library", "search", "--sort", "spread", "--analysis", "--db", db});
    ASSERT_EQ(json.exitStatus, 0) << json.err;
    const auto plainAt = json.out.find("plain.zsd");
    EXPECT_LT(json.out.find("ridden.zsd"), plainAt) << json.out;
    EXPECT_NE(
        json.out.find("\"peakEnginePowerHp\": null, \"powerSpreadPercent\": null}\n", plainAt),
        std::string::npos)
        << json.out;

    const auto csv =
        runDynotool({"library", "search", "--sort", "engine-power", "--min-engine-power", "1",
                     "--max-spread", "50", "--csv", "--analysis", "--db", db});
    ASSERT_EQ(csv.exitStatus, 0) << csv.err;
    EXPECT_EQ(lineCount(csv.out), 2) << csv.out;
    EXPECT_NE(csv.out.find(",unreadable,peak_engine_power_hp,power_spread_percent\n"),
              std::string::npos);
    // Without --analysis the output is as it was before the figures.
    const auto plain = runDynotool({"library", "search", "--csv", "--db", db});
    EXPECT_NE(plain.out.find(",run3_max_torque,unreadable\n"), std::string::npos) << plain.out;
    EXPECT_EQ(runDynotool({"library", "search", "--db", db}).out.find("peakEnginePowerHp"),
              std::string::npos);

    for (const auto& [option, value] :
         {std::pair{"--sort", "fastest"}, std::pair{"--max-spread", "3%"},
          std::pair{"--min-engine-power", "lots"}}) {
        const auto refused = runDynotool({"library", "search", option, value, "--db", db});
        EXPECT_EQ(refused.exitStatus, 2) << option;
        EXPECT_NE(refused.err.find(option), std::string::npos) << refused.err;
    }
}

}  // namespace
}  // namespace dyno
