// Black-box tests of `dynotool simulate`: a whole simulated session saved as an
// archive, read back with the library, evaluated in process.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "evaluation/CorrectionSources.h"
#include "evaluation/RunEvaluation.h"
#include "evaluation/SessionAnalysis.h"
#include "files/SessionLoading.h"
#include "model/SessionModel.h"
#include "simulator/VehicleProfile.h"
#include "support/DynotoolRun.h"
#include "support/PeakPowerCheck.h"

namespace dyno {
namespace {

using testing::runDynotool;

class SimulateCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_simulate_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    TestSession& load(const std::filesystem::path& archive) {
        const auto loaded = loadSessionFile(archive, model->slot(1));
        EXPECT_TRUE(loaded.ok()) << archive;
        return model->slot(1);
    }

    std::filesystem::path folder;
    std::unique_ptr<SessionModel> model = SessionModel::create();
};

TEST_F(SimulateCommand, SavesThreeRunsThatEvaluateToTheVehiclesPower) {
    const auto archive = folder / "bike.zsd";
    const auto run = runDynotool({"simulate", "--out", archive.string(), "--vehicle", "bike125",
                                  "--channels", "1,3,5", "--seed", "7"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const TestSession& session = load(archive);
    // The runs the tool reports saved are the runs the electronics sent.
    std::string lengths = "[";
    for (int r = 0; r < 3; ++r)
        lengths += (r ? ", " : "") + std::to_string(session.leadingPeriods(r));
    lengths += "]";
    EXPECT_NE(run.out.find("\"runs\": " + lengths), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"sentRuns\": " + lengths), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"overrunBytes\": 0"), std::string::npos);

    EXPECT_EQ(session.header.dynoModel(), 0);
    EXPECT_EQ(session.header.electronicsType(), 1);
    EXPECT_EQ(session.header.gearboxType(), 1);  // the bike is tested in a fixed gear
    EXPECT_EQ(session.values.rollerWeight(), 184.0);
    EXPECT_EQ(session.correctionFactor, 1.0);
    EXPECT_EQ(session.airPressure, 1000.0);
    EXPECT_EQ(session.airTemperature, 23.0);
    EXPECT_EQ(session.airHumidity, 50.0);

    const VehicleProfile& bike = *findVehicleProfile("bike125");
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        EXPECT_GT(session.leadingPeriods(r), 100);
        EXPECT_NEAR(session.values.rpmPer100(r), bike.rpmPerKmhLow, 1.0);
        EXPECT_GT(session.analogSamples[static_cast<std::size_t>(r)][4][10], 0);  // channel 5
        EXPECT_EQ(session.analogSamples[static_cast<std::size_t>(r)][1][10], 0);  // channel 2
        testing::expectPeakPowerOfProfile(*model, 1, r, bike);
    }
}

TEST_F(SimulateCommand, WeatherAndTextOptionsFillTheSessionAsTheParamAndRemarksPages) {
    const auto archive = folder / "scooter";  // saved as scooter.zsd
    const auto run = runDynotool({"simulate", "--out", archive.string(), "--pressure", "960",
                                  "--temperature", "30", "--humidity", "60", "--standard", "DIN",
                                  "--make", "Café Racer", "--owner", "Jørgen", "--remark",
                                  "first line\nsecond line", "--test", "norpm"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const TestSession& session = load(folder / "scooter.zsd");
    const CorrectionResult expected =
        correctionFromPage({"60", "30", "960", {}, CorrectionStandard::Din});
    EXPECT_DOUBLE_EQ(session.correctionFactor, expected.factor);
    EXPECT_NE(session.correctionFactor, 1.0);
    EXPECT_EQ(session.header.correctionStandard(), static_cast<int>(CorrectionStandard::Din));
    EXPECT_EQ(session.airPressure, 960.0);
    EXPECT_EQ(session.airTemperature, 30.0);
    EXPECT_EQ(session.airHumidity, 60.0);
    EXPECT_EQ(session.make.view(), "Caf\xE9 Racer");  // Windows-1252
    EXPECT_EQ(session.owner.view(), "J\xF8rgen");
    EXPECT_EQ(session.remarkLine1.view(), "first line");
    EXPECT_EQ(session.remarkLine2.view(), "second line");
    EXPECT_EQ(session.header.gearboxType(), 0);  // the scooter's variomatic
    EXPECT_EQ(session.rpmSamples[10], 0);        // without rpm registration
}

TEST_F(SimulateCommand, TheSameSeedGivesTheSameSessionAndAnotherSeedAnother) {
    const auto periodsOf = [this](const std::string& seed) {
        const auto archive = folder / ("seed" + seed + ".zsd");
        EXPECT_EQ(runDynotool({"simulate", "--out", archive.string(), "--seed", seed}).exitStatus,
                  0);
        const TestSession& session = load(archive);
        return std::vector<std::int32_t>(session.rollerPeriods.begin(),
                                         session.rollerPeriods.begin() + 6000);
    };
    const auto first = periodsOf("3");
    EXPECT_EQ(periodsOf("3"), first);
    EXPECT_NE(periodsOf("4"), first);
}

TEST_F(SimulateCommand, CoastDownRunsSetOffLowAndCoastDownAPercentOrSoApartOnBothDynos) {
    for (const bool isCard : {false, true}) {
        SCOPED_TRACE(isCard ? "card" : "K40");
        const auto archive = folder / (isCard ? "card.zsd" : "k40.zsd");
        std::vector<std::string> words{"simulate", "--coast-down", "--out", archive.string()};
        if (isCard) words.push_back("--card");
        const auto run = runDynotool(words);
        ASSERT_EQ(run.exitStatus, 0) << run.err;
        auto workspace = AnalysisWorkspace::create();
        analyseSession(load(archive), EvaluationOptions{}, *workspace);
        const SessionStatistics& statistics = workspace->statistics();
        for (int r = 0; r < 3; ++r) {
            EXPECT_EQ(statistics.runs[static_cast<std::size_t>(r)].coastDown,
                      CoastDownVerdict::kUsable)
                << r;
            EXPECT_LT(workspace->run(r).curves.speedCurve[0], 12.0) << r;
        }
        EXPECT_EQ(statistics.peakEnginePower.runs, 3);
        EXPECT_GT(statistics.peakEnginePower.spreadPercent, 0.5);
    }
    EXPECT_NE(runDynotool({"simulate", "--help"}).out.find("[--coast-down]"), std::string::npos);
}

TEST_F(SimulateCommand, RefusesWhatNoPageWouldAcceptWithOneLine) {
    const auto out = (folder / "x.zsd").string();
    const std::vector<std::vector<std::string>> refused = {
        {"simulate", "--out", out, "--vehicle", "vespa"},
        {"simulate", "--out", out, "--test", "540"},
        {"simulate", "--out", out, "--test", "deg:99999"},
        {"simulate", "--out", out, "--channels", "1,6"},
        {"simulate", "--out", out, "--dyno", "K80"},
        {"simulate", "--out", out, "--standard", "JIS"},
        {"simulate", "--pty", "--out", out},
        {"simulate"},
    };
    for (const auto& words : refused) {
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 2) << words.back();
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("dynotool simulate: ", 0), 0u) << run.err;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace dyno
