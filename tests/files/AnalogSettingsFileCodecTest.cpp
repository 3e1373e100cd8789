#include "files/AnalogSettingsFileCodec.h"

#include <gtest/gtest.h>

#include "ArchiveFixtures.h"
#include "SessionFixtures.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

using testing::ByteImage;
using testing::fileBytes;
using testing::ScratchFolder;

TEST(AnalogSettingsFileCodec, DefaultPageMatchesTheHandBuiltLayout) {
    ByteImage image(390);
    for (std::size_t c = 0; c < 5; ++c) {
        image.putFloat32(0 + 4 * c, 1.0f);
        image.putFloat32(20 + 4 * c, 0.0f);
        image.putFloat32(40 + 4 * c, 0.0f);
        image.putBytes(80 + 60 * c + 55, "Volt");
    }
    const char* channel1[] = {"5", "4,5", "4", "3,5", "3", "2,5", "2", "1,5", "1", "0,5", "0"};
    for (std::size_t t = 0; t < 11; ++t) image.putBytes(80 + 5 * t, channel1[t]);

    const auto encoded = encodeAnalogSettingsFile(defaultAnalogChannelTexts());
    ASSERT_TRUE(encoded.ok());
    EXPECT_EQ(encoded.value(), image.bytes());
}

TEST(AnalogSettingsFileCodec, EveryFieldLandsAtItsOffsetAndComesBack) {
    auto channels = defaultAnalogChannelTexts();
    channels[2].factorText = "2.5";
    channels[2].offsetText = "-0.75";
    channels[2].delayText = "12";
    channels[2].factorUse = 1;
    channels[3].offsetUse = 1;
    channels[4].isInverted = true;
    channels[4].unitText = "Lambd";
    channels[4].scaleLabels[8] = "0.1";
    const auto bytes = encodeAnalogSettingsFile(channels).value();

    ByteImage expected(390);
    expected.bytes() = encodeAnalogSettingsFile(defaultAnalogChannelTexts()).value();
    expected.putFloat32(8, 2.5f);
    expected.putFloat32(28, -0.75f);
    expected.putFloat32(48, 12.0f);
    expected.putInt16(64, 1);
    expected.putInt16(76, 1);
    expected.putBytes(80 + 4 * 60 + 11 * 5, "Lambd");  // five characters, no terminator
    expected.putBytes(80 + 4 * 60 + 9 * 5, "0.1");
    expected.putInt16(388, 1);
    EXPECT_EQ(bytes, expected.bytes());

    AnalogChannelTextSet restored = defaultAnalogChannelTexts();
    decodeAnalogSettingsFile(bytes, restored);
    EXPECT_EQ(restored, channels);
}

TEST(AnalogSettingsFileCodec, FactorsComeBackAsBinary32Values) {
    auto channels = defaultAnalogChannelTexts();
    channels[0].factorText = "1.1";
    channels[1].factorText = "4.5";
    channels[2].offsetText = "0.5";
    AnalogChannelTextSet restored;
    decodeAnalogSettingsFile(encodeAnalogSettingsFile(channels).value(), restored);
    EXPECT_EQ(restored[0].factorText, "1.10000002384186");
    EXPECT_EQ(restored[1].factorText, "4.5");
    EXPECT_EQ(restored[2].offsetText, "0.5");
}

TEST(AnalogSettingsFileCodec, TextsAndChoicesAreCutAndNormalised) {
    auto channels = defaultAnalogChannelTexts();
    channels[1].topValue = "100000";  // six characters: the first five are stored
    channels[1].factorUse = 2;        // any item but the first is stored as 1
    AnalogChannelTextSet restored;
    decodeAnalogSettingsFile(encodeAnalogSettingsFile(channels).value(), restored);
    EXPECT_EQ(restored[1].topValue, "10000");
    EXPECT_EQ(restored[1].factorUse, 1);

    ByteImage foreign(390);
    foreign.putInt16(380, 2);  // invert 2: off
    foreign.putInt16(382, 1);
    foreign.putInt16(70, 3);  // stored index as it is
    decodeAnalogSettingsFile(foreign.bytes(), restored);
    EXPECT_FALSE(restored[0].isInverted);
    EXPECT_TRUE(restored[1].isInverted);
    EXPECT_EQ(restored[0].offsetUse, 3);
}

TEST(AnalogSettingsFileCodec, ShortFileKeepsWhatThePageHeld) {
    auto channels = defaultAnalogChannelTexts();
    channels[0].factorText = "3";
    auto bytes = encodeAnalogSettingsFile(channels).value();
    bytes.resize(22);  // five factors and the first offset, half of the second
    AnalogChannelTextSet page = defaultAnalogChannelTexts();
    page[1].offsetText = "7";
    page[4].isInverted = true;
    decodeAnalogSettingsFile(bytes, page);
    EXPECT_EQ(page[0].factorText, "3");
    EXPECT_EQ(page[0].offsetText, "0");
    EXPECT_EQ(page[1].offsetText, "7");
    EXPECT_TRUE(page[4].isInverted);
}

TEST(AnalogSettingsFile, ConversionErrorsWriteNothing) {
    ScratchFolder folder;
    const auto file = folder / "vkr_dyno.ana";
    ASSERT_TRUE(saveAnalogSettingsFile(file, defaultAnalogChannelTexts()).ok());
    const auto before = fileBytes(file);

    auto channels = defaultAnalogChannelTexts();
    channels[3].delayText = "1,5";
    const auto failed = saveAnalogSettingsFile(file, channels);
    ASSERT_FALSE(failed.ok());
    EXPECT_TRUE(failed.error().isConversionError);
    EXPECT_EQ(failed.error().message, notAFloatMessage("1,5"));
    EXPECT_EQ(fileBytes(file), before);
    EXPECT_TRUE(saveAnalogSettingsFile(file, channels, ',').ok());

    channels[3].delayText = "1e39";  // beyond binary32
    EXPECT_FALSE(encodeAnalogSettingsFile(channels).ok());
}

TEST(AnalogSettingsFile, MissingFileLeavesTheWindowDefaults) {
    ScratchFolder folder;
    AnalogChannelTextSet page = defaultAnalogChannelTexts();
    const auto read = readAnalogSettingsFile(folder / "vkr_dyno.ana", page);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().message, "Cannot read .ana file");
    EXPECT_EQ(page, defaultAnalogChannelTexts());

    auto channels = defaultAnalogChannelTexts();
    channels[2].unitText = "Bar";
    ASSERT_TRUE(saveAnalogSettingsFile(folder / "vkr_dyno.ana", channels).ok());
    ASSERT_TRUE(readAnalogSettingsFile(folder / "vkr_dyno.ana", page).ok());
    EXPECT_EQ(page, channels);
    EXPECT_EQ(saveAnalogSettingsFile(folder / "gone" / "x.ana", channels).error().message,
              "Cannot save .ana file");
}

}  // namespace
}  // namespace dyno
