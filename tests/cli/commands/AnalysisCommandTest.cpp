// Black-box tests of `dynotool analysis`: sessions ridden by the simulated K40 with a
// coast-down on a known loss, analysed by the binary; the engine-side power must be
// what the simulated engine made. tests/data/coast_down_scooter50_seed7.zsd is such a
// session saved before the analysis existed (`dynotool simulate --coast-down --seed 7
// --out FILE`); it is kept as it was, not regenerated, as a workshop's old archives are.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <filesystem>
#include <sstream>

#include "evaluation/CoastDownLoss.h"
#include "files/SessionArchive.h"
#include "files/SessionLoading.h"
#include "model/SessionModel.h"
#include "simulator/SimulatedVehicle.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using testing::runDynotool;

constexpr std::uint32_t kSeed = 7;
const std::string kOldArchive = DYNO_TEST_DATA_DIR "/coast_down_scooter50_seed7.zsd";

class AnalysisCommand : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder() = std::filesystem::temp_directory_path() /
                   ("dynotool_analysis_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder());
        const auto ridden = runDynotool(
            {"simulate", "--coast-down", "--seed", std::to_string(kSeed), "--out", coastDown()});
        ASSERT_EQ(ridden.exitStatus, 0) << ridden.err;
        const auto plain = runDynotool({"simulate", "--out", withoutCoastDown()});
        ASSERT_EQ(plain.exitStatus, 0) << plain.err;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(folder()); }

    static std::filesystem::path& folder() {
        static std::filesystem::path path;
        return path;
    }
    static std::string coastDown() { return (folder() / "coast_down.zsd").string(); }
    static std::string withoutCoastDown() { return (folder() / "plain.zsd").string(); }

    static QJsonObject analysedJson(const std::vector<std::string>& words) {
        const auto run = runDynotool(words);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        QJsonParseError error{};
        const auto json = QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out.substr(0, 200);
        return json.object();
    }
};

std::vector<std::string> linesStartingWith(const std::string& text, const std::string& start) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(start)) lines.push_back(line);
    }
    return lines;
}

// Each run's engine-side peak is the simulated engine's within 2 %, over the speeds
// its engine-side curve covers; the curves' arrays pair up.
void expectTheEngineOfTheRide(const QJsonObject& json) {
    CoastDownRide ride;
    ride.isOn = true;
    const CoastDownTruth truth =
        SimulatedVehicle(*findVehicleProfile("scooter50"), 184.0, kSeed, ride).coastDownTruth();
    const double factor = json["correctionFactor"].toDouble();
    const QJsonArray runs = json["runs"].toArray();
    ASSERT_EQ(runs.size(), 3);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const QJsonObject run = runs[r].toObject();
        EXPECT_EQ(run["run"].toInt(), r + 1);
        EXPECT_TRUE(run["coastDown"]["usable"].toBool());
        const QJsonObject engine = run["curves"]["engine"].toObject();
        const QJsonArray speed = engine["speed"].toArray();
        ASSERT_FALSE(speed.isEmpty());
        EXPECT_EQ(engine["power"].toArray().size(), speed.size());
        EXPECT_EQ(run["curves"]["loss"]["lossPower"].toArray().size(),
                  run["curves"]["loss"]["speed"].toArray().size());
        EXPECT_GE(run["curves"]["wheel"]["speed"].toArray().size(), speed.size());
        const auto [slowest, fastest] = std::minmax_element(
            speed.begin(), speed.end(),
            [](const QJsonValue& a, const QJsonValue& b) { return a.toDouble() < b.toDouble(); });
        const double peak =
            factor * truth.peakEnginePowerHp(r, slowest->toDouble(), fastest->toDouble());
        EXPECT_NEAR(run["peakEnginePower"].toDouble(), peak, peak * 0.02);
    }
    const QJsonObject session = json["session"].toObject();
    EXPECT_EQ(session["peakEnginePower"]["runs"].toInt(), 3);
    EXPECT_TRUE(session["flaggedRun"].isNull());
    EXPECT_GT(session["meanCurve"]["power"].toArray().size(), 0);
}

TEST_F(AnalysisCommand, JsonGivesTheEngineSidePowerTheSimulatedEngineMade) {
    expectTheEngineOfTheRide(analysedJson({"analysis", coastDown(), "--json"}));
}

TEST_F(AnalysisCommand, AnArchiveSavedBeforeTheAnalysisExistedIsAnalysedFromItsSamples) {
    expectTheEngineOfTheRide(analysedJson({"analysis", kOldArchive, "--json"}));
}

TEST_F(AnalysisCommand, TextNamesEveryRunAndTheRunThatDiffers) {
    const auto even = runDynotool({"analysis", coastDown()});
    ASSERT_EQ(even.exitStatus, 0) << even.err;
    EXPECT_EQ(linesStartingWith(even.out, "run "),
              (std::vector<std::string>{"run 1", "run 2", "run 3"}));
    EXPECT_EQ(linesStartingWith(even.out, "  peak engine power ").size(), 4u) << even.out;
    EXPECT_NE(even.out.find("  no run differs from the others by more than 3.0 %\n"),
              std::string::npos)
        << even.out;

    // Run 2 ridden about 6 % stronger: every revolution 2 % shorter.
    auto model = SessionModel::create();
    TestSession& session = model->slot(1);
    ASSERT_TRUE(loadSessionFile(coastDown(), session).ok());
    for (std::int32_t& ticks : session.run(1).rollerPeriods) ticks = ticks / 50 * 49;
    const std::string stronger = (folder() / "stronger.zsd").string();
    ASSERT_TRUE(saveSessionArchive(stronger, session, SavedAirData{1000, 20, 50}).ok());
    const auto flagged = runDynotool({"analysis", stronger});
    ASSERT_EQ(flagged.exitStatus, 0) << flagged.err;
    EXPECT_EQ(linesStartingWith(flagged.out, "  run ").size(), 1u) << flagged.out;
    EXPECT_NE(flagged.out.find("  run 2 differs from the others by "), std::string::npos)
        << flagged.out;
}

TEST_F(AnalysisCommand, OneRunIsPrintedAloneAndJudgedAgainstAllThree) {
    const auto text = runDynotool({"analysis", coastDown(), "--run", "2"});
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(linesStartingWith(text.out, "run "), (std::vector<std::string>{"run 2"}));

    const QJsonObject json = analysedJson({"analysis", coastDown(), "--run", "2", "--json"});
    ASSERT_EQ(json["runs"].toArray().size(), 1);
    EXPECT_EQ(json["runs"][0]["run"].toInt(), 2);
    EXPECT_EQ(json["session"]["peakWheelPower"]["runs"].toInt(), 3);

    const auto csv = runDynotool({"analysis", coastDown(), "--run", "2", "--csv", "--kw"});
    ASSERT_EQ(csv.exitStatus, 0) << csv.err;
    EXPECT_TRUE(csv.out.starts_with("run,speed_kmh,wheel_power_kw,loss_power_kw,engine_power_kw,"));
    const auto rows = linesStartingWith(csv.out, "");
    const auto ofRun2 = linesStartingWith(csv.out, "2,");
    const auto ofMean = linesStartingWith(csv.out, "mean,");
    EXPECT_GT(ofRun2.size(), 100u);
    EXPECT_GT(ofMean.size(), 0u);
    EXPECT_EQ(rows.size(), 1 + ofRun2.size() + ofMean.size());
}

TEST_F(AnalysisCommand, ARunOutsideOneToThreeIsAUsageError) {
    for (const char* bad : {"0", "4"}) {
        const auto run = runDynotool({"analysis", coastDown(), "--run", bad});
        EXPECT_EQ(run.exitStatus, 2) << bad;
        EXPECT_NE(run.err.find("--run must be a whole number 1..3"), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(AnalysisCommand, RunsWithoutACoastDownSayWhyAndHaveNoEngineSideFigure) {
    auto model = SessionModel::create();
    ASSERT_TRUE(loadSessionFile(withoutCoastDown(), model->slot(1)).ok());
    const auto text = runDynotool({"analysis", withoutCoastDown()});
    ASSERT_EQ(text.exitStatus, 0) << text.err;
    EXPECT_EQ(
        linesStartingWith(text.out, "  peak engine power  none without a usable coast-down").size(),
        3u)
        << text.out;

    const QJsonObject json = analysedJson({"analysis", withoutCoastDown(), "--json"});
    for (const QJsonValue& value : json["runs"].toArray()) {
        const QJsonObject run = value.toObject();
        EXPECT_FALSE(run["coastDown"]["usable"].toBool());
        const std::string verdict = run["coastDown"]["verdict"].toString().toStdString();
        EXPECT_NE(verdict, coastDownVerdictText(CoastDownVerdict::kUsable));
        EXPECT_NE(text.out.find("  coast-down         " + verdict + "\n"), std::string::npos);
        EXPECT_TRUE(run["peakWheelPower"].isDouble());
        EXPECT_TRUE(run["peakEnginePower"].isNull());
        EXPECT_TRUE(run["curves"]["engine"].isNull());
    }
    EXPECT_TRUE(json["session"]["peakEnginePower"]["mean"].isNull());
}

}  // namespace
}  // namespace dyno
