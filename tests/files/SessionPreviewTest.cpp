#include "files/SessionPreview.h"

#include <gtest/gtest.h>

#include <chrono>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "files/SessionArchive.h"

namespace dyno {
namespace {

using testing::ScratchFolder;
using testing::writeFile;

void setModificationTime(const std::filesystem::path& file, int year, int month, int day, int hour,
                         int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const auto when = std::chrono::system_clock::from_time_t(std::mktime(&local));
    std::filesystem::last_write_time(file, std::chrono::file_clock::from_sys(when));
}

TEST(SessionPreview, TimeAndDateHaveNoLeadingZerosAndTwoSecondSteps) {
    std::tm t{};
    t.tm_year = 107, t.tm_mon = 6, t.tm_mday = 29, t.tm_hour = 9, t.tm_min = 5, t.tm_sec = 5;
    SessionPreview preview;
    formatPreviewTime(t, preview);
    EXPECT_EQ(preview.timeText, "9:5:4");
    EXPECT_EQ(preview.dateText, "7/29/2007");
}

TEST(SessionPreview, ArchiveShowsItsFirstRemarkLineAndFileTime) {
    ScratchFolder folder;
    auto session = testing::recordedSession();
    session->remarkLine1.assign(std::string(66, 'k'), 66);
    const auto archive = folder / "run.zsd";
    ASSERT_TRUE(saveSessionArchive(archive, *session, {}).ok());
    setModificationTime(archive, 2007, 7, 29, 9, 5, 4);

    const auto preview = previewSessionFile(archive);
    ASSERT_TRUE(preview.ok());
    EXPECT_EQ(preview.value().remarkLine1, std::string(66, 'k'));
    EXPECT_EQ(preview.value().timeText, "9:5:4");
    EXPECT_EQ(preview.value().dateText, "7/29/2007");
}

TEST(SessionPreview, PlainFileShowsItsOwnFirstBytes) {
    ScratchFolder folder;
    writeFile(folder / "RUN.ZSD", std::string(80, 'p'));
    const auto capitals = previewSessionFile(folder / "RUN.ZSD");
    ASSERT_TRUE(capitals.ok());
    EXPECT_EQ(capitals.value().remarkLine1, std::string(66, 'p'));

    writeFile(folder / "notes.txt", std::string("Oil change\0hidden", 17));
    EXPECT_EQ(previewSessionFile(folder / "notes.txt").value().remarkLine1, "Oil change");
}

TEST(SessionPreview, UnreadableFilesFailWithTheirOwnMessage) {
    ScratchFolder folder;
    const auto missingPlain = previewSessionFile(folder / "gone.txt");
    ASSERT_FALSE(missingPlain.ok());
    EXPECT_EQ(missingPlain.error().message, "");  // the File page stays silent

    writeFile(folder / "broken.zsd", std::string("PK but not really"));
    const auto broken = previewSessionFile(folder / "broken.zsd");
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.error().message, "Cannot read zipfile");
}

}  // namespace
}  // namespace dyno
