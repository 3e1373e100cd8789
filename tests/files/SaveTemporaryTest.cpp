// The temporaries of a save cannot be redirected: a link or a FIFO that another user
// left at a temporary's old fixed name is neither followed nor opened, each save
// makes a temporary of its own, and a file that is only to be made appears where
// nothing is, never through a link.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "files/AtomicFileWrite.h"
#include "files/SessionArchive.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::ScratchFolder;
using testing::writeFile;

const std::vector<std::uint8_t> kNew{'n', 'e', 'w'};

mode_t modeOf(const fs::path& file) {
    struct stat st {};
    ::lstat(file.c_str(), &st);
    return st.st_mode & 07777;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::ranges::sort(names);
    return names;
}

// What a reader of the FIFO would get: a save that opened the FIFO would have
// written the file's bytes into it (or hung, had nobody been reading).
std::string bytesWaitingIn(int fifoReader) {
    char buffer[64];
    const ssize_t got = ::read(fifoReader, buffer, sizeof buffer);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string();
}

TEST(SaveTemporary, ALinkOrAFifoAtTheOldTemporaryNamesIsLeftAlone) {
    ScratchFolder folder;
    ScratchFolder elsewhere;
    const fs::path victim = elsewhere / "workshop.txt";
    writeFile(victim, std::string("precious"));
    ::chmod(victim.c_str(), 0600);
    fs::create_symlink(victim, folder / "vkr_dyno.ini.saving");
    ASSERT_EQ(::mkfifo((folder / "vkr_dyno.ana.saving").c_str(), 0666), 0);
    const int fifoReader = ::open((folder / "vkr_dyno.ana.saving").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(fifoReader, 0);

    ASSERT_TRUE(writeFileAtomically(folder / "vkr_dyno.ini", kNew, "Cannot save ini file").ok());
    ASSERT_TRUE(writeFileAtomically(folder / "vkr_dyno.ana", kNew, "Cannot save .ana file").ok());

    EXPECT_EQ(fileBytes(victim),
              std::vector<std::uint8_t>({'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    EXPECT_EQ(modeOf(victim), 0600u);
    EXPECT_EQ(bytesWaitingIn(fifoReader), "");
    ::close(fifoReader);
    for (const char* name : {"vkr_dyno.ini", "vkr_dyno.ana"}) {
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(folder / name))) << name;
        EXPECT_EQ(fileBytes(folder / name), kNew) << name;
    }
    EXPECT_TRUE(fs::is_symlink(folder / "vkr_dyno.ini.saving"));
    EXPECT_TRUE(fs::is_fifo(folder / "vkr_dyno.ana.saving"));
    // No temporary stays behind.
    EXPECT_EQ(namesIn(folder.path()),
              std::vector<std::string>(
                  {"vkr_dyno.ana", "vkr_dyno.ana.saving", "vkr_dyno.ini", "vkr_dyno.ini.saving"}));
}

TEST(SaveTemporary, ANewFileTakesTheUsualModeAndAReplacedOneKeepsItsOwn) {
    ScratchFolder folder;
    const mode_t before = ::umask(022);
    ASSERT_TRUE(writeFileAtomically(folder / "vkr_dyno.ini", kNew, "Cannot save ini file").ok());
    ::umask(before);
    EXPECT_EQ(modeOf(folder / "vkr_dyno.ini"), 0644u);
    ::chmod((folder / "vkr_dyno.ini").c_str(), 0604);
    ASSERT_TRUE(writeFileAtomically(folder / "vkr_dyno.ini", {kNew.data(), 2}, "x").ok());
    EXPECT_EQ(modeOf(folder / "vkr_dyno.ini"), 0604u);
    EXPECT_EQ(fileBytes(folder / "vkr_dyno.ini"), std::vector<std::uint8_t>({'n', 'e'}));
}

TEST(SaveTemporary, AFailedSaveCarriesItsMessageAndLeavesNoTemporary) {
    ScratchFolder folder;
    const auto noFolder =
        writeFileAtomically(folder / "gone" / "vkr_dyno.ini", kNew, "Cannot save ini file");
    ASSERT_FALSE(noFolder.ok());
    EXPECT_EQ(noFolder.error().message, "Cannot save ini file");

    // Written and flushed, but the rename fails: a folder holds the name.
    fs::create_directories(folder / "vkr_dyno.ana" / "inside");
    const auto overFolder =
        writeFileAtomically(folder / "vkr_dyno.ana", kNew, "Cannot save .ana file");
    ASSERT_FALSE(overFolder.ok());
    EXPECT_EQ(overFolder.error().message, "Cannot save .ana file");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"vkr_dyno.ana"}));
    EXPECT_TRUE(fs::is_directory(folder / "vkr_dyno.ana" / "inside"));
}

TEST(CreateFile, AFileIsMadeOnlyWhereNothingIsNotEvenALinkToNothing) {
    ScratchFolder folder;
    ScratchFolder elsewhere;
    ASSERT_TRUE(createFileAtomically(folder / "made", kNew, "Cannot save ini file").ok());
    EXPECT_EQ(fileBytes(folder / "made"), kNew);

    writeFile(folder / "kept", std::string("old"));
    const auto overKept = createFileAtomically(folder / "kept", kNew, "Cannot save ini file");
    ASSERT_FALSE(overKept.ok());
    EXPECT_EQ(overKept.error().message, "Cannot save ini file");
    EXPECT_EQ(fileBytes(folder / "kept"), std::vector<std::uint8_t>({'o', 'l', 'd'}));

    fs::create_symlink(elsewhere / "planted", folder / "dangling");
    EXPECT_FALSE(isNameFree(folder / "dangling"));
    EXPECT_FALSE(createFileAtomically(folder / "dangling", kNew, "x").ok());
    EXPECT_FALSE(fs::exists(fs::symlink_status(elsewhere / "planted")));
    EXPECT_TRUE(fs::is_symlink(folder / "dangling"));
    EXPECT_TRUE(isNameFree(folder / "free"));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"dangling", "kept", "made"}));
}

TEST(ArchiveSaveTemporary, TheArchiveIsWrittenWholeBesideItselfAndNothingIsLeftBehind) {
    ScratchFolder folder;
    const auto session1 = testing::recordedSession();
    constexpr SavedAirData kAir{1008.0, 18.5, 52.0};
    ASSERT_TRUE(saveSessionArchive(folder / "run.zsd", *session1, kAir).ok());
    // A second save replaces the member in the archive it reads back.
    session1->remarkLine1.assign("second");
    ASSERT_TRUE(saveSessionArchive(folder / "run.zsd", *session1, kAir).ok());
    EXPECT_EQ(readSessionMember(folder / "run.zsd").value(), encodeSessionRecord(*session1, kAir));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>({"run.zsd"}));

    // A FIFO in the archive's place is refused, not opened.
    ASSERT_EQ(::mkfifo((folder / "pipe.zsd").c_str(), 0666), 0);
    const auto intoFifo = saveSessionArchive(folder / "pipe.zsd", *session1, kAir);
    ASSERT_FALSE(intoFifo.ok());
    EXPECT_EQ(intoFifo.error().message, "Cannot save file");
    EXPECT_TRUE(fs::is_fifo(folder / "pipe.zsd"));

    // A file far larger than any archive is refused, not read into memory, and kept.
    {
        const int huge = ::open((folder / "huge.zsd").c_str(), O_WRONLY | O_CREAT, 0644);
        ASSERT_GE(huge, 0);
        ASSERT_EQ(::ftruncate(huge, off_t{65} << 20), 0);  // sparse: costs no disk
        ::close(huge);
    }
    const auto intoHuge = saveSessionArchive(folder / "huge.zsd", *session1, kAir);
    ASSERT_FALSE(intoHuge.ok());
    EXPECT_NE(intoHuge.error().detail.find("too large"), std::string::npos)
        << intoHuge.error().detail;
    EXPECT_EQ(fs::file_size(folder / "huge.zsd"), std::uintmax_t{65} << 20);
}

}  // namespace
}  // namespace dyno
