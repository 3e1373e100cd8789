#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "evaluation/CorrectionApply.h"
#include "evaluation/CorrectionSources.h"
#include "model/SessionModel.h"

namespace dyno {
namespace {

TEST(CorrectionFromPage, ReadsTheBoxesLikeThePage) {
    const CorrectionResult defaults = correctionFromPage({});
    EXPECT_EQ(defaults.factor,
              computeCorrection({23.0, 1000.0, 50.0}, CorrectionStandard::Eec).factor);
    EXPECT_EQ(defaults.correctionText, "1.000");

    const CorrectionResult typed =
        correctionFromPage({"62 %", " 31.5C", "975mbar", {}, CorrectionStandard::Din});
    EXPECT_EQ(typed.factor, computeCorrection({31.5, 975.0, 62.0}, CorrectionStandard::Din).factor);
    EXPECT_EQ(typed.standard, CorrectionStandard::Din);

    // An empty temperature reads 0 C, which is plausible air.
    const CorrectionResult freezing = correctionFromPage({"50", "", "1000"});
    EXPECT_FALSE(freezing.isOutOfLimits);
    EXPECT_EQ(freezing.factor,
              computeCorrection({0.0, 1000.0, 50.0}, CorrectionStandard::Eec).factor);
}

TEST(CorrectionFromPage, PressureBoxWithoutANumberIsOutOfLimits) {
    for (const char* pressure : {"", "abc", "0", "-"}) {
        const CorrectionResult result = correctionFromPage({"50", "23", pressure});
        EXPECT_TRUE(result.isOutOfLimits) << pressure;
        EXPECT_EQ(result.factor, 1.0);
        EXPECT_EQ(result.correctionText, "1.000");
    }
}

TEST(CorrectionFromPage, ConvertsFahrenheitAndInchesOfMercury) {
    const double celsius = computeCorrection({23.0, 1000.0, 50.0}, CorrectionStandard::Eec).factor;
    const CorrectionResult fahrenheit = correctionFromPage({"50", "73.4", "1000", {true, false}});
    EXPECT_NEAR(fahrenheit.factor, celsius, 1e-12);
    const CorrectionResult inchHg = correctionFromPage({"50", "23", "29.44", {false, true}});
    EXPECT_NEAR(inchHg.factor, celsius, 1e-12);
    const CorrectionResult both = correctionFromPage({"50", "73.4", "29.44", {true, true}});
    EXPECT_NEAR(both.factor, celsius, 1e-12);

    // -40 is the same in both scales; 1000 read as inch-Hg would be far out of limits.
    EXPECT_EQ(correctionFromPage({"0", "-40", "1000", {true, false}}).factor,
              computeCorrection({-40.0, 1000.0, 0.0}, CorrectionStandard::Eec).factor);
    EXPECT_TRUE(correctionFromPage({"50", "23", "1000", {false, true}}).isOutOfLimits);
}

TEST(FactorOne, ShowsOneAndKeepsTheStandard) {
    const CorrectionResult one = factorOne();
    EXPECT_EQ(one.factor, 1.0);
    EXPECT_EQ(one.correctionText, "1");
    EXPECT_FALSE(one.isOutOfLimits);
    EXPECT_FALSE(one.standard);
}

TEST(CorrectionFromStationK40, ConvertsTheRawReadingsAndFillsTheBoxes) {
    const WeatherStationConstants constants{250.0, 250.0, 250.0};
    // 486 x 5/9 - 250 = 20 C, 900 x 5/6 + 250 = 1000 mbar, 351 x 100/117 - 250 = 50 %.
    const StationCorrection metric =
        correctionFromStationK40({486, 900, 351}, constants, {{}, CorrectionStandard::SaeStp});
    EXPECT_EQ(metric.displayTexts.temperature, "20");
    EXPECT_EQ(metric.displayTexts.pressure, "1000");
    EXPECT_EQ(metric.displayTexts.humidity, "50");
    EXPECT_NEAR(metric.correction.factor,
                computeCorrection({20.0, 1000.0, 50.0}, CorrectionStandard::SaeStp).factor, 1e-12);
    EXPECT_EQ(metric.correction.standard, CorrectionStandard::SaeStp);

    const StationCorrection imperial = correctionFromStationK40(
        {486, 900, 351}, constants, {{true, true}, CorrectionStandard::SaeStp});
    EXPECT_EQ(imperial.displayTexts.temperature, "68");
    EXPECT_EQ(imperial.displayTexts.pressure, "29.44");
    EXPECT_EQ(imperial.correction.factor, metric.correction.factor);

    // 360 x 5/9 - 250 = -50 is taken as 50 C; the factor uses the unrounded
    // 1000.83 mbar, not the "1001" shown.
    const StationCorrection mirrored = correctionFromStationK40({360, 901, 351}, constants, {});
    EXPECT_NEAR(mirrored.air.temperatureC, 50.0, 1e-9);
    EXPECT_EQ(mirrored.displayTexts.pressure, "1001");
    EXPECT_EQ(mirrored.correction.factor,
              computeCorrection(mirrored.air, CorrectionStandard::Eec).factor);
    EXPECT_NE(
        mirrored.correction.factor,
        computeCorrection({50.0, 1001.0, mirrored.air.humidityPercent}, CorrectionStandard::Eec)
            .factor);
}

TEST(CorrectionFromStationCard, UsesTheCardScalesAndTheChosenPressureSensor) {
    const WeatherStationConstants constants{0.0, 0.0, 0.0};
    // 216 x 5/36 = 30 C, 235 x 10/47 = 50 %; 2530 x 100/253 or 4800 x 5/24 = 1000 mbar.
    const StationCorrection per253 =
        correctionFromStationCard({216, 2530, 235}, constants, {}, CardPressureScale::Per253);
    const StationCorrection per24 =
        correctionFromStationCard({216, 4800, 235}, constants, {}, CardPressureScale::Per24);
    for (const StationCorrection& station : {per253, per24}) {
        EXPECT_EQ(station.displayTexts.temperature, "30");
        EXPECT_EQ(station.displayTexts.pressure, "1000");
        EXPECT_EQ(station.displayTexts.humidity, "50");
        EXPECT_NEAR(station.correction.factor,
                    computeCorrection({30.0, 1000.0, 50.0}, CorrectionStandard::Eec).factor, 1e-12);
    }
    const StationCorrection wrongSensor =
        correctionFromStationCard({216, 2530, 235}, constants, {}, CardPressureScale::Per24);
    EXPECT_EQ(wrongSensor.displayTexts.pressure, "527");
    EXPECT_TRUE(correctionFromStationCard({216, 0, 235}, constants, {}, CardPressureScale::Per24)
                    .correction.isOutOfLimits);
}

struct ShownMessage {
    MessageKind kind;
    std::string caption;
    std::string text;
};

class RecordingMessages : public MessageSink {
  public:
    void show(MessageKind kind, std::string_view caption, std::string_view text) override {
        shown.push_back({kind, std::string(caption), std::string(text)});
    }
    std::vector<ShownMessage> shown;
};

class ApplyCorrectionTest : public ::testing::Test {
  protected:
    std::unique_ptr<SessionModel> model = SessionModel::create();
    TestSession& slot1 = model->slot(1);
    RecordingMessages messages;

    std::int16_t storedStandard() const {
        return slot1.header.words[SessionHeader::kCorrectionStandard];
    }
};

TEST_F(ApplyCorrectionTest, StoresFactorAndStandardQuietlyAndFactorOneKeepsTheStandard) {
    const CorrectionResult din =
        correctionFromPage({"50", "23", "1000", {}, CorrectionStandard::Din});
    applyCorrection(din, CorrectionTarget::CorrectionFactor, slot1, messages);
    EXPECT_EQ(slot1.correctionFactor, din.factor);
    EXPECT_EQ(storedStandard(), 2);

    applyCorrection(factorOne(), CorrectionTarget::CorrectionFactor, slot1, messages);
    EXPECT_EQ(slot1.correctionFactor, 1.0);
    EXPECT_EQ(storedStandard(), 2);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ApplyCorrectionTest, OutOfLimitsWarnsAndStoresExactlyOne) {
    slot1.correctionFactor = 1.2;
    applyCorrection(correctionFromPage({"50", "23", "", {}, CorrectionStandard::Iso1585}),
                    CorrectionTarget::CorrectionFactor, slot1, messages);
    EXPECT_EQ(slot1.correctionFactor, 1.0);
    EXPECT_EQ(storedStandard(), 4);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(messages.shown[0].caption, "VKR dyno");
    EXPECT_EQ(messages.shown[0].text, "The correctionfactor is out of limits, changed to 1.00");
}

TEST_F(ApplyCorrectionTest, StationFactorLeavesTheAppliedFactorAlone) {
    slot1.correctionFactor = 1.1;
    const StationCorrection station = correctionFromStationK40(
        {486, 900, 351}, {250.0, 250.0, 250.0}, {{}, CorrectionStandard::SaeJ1349});
    applyCorrection(station.correction, CorrectionTarget::StationCorrection, slot1, messages);
    EXPECT_EQ(slot1.values.stationCorrection(), station.correction.factor);
    EXPECT_EQ(slot1.correctionFactor, 1.1);
    EXPECT_EQ(storedStandard(), 1);
}

}  // namespace
}  // namespace dyno
