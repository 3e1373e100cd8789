#include "files/AnalysisSettingsFile.h"

#include <gtest/gtest.h>

#include <fstream>

#include "ArchiveFixtures.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/SettingsFileCodec.h"

namespace dyno {
namespace {

using testing::fileBytes;
using testing::ScratchFolder;

AnalysisSettings workshopSettings() {
    AnalysisSettings settings;
    settings.channels[0] = {"AFR", "AFR", 0.0, 10.0, 1023.0, 20.0, 1};
    settings.channels[2] = {"EGT head", "degC", 12.5, -3.25, 4095.0, 1000.0 / 3.0, 7};
    settings.shownChannels = {1, 3};
    settings.liveView = {true, 65535, LiveViewReach::thisPcOnly, true};
    return settings;
}

void writeText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

TEST(AnalysisSettingsFile, SavedSettingsReadBackWholeWithoutAMessage) {
    ScratchFolder folder;
    const auto file = folder / kAnalysisSettingsFileName;
    ASSERT_TRUE(saveAnalysisSettingsFile(file, workshopSettings()).ok());

    const auto read = readAnalysisSettingsFile(file);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().settings, workshopSettings());
    EXPECT_TRUE(read.value().messages.empty());
}

TEST(AnalysisSettingsFile, TheFileReadsAsTheWorkshopWouldTypeIt) {
    const std::string text = encodeAnalysisSettings(workshopSettings());
    EXPECT_NE(text.find("[channel1]\nname = AFR\nunit = AFR\nrecorded_low = 0\nvalue_low = 10\n"
                        "recorded_high = 1023\nvalue_high = 20\nsmoothing = 1\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("[graph]\nchannels = 1,3\n"), std::string::npos);
    EXPECT_NE(text.find("[liveview]\non = 1\nport = 65535\nreach = this_pc\nshow_each_run = 1\n"),
              std::string::npos);
}

TEST(AnalysisSettingsFile, NoFileGivesTheDefaultsSilently) {
    ScratchFolder folder;
    const auto read = readAnalysisSettingsFile(folder / kAnalysisSettingsFileName);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read.value().settings, AnalysisSettings{});
    EXPECT_TRUE(read.value().messages.empty());
}

TEST(AnalysisSettingsFile, AFolderAtTheNameCannotBeRead) {
    ScratchFolder folder;
    std::filesystem::create_directory(folder / kAnalysisSettingsFileName);
    const auto read = readAnalysisSettingsFile(folder / kAnalysisSettingsFileName);
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.error().message, kCannotReadAnalysisFile);
}

TEST(AnalysisSettingsFile, EachDamagedLineIsNamedAndOnlyItsSettingFallsBack) {
    const AnalysisSettingsRead read = decodeAnalysisSettings(
        "[channel2]\n"
        "name = Lambda\n"
        "value_low = 0,68\n"  // line 3: a comma is no decimal point here
        "value_high = 1.36\n"
        "this line has no equals sign\n"  // line 5
        "[graph]\n"
        "channels = 2,6\n"  // line 7: no channel 6
        "[liveview]\n"
        "port = 0\n"  // line 9: below 1
        "on = 1\n");
    ASSERT_EQ(read.messages.size(), 4u);
    EXPECT_TRUE(read.messages[0].starts_with("line 3: value_low '0,68' is not a number"))
        << read.messages[0];
    EXPECT_TRUE(read.messages[1].starts_with("line 5: not a setting")) << read.messages[1];
    EXPECT_TRUE(read.messages[2].starts_with("line 7: channels '2,6'")) << read.messages[2];
    EXPECT_TRUE(read.messages[3].starts_with("line 9: port '0'")) << read.messages[3];

    const AnalysisSettings defaults;
    EXPECT_EQ(read.settings.channels[1].name, "Lambda");
    EXPECT_EQ(read.settings.channels[1].valueLow, defaults.channels[1].valueLow);
    EXPECT_EQ(read.settings.channels[1].valueHigh, 1.36);
    EXPECT_EQ(read.settings.shownChannels, defaults.shownChannels);
    EXPECT_EQ(read.settings.liveView.port, defaults.liveView.port);
    EXPECT_TRUE(read.settings.liveView.isOn);
}

TEST(AnalysisSettingsFile, PortsAndChannelsAtTheirLimitsAreKept) {
    const auto read = decodeAnalysisSettings(
        "[graph]\nchannels = 5,0\n[liveview]\nport = 1\n[liveview]\nport = 65536\n");
    ASSERT_EQ(read.messages.size(), 1u);
    EXPECT_TRUE(read.messages[0].starts_with("line 6: port '65536'")) << read.messages[0];
    EXPECT_EQ(read.settings.shownChannels, (std::array<int, 2>{5, 0}));
    EXPECT_EQ(read.settings.liveView.port, 1);
}

TEST(AnalysisSettingsFile, ThreeShownChannelsOrAMinusOneShowNone) {
    for (const char* channels : {"1,2,3", "-1", "1,x"}) {
        const auto read = decodeAnalysisSettings(std::string("[graph]\nchannels = ") + channels);
        EXPECT_EQ(read.messages.size(), 1u) << channels;
        EXPECT_EQ(read.settings.shownChannels, (std::array<int, 2>{0, 0})) << channels;
    }
}

TEST(AnalysisSettingsFile, SavingItLeavesTheTwoOldSettingsFilesByteForByte) {
    ScratchFolder folder;
    auto channels = defaultAnalogChannelTexts();
    channels[1].delayText = "0.25";
    ASSERT_TRUE(saveAnalogSettingsFile(folder / kAnalogSettingsFileName, channels).ok());
    writeText(folder / kSettingsFileName, std::string(kSettingsFileSize, '\x5a'));
    const auto anaBefore = fileBytes(folder / kAnalogSettingsFileName);
    const auto iniBefore = fileBytes(folder / kSettingsFileName);

    ASSERT_TRUE(
        saveAnalysisSettingsFile(folder / kAnalysisSettingsFileName, workshopSettings()).ok());
    ASSERT_TRUE(readAnalysisSettingsFile(folder / kAnalysisSettingsFileName).ok());

    EXPECT_EQ(fileBytes(folder / kAnalogSettingsFileName), anaBefore);
    EXPECT_EQ(fileBytes(folder / kSettingsFileName), iniBefore);
    EXPECT_EQ(anaBefore.size(), kAnalogSettingsFileSize);
}

}  // namespace
}  // namespace dyno
