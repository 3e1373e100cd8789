#include "files/SessionArchive.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "files/SessionLoading.h"

namespace dyno {
namespace {

using testing::fileBytes;
using testing::memberNames;
using testing::recordedSession;
using testing::ScratchFolder;
using testing::writeFile;
using testing::writeZip;

constexpr SavedAirData kAir{1008.0, 18.5, 52.0};

TEST(SessionArchiveName, ZsdIsCutAtItsFirstCaseSensitiveOccurrenceAndAppended) {
    EXPECT_EQ(sessionArchiveName("/w/run.zsd"), "/w/run.zsd");
    EXPECT_EQ(sessionArchiveName("/w/run"), "/w/run.zsd");
    EXPECT_EQ(sessionArchiveName("/w/run.zsd.old"), "/w/run.zsd");
    EXPECT_EQ(sessionArchiveName("/w/run.zsdx.zsd"), "/w/run.zsd");
    EXPECT_EQ(sessionArchiveName("/w/test.ZSD"), "/w/test.ZSD.zsd");
}

TEST(SessionArchiveName, FoldersNamedLikeArchivesDoNotRedirectTheSave) {
    EXPECT_EQ(sessionArchiveName("/w/runs.zsd.old/run"), "/w/runs.zsd.old/run.zsd");
    EXPECT_FALSE(hasSessionArchiveName("/w/runs.zsd.old/run"));
    EXPECT_TRUE(hasSessionArchiveName("/w/plain/run.zsd.bak"));
    EXPECT_FALSE(hasSessionArchiveName("/w/RUN.ZSD"));
}

TEST(SessionArchiveName, RenamedTargetThatExistsNeedsItsOwnOverwriteQuestion) {
    ScratchFolder folder;
    writeFile(folder / "run.zsd", std::string("x"));
    EXPECT_TRUE(mustConfirmOverwrite(folder / "run", folder / "run.zsd"));
    EXPECT_FALSE(mustConfirmOverwrite(folder / "run.zsd", folder / "run.zsd"));  // dialog asked
    EXPECT_FALSE(mustConfirmOverwrite(folder / "new", folder / "new.zsd"));
}

class SessionArchiveTest : public ::testing::Test {
  protected:
    ScratchFolder folder;
    std::unique_ptr<TestSession> session1 = recordedSession();
    std::unique_ptr<TestSession> slot = std::make_unique<TestSession>();

    void expectSlotUnchanged(const TestSession& before) {
        EXPECT_EQ(slot->rollerPeriods, before.rollerPeriods);
        EXPECT_EQ(slot->analogSamples, before.analogSamples);
        EXPECT_EQ(slot->header, before.header);
        EXPECT_EQ(slot->remarkLine1, before.remarkLine1);
        EXPECT_EQ(slot->airPressure, before.airPressure);
    }

    void expectCannotReadZipfile(const std::filesystem::path& file) {
        slot = recordedSession();
        slot->remarkLine1.assign("held by the slot");
        const auto before = std::make_unique<TestSession>(*slot);
        const auto result = loadSessionFile(file, *slot);
        ASSERT_FALSE(result.ok());
        EXPECT_EQ(result.error().message, "Cannot read zipfile");
        expectSlotUnchanged(*before);
    }
};

TEST_F(SessionArchiveTest, SavedSessionLoadsIntoAnotherSlot) {
    const auto archive = folder / "run.zsd";
    ASSERT_TRUE(saveSessionArchive(archive, *session1, kAir).ok());
    EXPECT_EQ(memberNames(archive), std::vector<std::string>{"vkrzip.diz"});

    const auto result = loadSessionFile(archive, *slot);
    ASSERT_TRUE(result.ok()) << result.error().detail;
    EXPECT_EQ(result.value(), LoadOutcome::loaded);
    EXPECT_EQ(slot->rollerPeriods, session1->rollerPeriods);
    EXPECT_EQ(slot->header, session1->header);
    EXPECT_EQ(slot->remarkLine2, session1->remarkLine2);
    EXPECT_EQ(slot->airTemperature, 18.5);
    EXPECT_EQ(slot->leadingPeriods(2), 640);
    EXPECT_TRUE(
        std::ranges::all_of(slot->run(1).analogSamples[4], [](auto v) { return v == 250; }));
}

TEST_F(SessionArchiveTest, SavingIntoAnArchiveReplacesOnlyTheSessionMember) {
    const auto archive = folder / "shared.zsd";
    const std::vector<std::uint8_t> notes{'o', 'i', 'l'};
    writeZip(archive, {{"notes.txt", notes}, {"vkrzip.diz", std::vector<std::uint8_t>(500, 7)}});

    ASSERT_TRUE(saveSessionArchive(archive, *session1, kAir).ok());
    auto names = memberNames(archive);
    std::ranges::sort(names);
    EXPECT_EQ(names, (std::vector<std::string>{"notes.txt", "vkrzip.diz"}));
    const auto record = readSessionMember(archive);
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record.value(), encodeSessionRecord(*session1, kAir));
}

TEST_F(SessionArchiveTest, ForeignFileIsNotReplacedBySaving) {
    const auto target = folder / "letter.zsd";
    writeFile(target, std::string("Dear customer, ..."));
    const auto result = saveSessionArchive(target, *session1, kAir);
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.error().message, "Cannot save file");
    EXPECT_EQ(fileBytes(target).size(), 18u);
    EXPECT_FALSE(saveSessionArchive(folder / "missing" / "run.zsd", *session1, kAir).ok());
}

TEST_F(SessionArchiveTest, UnreadableArchivesLeaveTheSlotAsItWas) {
    const auto good = folder / "good.zsd";
    ASSERT_TRUE(saveSessionArchive(good, *session1, kAir).ok());
    const auto image = fileBytes(good);

    expectCannotReadZipfile(folder / "missing.zsd");

    writeFile(folder / "text.zsd", std::string("not a zip archive at all"));
    expectCannotReadZipfile(folder / "text.zsd");

    writeFile(folder / "cut.zsd",
              std::vector<std::uint8_t>(
                  image.begin(), image.begin() + static_cast<std::ptrdiff_t>(image.size() / 2)));
    expectCannotReadZipfile(folder / "cut.zsd");

    writeZip(folder / "other.zsd", {{"readme.txt", {'h', 'i'}}, {"VKRZIP.DIZ", {1, 2}}});
    expectCannotReadZipfile(folder / "other.zsd");
}

TEST_F(SessionArchiveTest, DamagedMemberDataFailTheWholeLoad) {
    // A member of exactly the record's size whose compressed data are damaged late:
    // decoding would already have filled most of the slot.
    const auto good = folder / "good.zsd";
    ASSERT_TRUE(saveSessionArchive(good, *session1, kAir).ok());
    auto image = fileBytes(good);
    const std::size_t dataStart = 30 + 10;                          // local header + member name
    const std::size_t compressedEnd = image.size() - 22 - 46 - 10;  // before central directory
    image[compressedEnd - 40] ^= 0x5A;
    image[(dataStart + compressedEnd) / 2] ^= 0xA5;
    writeFile(folder / "damaged.zsd", image);
    expectCannotReadZipfile(folder / "damaged.zsd");
}

TEST_F(SessionArchiveTest, WrongChecksumFailsEvenWhenTheDataInflate) {
    ASSERT_TRUE(saveSessionArchive(folder / "good.zsd", *session1, kAir).ok());
    auto image = fileBytes(folder / "good.zsd");
    const std::vector<std::uint8_t> centralSignature{'P', 'K', 1, 2};
    const auto central =
        std::search(image.begin(), image.end(), centralSignature.begin(), centralSignature.end());
    ASSERT_NE(central, image.end());
    image[14] ^= 1;    // CRC-32 of the local header
    central[16] ^= 1;  // and of the central directory
    writeFile(folder / "checksum.zsd", image);
    expectCannotReadZipfile(folder / "checksum.zsd");
}

TEST_F(SessionArchiveTest, PlainFilesAreNeverLoaded) {
    writeFile(folder / "RUN.ZSD", encodeSessionRecord(*session1, kAir));
    const auto before = std::make_unique<TestSession>(*slot);
    const auto plain = loadSessionFile(folder / "RUN.ZSD", *slot);
    ASSERT_TRUE(plain.ok());
    EXPECT_EQ(plain.value(), LoadOutcome::notASessionArchive);
    expectSlotUnchanged(*before);

    const auto missing = loadSessionFile(folder / "nothing.txt", *slot);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error().message, "Cannot read file");
}

TEST_F(SessionArchiveTest, LongerMemberIsReadOnlyAsFarAsTheRecordGoes) {
    auto member = encodeSessionRecord(*session1, kAir);
    member.resize(kSessionRecordSize + 70000, 0xEE);
    writeZip(folder / "long.zsd", {{"vkrzip.diz", member}});
    ASSERT_TRUE(loadSessionFile(folder / "long.zsd", *slot).ok());
    EXPECT_EQ(slot->analogSamples[2][2], session1->analogSamples[2][2]);

    // Eight megabytes of zeros compress to a few kilobytes; only the record is inflated.
    writeZip(folder / "bomb.zsd", {{"vkrzip.diz", std::vector<std::uint8_t>(8u << 20, 0)}});
    const auto bomb = readSessionMember(folder / "bomb.zsd");
    ASSERT_TRUE(bomb.ok());
    EXPECT_EQ(bomb.value().size(), kSessionRecordSize);
}

TEST_F(SessionArchiveTest, ShorterMemberKeepsTheSlotsLaterFields) {
    slot = recordedSession();
    auto member = encodeSessionRecord(*std::make_unique<TestSession>(), {});
    member.resize(300);  // texts, correction factor and five roller periods
    writeZip(folder / "short.zsd", {{"vkrzip.diz", member}});
    ASSERT_TRUE(loadSessionFile(folder / "short.zsd", *slot).ok());
    EXPECT_TRUE(slot->remarkLine1.empty());
    EXPECT_EQ(slot->correctionFactor, 1.0);
    EXPECT_EQ(slot->leadingPeriods(0), 0);
    EXPECT_EQ(slot->header, session1->header);
    EXPECT_EQ(slot->analogSamples, session1->analogSamples);
}

}  // namespace
}  // namespace dyno
