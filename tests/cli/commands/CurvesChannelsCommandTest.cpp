// Black-box tests of `dynotool curves --channels`: a session with known channel
// samples is saved as an archive, its calibrations and delays as the two settings
// files, and the columns the binary prints are held against the channel curve
// evaluated in process.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>

#include "evaluation/ChannelCurve.h"
#include "evaluation/RunEvaluation.h"
#include "files/AnalogSettingsFileCodec.h"
#include "files/AnalysisSettingsFile.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "simulator/LambdaProbe.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

std::vector<std::string> cellsOf(const std::string& line) {
    std::vector<std::string> cells;
    std::istringstream in(line + ",");
    for (std::string cell; std::getline(in, cell, ',');) cells.push_back(cell);
    return cells;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CurvesChannels : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_channels_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(folder);

        // A K40 run accelerating over 300 revolutions; channel 1 a lambda controller's
        // output rising with the run, channel 3 a temperature amplifier; channel 2 was
        // not recorded (0 throughout), and a saved session holds constants for 4 and 5.
        TestSession& session = model->slot(1);
        session.header.words[SessionHeader::kElectronicsType] = 1;
        session.values.values[SessionValues::kRollerWeight] = 184.0;
        session.correctionFactor = 1.0;
        auto run = session.run(0);
        for (int i = 0; i < 300; ++i) {
            const auto at = static_cast<std::size_t>(i);
            run.rollerPeriods[at] = 140000 - 200 * i;
            run.analogSamples[0][at] = static_cast<std::uint16_t>(200 + 2 * i);
            run.analogSamples[2][at] = static_cast<std::uint16_t>(500 + (i * 7) % 13);
        }
        ASSERT_TRUE(saveSessionArchive(archive(), session, SavedAirData{1000, 23, 50}).ok());

        analysis.channels[0] = {"AFR", "AFR", 0.0, 10.0, 1023.0, 20.0, 1};
        analysis.channels[2] = {"EGT", "degC", 0.0, 0.0, 1023.0, 1000.0, 3};
        ASSERT_TRUE(saveAnalysisSettingsFile(analysisFile(), analysis).ok());
        adSettings = defaultAnalogChannelTexts();
        adSettings[0].delayText = "0.25";
        ASSERT_TRUE(saveAnalogSettingsFile(adFile(), adSettings).ok());
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path archive() const { return folder / "scooter.zsd"; }
    std::filesystem::path analysisFile() const { return folder / kAnalysisSettingsFileName; }
    std::filesystem::path adFile() const { return folder / kAnalogSettingsFileName; }

    testing::ToolRun curves(const std::string& channels, const std::string& format) {
        return runDynotool({"curves", archive().string(), "--run", "1", "--channels", channels,
                            "--analysis-settings", analysisFile().string(), "--ad-settings",
                            adFile().string(), format});
    }

    // The channel curve as the window's core gives it, with the delay as stored.
    ChannelCurve expectedCurve(int channel, double delaySeconds) {
        auto workspace = EvaluationWorkspace::create();
        EvaluatedCurves evaluated;
        const auto report = evaluateRunInto(model->slot(1), 0, {}, *workspace, evaluated);
        ChannelCurve curve;
        evaluateChannelCurve({model->slot(1), 0, workspace->timeAxis(), report.evalCount}, channel,
                             analysis.channels[static_cast<std::size_t>(channel - 1)], delaySeconds,
                             curve);
        return curve;
    }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::filesystem::path folder;
    AnalysisSettings analysis;
    AnalogChannelTextSet adSettings;
};

TEST_F(CurvesChannels, CsvAddsEachRecordedChannelInItsUnitThroughItsDelay) {
    const auto run = curves("3,1", "--csv");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_EQ(lines.size(), 1u + 298u);
    EXPECT_EQ(lines[0], "index,speed_kmh,engine_speed_rpm,power_hp,torque_nm,EGT_degC,AFR_AFR");

    const ChannelCurve egt = expectedCurve(3, 0.0);
    const ChannelCurve afr = expectedCurve(1, 0.25);
    ASSERT_EQ(egt.pointCount, 299);
    ASSERT_GT(afr.pointCount, 200);
    ASSERT_LT(afr.pointCount, 298) << "a quarter second leaves the last points without a reading";
    const auto at = [](int i) { return static_cast<std::size_t>(i); };
    for (const int i : {0, 100, afr.pointCount - 1, afr.pointCount, 297}) {
        const auto cells = cellsOf(lines[at(i) + 1]);
        ASSERT_EQ(cells.size(), 7u) << lines[at(i) + 1];
        EXPECT_EQ(cells[5], formatRoundTrip(egt.values[at(i)])) << i;
        EXPECT_EQ(cells[6], i < afr.pointCount ? formatRoundTrip(afr.values[at(i)]) : "") << i;
    }
    // The delay moves the reading: point 0 reads a later sample than the next one.
    EXPECT_GT(afr.values[0], 10.0 + 202.0 * 10.0 / 1023.0);
}

TEST_F(CurvesChannels, AChannelNotRecordedIsNamedAndGetsNoColumn) {
    const auto run = curves("1,2,4", "--csv");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(linesOf(run.out).at(0),
              "index,speed_kmh,engine_speed_rpm,power_hp,torque_nm,AFR_AFR");
    EXPECT_NE(run.err.find("Channel 2 was not recorded in run 1"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Channel 4 was not recorded in run 1 (every sample reads 140)"),
              std::string::npos)
        << run.err;
}

TEST_F(CurvesChannels, JsonCarriesEachChannelWithNullWhereThereIsNoReading) {
    const auto run = curves("1,2", "--json");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const ChannelCurve afr = expectedCurve(1, 0.25);
    std::string values = "[";
    for (int i = 0; i < 298; ++i) {
        values += i ? ", " : "";
        values +=
            i < afr.pointCount ? formatRoundTrip(afr.values[static_cast<std::size_t>(i)]) : "null";
    }
    EXPECT_NE(run.out.find("\"channels\": [{\"channel\": 1, \"name\": \"AFR\", \"unit\": \"AFR\", "
                           "\"column\": \"AFR_AFR\", \"recorded\": true, \"values\": " +
                           values +
                           "]}, {\"channel\": 2, \"name\": \"\", \"unit\": \"\", "
                           "\"column\": \"channel2\", \"recorded\": false, "
                           "\"values\": null}]"),
              std::string::npos)
        << run.out.substr(run.out.find("\"channels\""), 300);
}

TEST_F(CurvesChannels, ARefusedCalibrationOrABadChannelListStopsTheCommand) {
    analysis.channels[2].smoothingSamples = 0;
    ASSERT_TRUE(saveAnalysisSettingsFile(analysisFile(), analysis).ok());
    const auto refused = curves("3", "--csv");
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("Channel 3 (EGT): smoothing must be 1..50 samples"),
              std::string::npos)
        << refused.err;
    EXPECT_TRUE(refused.out.empty());

    for (const char* channels : {"0", "6", "1,1", "1;3", ""}) {
        EXPECT_EQ(curves(channels, "--csv").exitStatus, 2) << channels;
    }
}

// A simulated session with the lambda controller on channel 3, read with the AFR
// calibration of the K40 input: each point's AFR is the mixture the simulated engine
// ran at that point's engine speed.
TEST_F(CurvesChannels, ASimulatedLambdaChannelReadsTheEnginesMixtureAgainstEngineSpeed) {
    const auto session = folder / "lambda.zsd";
    const auto simulated = runDynotool({"simulate", "--out", session.string(), "--vehicle",
                                        "bike125", "--test", "720", "--channels", "3", "--lambda"});
    ASSERT_EQ(simulated.exitStatus, 0) << simulated.err;
    analysis.channels[2] = {"AFR", "AFR", 0.0, 10.0, 1023.0, 20.0, 1};
    ASSERT_TRUE(saveAnalysisSettingsFile(analysisFile(), analysis).ok());
    ASSERT_TRUE(saveAnalogSettingsFile(adFile(), defaultAnalogChannelTexts()).ok());

    const auto run = runDynotool({"curves", session.string(), "--run", "2", "--csv", "--with-rpm",
                                  "--channels", "3", "--analysis-settings", analysisFile().string(),
                                  "--ad-settings", adFile().string()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = linesOf(run.out);
    ASSERT_GT(lines.size(), 100u);
    EXPECT_EQ(cellsOf(lines[0]).at(5), "AFR_AFR");
    LambdaProbe truth;
    truth.isOn = true;
    const VehicleProfile& bike = *findVehicleProfile("bike125");
    for (std::size_t row = 1; row < lines.size(); ++row) {
        const auto cells = cellsOf(lines[row]);
        const double rpm = std::stod(cells.at(2));
        ASSERT_NEAR(std::stod(cells.at(5)), truth.afrAt(bike, rpm), 0.05) << lines[row];
    }
    EXPECT_LT(std::stod(cellsOf(lines[1]).at(5)), 12.5) << "rich at low engine speed";
    EXPECT_GT(std::stod(cellsOf(lines.back()).at(5)), 13.5) << "leaner towards the top";
}

}  // namespace
}  // namespace dyno
