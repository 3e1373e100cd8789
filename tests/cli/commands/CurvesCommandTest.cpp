// Black-box tests of `dynotool curves`: a session is saved as an archive with the
// library, evaluated by the binary, and compared with the evaluation run in process.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "evaluation/RunEvaluation.h"
#include "files/SessionArchive.h"
#include "model/SessionModel.h"
#include "model/TextNumbers.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class CurvesCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_curves_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        archive = folder / "scooter.zsd";

        // A K40 run on the USB/serial clock accelerating from about 40 to 100 km/h,
        // and a second run at a steady 40000 ticks (138.6 km/h).
        TestSession& session = model->slot(1);
        session.header.words[SessionHeader::kDynoModel] = 0;
        session.header.words[SessionHeader::kElectronicsType] = 1;
        session.values.values[SessionValues::kRollerWeight] = 184.0;
        session.correctionFactor = 1.0;
        auto first = session.run(0);
        for (int i = 0; i < 600; ++i) {
            first.rollerPeriods[static_cast<std::size_t>(i)] = 140000 - 140 * i;
            first.rpmSamples[static_cast<std::size_t>(i)] = 5000 + 5 * i;
        }
        auto second = session.run(1);
        for (int i = 0; i < 50; ++i) second.rollerPeriods[static_cast<std::size_t>(i)] = 40000;
        ASSERT_TRUE(saveSessionArchive(archive, session, SavedAirData{1000, 23, 50}).ok());
    }

    void TearDown() override { std::filesystem::remove_all(folder); }

    std::unique_ptr<SessionModel> model = SessionModel::create();
    std::filesystem::path folder;
    std::filesystem::path archive;
};

TEST_F(CurvesCommand, CsvRowsMatchTheInProcessEvaluation) {
    const auto run =
        runDynotool({"curves", archive.string(), "--run", "1", "--csv", "--with-rpm", "--kw"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    const auto lines = splitLines(run.out);

    auto workspace = EvaluationWorkspace::create();
    EvaluationOptions options;
    options.powerInKw = true;
    options.rpmCurveShown = true;
    const EvaluationReport report = evaluate(*model, 1, 0, options, *workspace);
    ASSERT_EQ(report.evalCount, 599);

    ASSERT_EQ(lines.size(), 1u + 598u) << "header and one row per point with power";
    EXPECT_EQ(lines[0], "index,speed_kmh,engine_speed_rpm,power_kw,torque_nm");
    const auto& curves = model->slot(1).curves;
    for (const int i : {0, 17, 300, 597}) {
        const auto at = static_cast<std::size_t>(i);
        const std::string expected =
            std::to_string(i) + "," + formatRoundTrip(curves.speedCurve[at]) + "," +
            formatRoundTrip(curves.rpmCurve[at]) + "," + formatRoundTrip(curves.powerCurve[at]) +
            "," + formatRoundTrip(curves.torqueCurve[at]);
        EXPECT_EQ(lines[at + 1], expected);
    }
}

TEST_F(CurvesCommand, JsonCarriesMaximaAndTheEvaluatedPoints) {
    const auto run = runDynotool({"curves", archive.string(), "--run", "2"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_NE(run.out.find("\"evalCount\": 49"), std::string::npos) << run.out.substr(0, 200);
    EXPECT_NE(run.out.find("\"maxSpeedText\": \"138.60\""), std::string::npos);
    // Four arrays of the 48 points with power, torque and rpm; nothing padded.
    EXPECT_NE(run.out.find("\"points\": 48"), std::string::npos);
    std::size_t commas = 0;
    for (const char c : run.out) commas += c == ',';
    EXPECT_EQ(commas, 4u * 47u + 8u) << "47 between the points of each array, 8 between members";

    const auto mph = runDynotool({"curves", archive.string(), "--run", "2", "--mph", "--json"});
    EXPECT_NE(mph.out.find("\"maxSpeedText\": \"86.13\""), std::string::npos)
        << "138.6 km/h on the K40 mph factor";
}

TEST_F(CurvesCommand, TypedRollerWeightScalesPower) {
    const auto light =
        runDynotool({"curves", archive.string(), "--run", "1", "--csv", "--roller-weight", "92"});
    const auto standard = runDynotool({"curves", archive.string(), "--run", "1", "--csv"});
    ASSERT_EQ(light.exitStatus, 0);
    const auto lightRow = splitLines(light.out).at(300);
    const auto standardRow = splitLines(standard.out).at(300);
    const double lightPower =
        std::stod(lightRow.substr(lightRow.rfind(',', lightRow.rfind(',') - 1) + 1));
    const double standardPower =
        std::stod(standardRow.substr(standardRow.rfind(',', standardRow.rfind(',') - 1) + 1));
    EXPECT_NEAR(lightPower * 2.0, standardPower, 1e-9 * standardPower);
}

TEST_F(CurvesCommand, BadInputExitsNonZeroWithOneLine) {
    const auto noRun = runDynotool({"curves", archive.string()});
    EXPECT_EQ(noRun.exitStatus, 2);
    const auto badRun = runDynotool({"curves", archive.string(), "--run", "4"});
    EXPECT_EQ(badRun.exitStatus, 2);
    EXPECT_NE(badRun.err.find("--run must be a whole number 1..3"), std::string::npos)
        << badRun.err;

    const auto missing = runDynotool({"curves", (folder / "nothing.zsd").string(), "--run", "1"});
    EXPECT_NE(missing.exitStatus, 0);
    EXPECT_NE(missing.err.find("Cannot read zipfile"), std::string::npos) << missing.err;
    EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1);
    EXPECT_TRUE(missing.out.empty());

    const auto plain = folder / "notes.txt";
    std::ofstream(plain) << "not an archive";
    const auto notArchive = runDynotool({"curves", plain.string(), "--run", "1"});
    EXPECT_NE(notArchive.exitStatus, 0);
    EXPECT_NE(notArchive.err.find(".zsd"), std::string::npos);
}

}  // namespace
}  // namespace dyno
