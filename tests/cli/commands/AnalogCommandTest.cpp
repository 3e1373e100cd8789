// Black-box tests of `dynotool analog`: the channel settings it finds on its own
// (the start folder's "vkr_dyno.ana"), the plot alone, and bad input. The window's
// picture against the tool's is compared in the window tests.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <memory>

#include "display/SyntheticRuns.h"
#include "display/analog/AnalogRedraw.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"
#include "support/DynotoolRun.h"
#include "support/OffscreenApplication.h"
#include "support/StoredChannelUses.h"

namespace dyno {
namespace {

using testing::runDynotool;

class AnalogCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { application = testing::offscreenApplication(); }
    static void TearDownTestSuite() { application.reset(); }
    static inline std::unique_ptr<QGuiApplication> application;

    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_analog_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        TestSession& session = model->slot(1);
        graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(1));
        for (std::size_t i = 0; i < kSamplesPerRun; ++i) {
            session.analogSamples[0][0][i] = static_cast<std::uint16_t>(300 + (i / 40) % 7 * 60);
        }
        archive = (folder / "session.zsd").string();
        ASSERT_TRUE(saveSessionArchive(archive, session, SavedAirData{}).ok());
        png = (folder / "analog.png").string();
    }

    void TearDown() override {
        std::filesystem::current_path(startFolder);
        std::filesystem::remove_all(folder);
    }

    QImage drawnInProcess(const AnalogView& view) {
        auto workspace = EvaluationWorkspace::create();
        AnalogBuffers buffers;
        AnalogImages images = AnalogImages::create();
        AnalogPainters painters(images);
        redrawAnalog(view, *model, *workspace, painters.canvas(), buffers);
        return images.plot.copy();
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    const std::filesystem::path startFolder = std::filesystem::current_path();
    std::filesystem::path folder;
    std::string archive;
    std::string png;
};

TEST_F(AnalogCommand, ReadsTheStartFoldersChannelSettingsAsTheWindowDoes) {
    AnalogChannelTextSet channels = defaultAnalogChannelTexts();
    channels[0].factorText = "1.5";
    channels[0].isInverted = true;
    ASSERT_TRUE(saveAnalogSettingsFile(folder / kAnalogSettingsFileName, channels).ok());
    std::filesystem::current_path(folder);
    const auto run = runDynotool({"analog", archive, "--out", png, "--channels", "1", "--vscale",
                                  "speed", "--zoom", "1", "--plot-only"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\"channelSettings\": \"vkr_dyno.ana\""), std::string::npos) << run.out;

    AnalogView view;
    view.channels = channels;
    view.channelTicked[0] = true;
    view.curve = AnalogCurve::speed;
    view.zoom = 1;
    const QImage written(QString::fromStdString(png));
    ASSERT_EQ(written.size(), QSize(600, 400));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), drawnInProcess(view));
    view.channels = defaultAnalogChannelTexts();
    EXPECT_NE(written.convertToFormat(QImage::Format_RGB32), drawnInProcess(view));
}

TEST_F(AnalogCommand, ReadsAStoredChannelUseAsTheAdSettingsPageShowsIt) {
    AnalogChannelTextSet channels = defaultAnalogChannelTexts();
    channels[0].factorText = "2";
    channels[0].offsetText = "40";
    AnalogView view;
    view.channelTicked[0] = true;
    view.curve = AnalogCurve::speed;
    view.zoom = 1;
    const auto drawnWithUse = [&](int shown) {
        view.channels = channels;
        view.channels[0].factorUse = shown;
        view.channels[0].offsetUse = shown;
        return drawnInProcess(view);
    };
    const QImage mulAdd = drawnWithUse(0);
    const QImage divSub = drawnWithUse(1);
    ASSERT_NE(mulAdd, divSub);

    // Stored 2 is past the page's last item and shown as "Div."/"Sub."; stored -1
    // chooses no item and scales as "Mul."/"Add".
    const std::pair<std::int16_t, const QImage*> storedAndDrawn[] = {
        {0, &mulAdd}, {1, &divSub}, {2, &divSub}, {-1, &mulAdd}};
    const std::filesystem::path settings = folder / "uses.ana";
    for (const auto& [stored, expected] : storedAndDrawn) {
        const testing::StoredUses uses{stored, 0, 0, 0, 0};
        testing::writeAnalogSettingsWithUses(settings, channels, uses, uses);
        const auto run =
            runDynotool({"analog", archive, "--out", png, "--ad-settings", settings.string(),
                         "--channels", "1", "--vscale", "speed", "--zoom", "1", "--plot-only"});
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        const QImage written(QString::fromStdString(png));
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), *expected) << "stored " << stored;
    }
}

TEST_F(AnalogCommand, BadInputExitsWithOneLineReason) {
    const std::vector<std::pair<const char*, std::vector<std::string>>> usage{
        {"no --out", {"analog", archive}},
        {"vscale", {"analog", archive, "--out", png, "--vscale", "rpm"}},
        {"zoom 0", {"analog", archive, "--out", png, "--zoom", "0"}},
        {"channel 6", {"analog", archive, "--out", png, "--channels", "1,6"}},
        {"left scale 0", {"analog", archive, "--out", png, "--left-scale", "0"}},
        {"negative shift", {"analog", archive, "--out", png, "--shift", "0,-5"}},
        {"five shifts", {"analog", archive, "--out", png, "--shift", "1,2,3,4,5"}},
    };
    for (const auto& [name, words] : usage) {
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 2) << name;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << name << run.err;
    }
    const auto noSettings = runDynotool(
        {"analog", archive, "--out", png, "--ad-settings", (folder / "none.ana").string()});
    EXPECT_EQ(noSettings.exitStatus, 1);
    EXPECT_NE(noSettings.err.find("Cannot read .ana file"), std::string::npos) << noSettings.err;
    EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace dyno
