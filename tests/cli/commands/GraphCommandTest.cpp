// Black-box tests of `dynotool graph`: sessions saved as archives with the library
// are drawn by the binary, and the PNG is compared with the same update drawn in
// process.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <filesystem>
#include <memory>

#include "display/GraphPalette.h"
#include "display/SyntheticRuns.h"
#include "display/graph/GraphImages.h"
#include "display/graph/GraphPanel.h"
#include "display/graph/GraphUpdate.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"
#include "support/DynotoolRun.h"
#include "support/OffscreenApplication.h"

namespace dyno {
namespace {

using testing::runDynotool;

class GraphCommand : public ::testing::Test {
  protected:
    // The in-process drawing needs fonts: an offscreen application while these run.
    static void SetUpTestSuite() { application = testing::offscreenApplication(); }
    static void TearDownTestSuite() { application.reset(); }

    static inline std::unique_ptr<QGuiApplication> application;

    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_graph_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        for (int s = 1; s <= 4; ++s) {
            TestSession& session = model->slot(s);
            graph_testing::recordSyntheticRun(session, 0, graph_testing::syntheticRunOfSlot(s));
            graph_testing::SyntheticRun second = graph_testing::syntheticRunOfSlot(s);
            second.peakHp += 2.0;
            graph_testing::recordSyntheticRun(session, 1, second);
            session.remarkLine1.assign("Session " + std::to_string(s));
            archives.push_back((folder / ("session" + std::to_string(s) + ".zsd")).string());
            ASSERT_TRUE(saveSessionArchive(archives.back(), session, SavedAirData{}).ok());
        }
        png = (folder / "graph.png").string();
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    // The graph area as the Graphs page draws it for `controls` from the saved slots.
    QImage drawnInProcess(GraphControls controls, bool panel = false) {
        // The archives hold what the slots held; reload nothing, draw from the model.
        auto workspace = EvaluationWorkspace::create();
        auto state = std::make_unique<GraphState>();
        GraphImages images = GraphImages::create();
        RemarkLines remarks;
        {
            GraphPainters painters(images);
            remarks =
                updateGraph(*state, controls, *model, *workspace, painters.canvas()).remarkLines;
        }
        if (!panel) return images.graph;
        QImage whole(graphPanelSize(), QImage::Format_RGB32);
        QPainter painter(&whole);
        paintGraphPanel(painter, images, remarks);
        return whole;
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::filesystem::path folder;
    std::vector<std::string> archives;
    std::string png;
};

TEST_F(GraphCommand, FourSessionsGiveThePagesGraph) {
    const auto run =
        runDynotool({"graph", archives[0], archives[1], archives[2], archives[3], "--out", png,
                     "--run", "1,2,1,2", "--torque", "--show-rpm", "--plot-only"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\"out\": \"" + png + "\""), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"slot\": 4, \"run\": 2"), std::string::npos) << run.out;

    GraphControls controls;
    controls.scaleTexts = {"0", "150", "0", "20", "0", "10000"};
    controls.runChoice = {0, 1, 0, 1};
    controls.torqueTicked.fill(true);
    controls.speedAndRpm = true;
    const QImage written(QString::fromStdString(png));
    ASSERT_EQ(written.size(), QSize(600, 400));
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), drawnInProcess(controls));
}

TEST_F(GraphCommand, OptionsReachTheUpdate) {
    const auto run = runDynotool({"graph", archives[2], "--out", png, "--speed", "20:80", "--power",
                                  "5:15", "--kw", "--mph"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    GraphControls controls;
    controls.scaleTexts = {"20", "80", "5", "15", "0", "10000"};
    controls.powerInKw = true;
    controls.speedInMph = true;
    model->slot(1) = model->slot(3);
    const QImage written(QString::fromStdString(png));
    ASSERT_EQ(written.size(), graphPanelSize()) << "the page's panel by default";
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), drawnInProcess(controls, true));
}

TEST_F(GraphCommand, BadInputExitsWithOneLineReason) {
    const auto noOut = runDynotool({"graph", archives[0]});
    EXPECT_EQ(noOut.exitStatus, 2);
    EXPECT_NE(noOut.err.find("--out"), std::string::npos) << noOut.err;

    const auto flatPower = runDynotool({"graph", archives[0], "--out", png, "--power", "5:5"});
    EXPECT_EQ(flatPower.exitStatus, 2);
    EXPECT_NE(flatPower.err.find("Check Start Hp and End Hp"), std::string::npos) << flatPower.err;

    const auto badRun =
        runDynotool({"graph", archives[0], archives[1], "--out", png, "--run", "1,2,3"});
    EXPECT_EQ(badRun.exitStatus, 2);
    const auto missing = runDynotool({"graph", (folder / "none.zsd").string(), "--out", png});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
    EXPECT_FALSE(std::filesystem::exists(png));
}

}  // namespace
}  // namespace dyno
