// Saving where the archive is not a plain single-member zip file: two members of the
// session member's name, an empty file, a symbolic link, and the temporaries a
// killed save leaves beside the archive.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "files/AtomicFileWrite.h"
#include "files/SaveTarget.h"
#include "files/SessionArchive.h"
#include "files/SessionPreview.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::memberNames;
using testing::recordedSession;
using testing::ScratchFolder;
using testing::writeFile;
using testing::writeZip;

constexpr SavedAirData kAir{1008.0, 18.5, 52.0};

// libzip will not add a name twice; another tool may. Both members are written under
// names of the same length and renamed in the file's bytes.
void writeZipWithTwoSessionMembers(const fs::path& file, const std::vector<std::uint8_t>& first,
                                   const std::vector<std::uint8_t>& second) {
    writeZip(file, {{"vkrzip.di1", first}, {"notes.txt", {'o', 'k'}}, {"vkrzip.di2", second}});
    std::vector<std::uint8_t> bytes = fileBytes(file);
    for (const std::string stand : {"vkrzip.di1", "vkrzip.di2"}) {
        auto at = bytes.begin();
        while ((at = std::search(at, bytes.end(), stand.begin(), stand.end())) != bytes.end()) {
            std::copy_n(kSessionMemberName.begin(), kSessionMemberName.size(), at);
        }
    }
    writeFile(file, bytes);
}

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    ::stat(file.c_str(), &st);
    return st.st_mode & 0777;
}

TEST(ArchiveSave, EveryMemberOfTheSessionNameIsReplacedAndPreviewAndLoadAgree) {
    ScratchFolder folder;
    const auto archive = folder / "twice.zsd";
    std::vector<std::uint8_t> firstCopy(200, 'A'), secondCopy(200, 'B');
    writeZipWithTwoSessionMembers(archive, firstCopy, secondCopy);
    ASSERT_EQ(std::ranges::count(memberNames(archive), "vkrzip.diz"), 2);

    const auto session1 = recordedSession();
    session1->remarkLine1.assign("the new copy");
    ASSERT_TRUE(saveSessionArchive(archive, *session1, kAir).ok());
    auto names = memberNames(archive);
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"notes.txt", "vkrzip.diz"}));
    const auto record = readSessionMember(archive);
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record.value(), encodeSessionRecord(*session1, kAir));
    const auto preview = previewSessionFile(archive);
    ASSERT_TRUE(preview.ok());
    EXPECT_EQ(preview.value().remarkLine1, "the new copy");
}

TEST(ArchiveSave, AnEmptyFileBecomesANewArchive) {
    ScratchFolder folder;
    const auto archive = folder / "touched.zsd";
    writeFile(archive, std::string());
    const auto session1 = recordedSession();
    const auto saved = saveSessionArchive(archive, *session1, kAir);
    ASSERT_TRUE(saved.ok()) << saved.error().detail;
    EXPECT_EQ(memberNames(archive), std::vector<std::string>{"vkrzip.diz"});
}

TEST(ArchiveSave, ThroughALinkTheTargetIsReplacedWithItsModeAndTheLinkStays) {
    ScratchFolder folder;
    fs::create_directories(folder / "store");
    const auto session1 = recordedSession();
    const auto archive = folder / "store" / "run.zsd";
    ASSERT_TRUE(saveSessionArchive(archive, *session1, kAir).ok());
    const auto settings = folder / "store" / "vkr_dyno.ini";
    writeFile(settings, std::string("old"));

    // The archive through a relative link to a second link; the settings file directly.
    fs::create_symlink("store/run.zsd", folder / "middle.zsd");
    fs::create_symlink(folder / "middle.zsd", folder / "latest.zsd");
    fs::create_symlink(settings, folder / "vkr_dyno.ini");
    ::chmod(archive.c_str(), 0640);
    ::chmod(settings.c_str(), 0600);

    session1->remarkLine1.assign("through the link");
    ASSERT_TRUE(saveSessionArchive(folder / "latest.zsd", *session1, kAir).ok());
    const std::vector<std::uint8_t> newSettings{'n', 'e', 'w'};
    ASSERT_TRUE(writeFileAtomically(folder / "vkr_dyno.ini", newSettings, "Cannot save ini file"));

    for (const char* link : {"latest.zsd", "middle.zsd", "vkr_dyno.ini"}) {
        EXPECT_TRUE(fs::is_symlink(folder / link)) << link;
    }
    EXPECT_EQ(readSessionMember(archive).value(), encodeSessionRecord(*session1, kAir));
    EXPECT_EQ(fileBytes(settings), newSettings);
    EXPECT_EQ(modeOf(archive), 0640u);
    EXPECT_EQ(modeOf(settings), 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "store"), fs::directory_iterator()), 2);
}

TEST(ArchiveSave, LeftoverTemporariesAreKnownAndStaleOnesRemovedByTheNextSave) {
    ScratchFolder folder;
    const auto session1 = recordedSession();
    ASSERT_TRUE(saveSessionArchive(folder / "kept.zsd", *session1, kAir).ok());
    const std::vector<std::uint8_t> whole = fileBytes(folder / "kept.zsd");
    const std::vector<std::uint8_t> cutShort(whole.begin(), whole.begin() + 100);
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(1);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        bool isLeftover;
        bool isOld;
    };
    const std::vector<Case> cases{
        {"run.zsd.Ab12Cd", {}, true, true},           // killed before writing
        {"run.zsd.x9Y8z7", cutShort, true, true},     // killed while writing
        {"run.zsd.Qw3Er4", {}, true, false},          // perhaps a save running now
        {"run.zsd.backup", whole, false, true},       // a whole archive
        {"run.zsd.notes1", {'h', 'i'}, false, true},  // not a zip at all
        {"run.zsd.old", {}, false, true},             // not six letters
        {"run.zsd", {}, false, true},
    };
    for (const Case& c : cases) {
        writeFile(folder / c.name, c.bytes);
        if (c.isOld) fs::last_write_time(folder / c.name, old);
        EXPECT_EQ(isLeftoverSaveTemporary(folder / c.name), c.isLeftover) << c.name;
    }

    ASSERT_TRUE(saveSessionArchive(folder / "new.zsd", *session1, kAir).ok());
    for (const Case& c : cases) {
        EXPECT_EQ(fs::exists(folder / c.name), !(c.isLeftover && c.isOld)) << c.name;
    }
}

}  // namespace
}  // namespace dyno
