// A channel's stored factor use and offset use are read alike by the test start and
// the Analog page, as the A/D Sett. page shows them: a test records what the page
// draws. `dynotool analog` is held to the same in the command-line tests.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "app/acquisition/TestControl.h"
#include "app/composition/MainWindow.h"
#include "app/pages/AdSettingsPage.h"
#include "app/pages/AnalogPageInputs.h"
#include "model/SessionModel.h"
#include "support/StoredChannelUses.h"

namespace dyno {
namespace {

TEST(ChannelUseAgreement, TestStartAndAnalogPageReadAStoredUseAlike) {
    QTemporaryDir startDir;
    // Channels 1 to 4 store 0, 1, 2 and -1, read into the A/D Sett. page as at start.
    const testing::StoredUses stored{0, 1, 2, -1, 0};
    const std::filesystem::path file =
        QDir(startDir.path()).filePath(kAnalogSettingsFileName).toStdString();
    testing::writeAnalogSettingsWithUses(file, defaultAnalogChannelTexts(), stored, stored);
    auto model = SessionModel::create();
    MainWindow window(*model, startDir.path());
    AnalogChannelTextSet channels = window.adSettingsPage()->channelTexts();
    ASSERT_TRUE(readAnalogSettingsFile(file, channels).ok());
    window.adSettingsPage()->showChannelTexts(channels);

    const PreparedTestStart start = window.testControl()->prepare(false);
    AnalogView view;
    readAnalogInputs({*window.adSettingsPage(), *window.setupPage(), *window.graphsPage()},
                     window.programState().graphScale, view);
    const auto drawn = channelScalingOf(view.channels, view.decimalSeparator);

    const GainMode gains[] = {GainMode::Multiply, GainMode::Divide, GainMode::Divide,
                              GainMode::Multiply};
    const OffsetMode offsets[] = {OffsetMode::Add, OffsetMode::Subtract, OffsetMode::Subtract,
                                  OffsetMode::Add};
    for (std::size_t c = 0; c < 4; ++c) {
        EXPECT_EQ(start.channels[c].gainMode, gains[c]) << "stored " << stored[c];
        EXPECT_EQ(drawn[c].scaling.gainMode, gains[c]) << "stored " << stored[c];
        EXPECT_EQ(start.channels[c].offsetMode, offsets[c]) << "stored " << stored[c];
        EXPECT_EQ(drawn[c].scaling.offsetMode, offsets[c]) << "stored " << stored[c];
    }
}

}  // namespace
}  // namespace dyno
