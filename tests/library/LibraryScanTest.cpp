#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "files/SessionRecordCodec.h"
#include "library/LibraryFixture.h"
#include "library/SessionSummary.h"

namespace dyno::testing {
namespace {

using Names = std::vector<std::string>;

// The record stored without compression: two records of different content give
// archives of exactly the same size, as another tool might write them.
void writeStoredArchive(const std::filesystem::path& file, const SessionTexts& texts) {
    const auto record = encodeSessionRecord(*sessionWith(texts), SavedAirData{});
    int error = 0;
    zip_t* zip = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    zip_source_t* source = zip_source_buffer(zip, record.data(), record.size(), 0);
    const zip_int64_t index = zip_file_add(zip, "vkrzip.diz", source, 0);
    ASSERT_GE(index, 0);
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    ASSERT_EQ(zip_close(zip), 0);
}

using LibraryScan = LibraryFixture;

TEST_F(LibraryScan, ReadsOnlyNewAndChangedArchivesAndDropsVanishedOnes) {
    saveSession(archives() / "one.zsd", {"Piaggio", "Zip", "Hansen", "stock"});
    saveSession(archives() / "2023" / "may" / "two.zsd", {"Yamaha", "Aerox", "Berg", ""});
    saveSession(archives() / "2023" / "three.zsd", {"Gilera", "Runner", "Holm", ""});
    std::ofstream(archives() / "broken.zsd") << "not a zip archive";
    std::ofstream(archives() / "notes.txt") << "no session here";

    ScanReport first = scan();
    EXPECT_EQ(first.found, 4);
    EXPECT_EQ(first.added, 4);
    EXPECT_EQ(first.unreadable, 1);
    {
        LibraryIndex index(indexFile());
        const auto unreadable = index.unreadable();
        ASSERT_EQ(unreadable.size(), 1u);
        EXPECT_EQ(unreadable[0].path.filename(), "broken.zsd");
        EXPECT_NE(unreadable[0].unreadableReason.find("Cannot read zipfile"), std::string::npos);
    }

    ScanReport again = scan();
    EXPECT_EQ(again.unchanged, 4);
    EXPECT_EQ(again.added + again.changed + again.removed, 0);

    // Saved over with other texts; then one folder taken away.
    saveSession(archives() / "one.zsd", {"Piaggio", "Zip", "Hansen", "big bore kit"});
    std::filesystem::remove_all(archives() / "2023" / "may");
    ScanReport later = scan();
    EXPECT_EQ(later.changed, 1);
    EXPECT_EQ(later.removed, 1);
    EXPECT_EQ(later.unchanged, 2);
    EXPECT_EQ(namesFound("bore"), Names{"one.zsd"});
    EXPECT_EQ(namesFound("aerox"), Names{});
}

TEST_F(LibraryScan, ArchiveReplacedWithSameSizeAndTimeIsNoticedByItsMember) {
    const auto file = archives() / "same.zsd";
    std::filesystem::create_directories(archives());
    writeStoredArchive(file, {"Honda", "Vision", "Olsen", ""});
    const auto size = std::filesystem::file_size(file);
    const auto written = std::filesystem::last_write_time(file);
    scan();

    writeStoredArchive(file, {"Vespa", "Primavera", "Olsen", ""});
    setModified(file, written);
    ASSERT_EQ(std::filesystem::file_size(file), size);

    EXPECT_EQ(scan().changed, 1);
    EXPECT_EQ(namesFound("primavera"), Names{"same.zsd"});
    EXPECT_EQ(namesFound("honda"), Names{});
}

TEST_F(LibraryScan, CancelledScanKeepsWhatItReadAndRemovesNothing) {
    for (int i = 0; i < 12; ++i) {
        saveSession(archives() / ("s" + std::to_string(i) + ".zsd"), {"Kymco", "Agility", "", ""});
    }
    std::stop_source stop;
    ScanOptions options;
    options.threads = 1;
    options.stop = stop.get_token();
    options.progress = [&](const ScanProgress& progress) {
        if (progress.examined >= 1) stop.request_stop();
    };
    const ScanReport report = scan(options);
    EXPECT_TRUE(report.cancelled);
    EXPECT_LT(report.added, 12);

    EXPECT_EQ(scan().added, 12 - report.added);
}

TEST_F(LibraryScan, TwoProgramsScanningOneIndexAtOnceLeaveItWhole) {
    constexpr int kArchives = 40;
    for (int i = 0; i < kArchives; ++i) {
        saveSession(archives() / std::to_string(i % 4) / ("s" + std::to_string(i) + ".zsd"),
                    {"Peugeot", "Speedfight", "Owner" + std::to_string(i), ""});
    }
    // Each thread has its own connection, as two programs would.
    std::vector<ScanReport> reports(3);
    {
        std::vector<std::jthread> scanners;
        for (auto& report : reports) {
            scanners.emplace_back([&] { report = scan(); });
        }
    }
    for (const auto& report : reports) EXPECT_EQ(report.found, kArchives);
    EXPECT_EQ(namesFound("speedfight").size(), static_cast<std::size_t>(kArchives));
    EXPECT_EQ(scan().unchanged, kArchives);
}

TEST_F(LibraryScan, DamagedIndexIsRebuiltFromTheFoldersItHadScanned) {
    saveSession(archives() / "a.zsd", {"Derbi", "Senda", "Lund", ""});
    saveSession(archives() / "b" / "b.zsd", {"Aprilia", "SR", "Lund", ""});
    scan();

    // Garbage over the index's last pages, where the sessions are: the folders, written
    // first, can still be read.
    const auto size = std::filesystem::file_size(indexFile());
    {
        std::fstream damage(indexFile(), std::ios::in | std::ios::out | std::ios::binary);
        damage.seekp(static_cast<std::streamoff>(size / 2));
        const std::string garbage(size - size / 2, '\x5a');
        damage.write(garbage.data(), static_cast<std::streamsize>(garbage.size()));
    }

    LibraryIndex index(indexFile());
    ASSERT_TRUE(index.openReport().rebuilt);
    EXPECT_FALSE(index.openReport().message.empty());
    ASSERT_EQ(index.openReport().foldersToRescan.size(), 1u);
    EXPECT_EQ(index.openReport().foldersToRescan[0], indexPath(archives()));
    EXPECT_EQ(scanFolder(index, index.openReport().foldersToRescan[0]).added, 2);
    EXPECT_EQ(namesFound("lund").size(), 2u);
}

// The program's own index file is the index, whatever it holds: garbage there is a
// damaged index. A file the user names is one only if it is a database of ours.
TEST_F(LibraryScan, AnOwnIndexThatIsNotADatabaseStartsAnewANamedOneIsRefused) {
    std::filesystem::create_directories(indexFile().parent_path());
    const std::string garbage(8192, 'x');
    std::ofstream(indexFile()) << garbage;
    EXPECT_THROW(LibraryIndex(indexFile(), LibraryOpening{true, true}), IndexRefused);
    EXPECT_FALSE(std::filesystem::exists(indexFile().string() + ".damaged"));

    LibraryIndex index(indexFile());
    EXPECT_TRUE(index.openReport().rebuilt);
    EXPECT_TRUE(index.openReport().foldersToRescan.empty());
    EXPECT_TRUE(std::filesystem::exists(indexFile().string() + ".damaged"));
    saveSession(archives() / "a.zsd", {"Derbi", "Senda", "Lund", ""});
    EXPECT_EQ(scanFolder(index, archives()).added, 1);
}

TEST_F(LibraryScan, ADatabaseOfAnotherProgramIsNeverMadeAnIndex) {
    std::filesystem::create_directories(indexFile().parent_path());
    // Without a version mark, and with one of its own (many programs set one).
    for (const char* mark : {"", "PRAGMA user_version = 7;"}) {
        std::filesystem::remove(indexFile());
        {
            SqliteDatabase other(indexFile());
            other.execute(std::string(mark) +
                          "CREATE TABLE parts(name TEXT); INSERT INTO parts VALUES ('jet')");
        }
        const auto size = std::filesystem::file_size(indexFile());
        std::ifstream before(indexFile(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(before)),
                                std::istreambuf_iterator<char>());
        EXPECT_THROW(LibraryIndex{indexFile()}, IndexRefused) << mark;
        EXPECT_EQ(std::filesystem::file_size(indexFile()), size) << mark;
        std::ifstream after(indexFile(), std::ios::binary);
        EXPECT_EQ(
            std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()),
            bytes)
            << "not a byte of it changed " << mark;
        EXPECT_FALSE(std::filesystem::exists(indexFile().string() + ".damaged")) << mark;
        SqliteDatabase other(indexFile());
        SqliteStatement tables(other, "SELECT count(*) FROM sqlite_master");
        ASSERT_TRUE(tables.step());
        EXPECT_EQ(tables.integer(0), 1);
    }
}

TEST(SessionSummary, EvaluatesEveryRunWithTheSessionsOwnRoller) {
    ScratchFolder scratch;
    saveSession(scratch / "light.zsd", {"", "", "", "", 184.0});
    saveSession(scratch / "heavy.zsd", {"", "", "", "", 368.0});
    SessionSummaryReader reader;
    const IndexedSession light = reader.read(scratch / "light.zsd");
    const IndexedSession heavy = reader.read(scratch / "heavy.zsd");
    ASSERT_TRUE(light.isReadable());
    EXPECT_EQ(light.runs[0].samples, 900);
    EXPECT_EQ(light.runs[1].samples, 0);
    EXPECT_GT(light.runs[0].maxPowerHp, 0.5);
    EXPECT_GT(light.runs[0].maxSpeedKmh, 50.0);
    // Power is inertia x acceleration x speed: twice the roller, twice the power.
    EXPECT_NEAR(heavy.maxPowerHp(), 2 * light.maxPowerHp(), 1e-9);
    EXPECT_EQ(heavy.runs[0].maxSpeedKmh, light.runs[0].maxSpeedKmh);
}

}  // namespace
}  // namespace dyno::testing
