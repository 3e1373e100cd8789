// Black-box tests of `dynotool simulate --card` and `dynotool weather`.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "evaluation/CorrectionSources.h"
#include "files/SessionLoading.h"
#include "files/SettingsFileCodec.h"
#include "model/SessionModel.h"
#include "support/DynotoolRun.h"

namespace dyno {
namespace {

using ::testing::HasSubstr;
using testing::runDynotool;

class CardAndWeatherCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("dynotool_card_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override {
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(folder);
    }

    std::filesystem::path folder;
    std::filesystem::path previous = std::filesystem::current_path();
    std::unique_ptr<SessionModel> model = SessionModel::create();
};

double numberAfter(const std::string& json, const std::string& key) {
    std::smatch match;
    const std::regex pattern("\"" + key + "\": ([-0-9.e+]+)");
    if (!std::regex_search(json, match, pattern)) return -1.0;
    return std::stod(match[1]);
}

TEST_F(CardAndWeatherCommand, ACardSessionIsSavedWithTheChosenModelAndTheCardElectronics) {
    const auto archive = folder / "card.zsd";
    const auto run =
        runDynotool({"simulate", "--card", "--model", "K80", "--vehicle", "bike125", "--test",
                     "720", "--channels", "1,5", "--weather", "--out", archive.string()});
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("\"dyno\": \"K80\""));

    TestSession& slot1 = model->slot(1);
    ASSERT_TRUE(loadSessionFile(archive, slot1).ok());
    EXPECT_EQ(slot1.header.dynoModel(), 2);
    EXPECT_EQ(slot1.header.electronicsType(), 0);
    EXPECT_EQ(slot1.header.rollerCode(), 50);
    EXPECT_EQ(slot1.header.gearboxType(), 1);
    for (int r = 0; r < 3; ++r) {
        EXPECT_GT(slot1.leadingPeriods(r), 200) << r;
        EXPECT_NEAR(slot1.values.rpmPer100(r), 100.0, 1.0) << r;
    }
    EXPECT_GT(slot1.analogSamples[0][4][50], 0);
    EXPECT_EQ(slot1.analogSamples[0][1][50], 0) << "channel 2 not recorded";
    EXPECT_NEAR(slot1.values.stationCorrection(), 1.0, 0.05);
    EXPECT_NE(slot1.values.stationCorrection(), 1.0);
}

TEST_F(CardAndWeatherCommand, CardOnlyOptionsAreRefusedWithoutTheCard) {
    const auto run = runDynotool({"simulate", "--weather", "--out", (folder / "x.zsd").string()});
    EXPECT_EQ(run.exitStatus, 2);
    const auto k40 =
        runDynotool({"simulate", "--card", "--model", "K40", "--out", (folder / "y.zsd").string()});
    EXPECT_EQ(k40.exitStatus, 2);
    EXPECT_THAT(k40.err, HasSubstr("K70 or K80"));
}

TEST_F(CardAndWeatherCommand, WeatherReadsTheStationWithTheFoldersSettings) {
    DynoSettings settings;  // the window's defaults: constants 250, EEC
    ASSERT_TRUE(saveSettingsFile(folder / kSettingsFileName, settings).ok());
    std::filesystem::current_path(folder);
    const auto run = runDynotool({"weather", "--port", "SIM", "--json"});
    ASSERT_EQ(run.exitStatus, 0) << run.err;

    const std::regex keys("\"([a-zA-Z]+)\":");
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), keys);
         it != std::sregex_iterator(); ++it) {
        found.push_back((*it)[1]);
    }
    EXPECT_THAT(found, ::testing::ElementsAre("tempRaw", "baroRaw", "humRaw", "temperature",
                                              "pressure", "humidity", "stationFactor", "factor"));
    // The simulated station measures 23 °C, 1000 mbar, 50 %, to a count.
    EXPECT_NEAR(numberAfter(run.out, "temperature"), 23.0, 0.6);
    EXPECT_NEAR(numberAfter(run.out, "pressure"), 1000.0, 0.9);
    EXPECT_NEAR(numberAfter(run.out, "humidity"), 50.0, 0.9);
    const CorrectionResult page =
        correctionFromPage({"50", "23", "1000", {}, CorrectionStandard::Eec});
    EXPECT_DOUBLE_EQ(numberAfter(run.out, "factor"), page.factor);
    EXPECT_NEAR(numberAfter(run.out, "stationFactor"), page.factor, 0.005);
}

TEST_F(CardAndWeatherCommand, WeatherOnAPortThatCannotBeOpenedFails) {
    const auto run = runDynotool({"weather", "--port", (folder / "missing").string()});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_THAT(run.err, HasSubstr("cannot open"));
}

}  // namespace
}  // namespace dyno
