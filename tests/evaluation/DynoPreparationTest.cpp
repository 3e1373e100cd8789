#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "evaluation/DynoPreparation.h"
#include "evaluation/DynoPreparationChannels.h"
#include "evaluation/DynoPreparationRpm.h"
#include "model/TextNumbers.h"

namespace dyno {
namespace {

TEST(PrepareDyno, SpeedDialConstantFollowsModelAndElectronics) {
    struct Case {
        DynoModel model;
        Electronics electronics;
        double speedFactor;
        double clockRate;
        double speedDialConstant;
    };
    for (const Case& c :
         {Case{DynoModel::K40, Electronics::Card, 2.2176, 2e6, 5'677'056.0},
          Case{DynoModel::K40, Electronics::UsbSerial, 2.2176, 2.5e6, 7'096'320.0},
          Case{DynoModel::K70, Electronics::Card, 5.6772, 2e6, 14'533'632.0},
          Case{DynoModel::K70, Electronics::UsbSerial, 5.6772, 2.5e6, 18'167'040.0},
          Case{DynoModel::K80, Electronics::Card, 5.6556, 2e6, 14'478'336.0},
          Case{DynoModel::K80, Electronics::UsbSerial, 5.6556, 2.5e6, 18'097'920.0}}) {
        const DynoConstantsInForce prepared = prepareDyno({}, c.model, c.electronics, {}).constants;
        EXPECT_EQ(prepared.currentDynoModel, c.model);
        EXPECT_EQ(prepared.currentElectronics, c.electronics);
        EXPECT_EQ(prepared.speedFactor, c.speedFactor);
        EXPECT_EQ(prepared.clockRate, c.clockRate);
        EXPECT_EQ(prepared.speedDialConstant, c.speedDialConstant)
            << static_cast<int>(c.model) << "/" << static_cast<int>(c.electronics);
    }
}

TEST(PrepareDyno, MarkerTextsSetBothBars) {
    const DynoPreparation prepared =
        prepareDyno({}, DynoModel::K80, Electronics::Card, {"10", " 20 ", "-30", "40"});
    EXPECT_TRUE(prepared.markerError.empty());
    EXPECT_EQ(prepared.constants.barMarkers[0], (BarMarkerPositions{10, 20}));
    EXPECT_EQ(prepared.constants.barMarkers[1], (BarMarkerPositions{-30, 40}));
}

TEST(PrepareDyno, MarkerTextThatIsNotAWholeNumberLeavesAllMarkersAndSaysWhy) {
    DynoConstantsInForce previous;
    previous.barMarkers = {BarMarkerPositions{1, 2}, BarMarkerPositions{3, 4}};
    for (const BarMarkerTexts& texts :
         {BarMarkerTexts{"10", "20", "3.5", "40"}, BarMarkerTexts{"", "20", "30", "40"},
          BarMarkerTexts{"10", "20", "30", "40x"}}) {
        const DynoPreparation prepared =
            prepareDyno(previous, DynoModel::K70, Electronics::Card, texts);
        EXPECT_EQ(prepared.constants.barMarkers, previous.barMarkers);
        EXPECT_FALSE(prepared.markerError.empty());
        // The dyno constants are prepared before the markers are read.
        EXPECT_EQ(prepared.constants.speedDialConstant, 14'533'632.0);
    }
    EXPECT_EQ(
        prepareDyno(previous, DynoModel::K40, Electronics::Card, {"1", "x", "y", "4"}).markerError,
        notAnIntegerMessage("x"));
}

RpmConstants rpmAfter(TestType type, DynoModel model, std::string_view degrees = "360",
                      const RpmConstants& previous = {}) {
    return prepareRpm(TestTypeButtons(type), degrees, model, previous).constants;
}

TEST(PrepareRpm, FixedAnglesUseTheTableOfTheDynoModel) {
    EXPECT_EQ(rpmAfter(TestType::Degrees720, DynoModel::K40),
              (RpmConstants{1, 4'800'000, 300'000'000}));
    EXPECT_EQ(rpmAfter(TestType::Degrees360, DynoModel::K40),
              (RpmConstants{1, 2'400'000, 150'000'000}));
    EXPECT_EQ(rpmAfter(TestType::Degrees180, DynoModel::K40),
              (RpmConstants{1, 1'200'000, 75'000'000}));
    for (const DynoModel model : {DynoModel::K70, DynoModel::K80}) {
        EXPECT_EQ(rpmAfter(TestType::Degrees720, model), (RpmConstants{1, 3'840'000, 240'000'000}));
        EXPECT_EQ(rpmAfter(TestType::Degrees360, model), (RpmConstants{1, 1'920'000, 120'000'000}));
        EXPECT_EQ(rpmAfter(TestType::Degrees180, model), (RpmConstants{1, 960'000, 60'000'000}));
    }
}

TEST(PrepareRpm, UserDegreesMultiplyThePerDegreeDividends) {
    EXPECT_EQ(rpmAfter(TestType::UserDefinedDegrees, DynoModel::K40, "720"),
              (RpmConstants{1, 4'799'520, 299'999'520}));
    EXPECT_EQ(rpmAfter(TestType::UserDefinedDegrees, DynoModel::K70, "720"),
              (RpmConstants{1, 3'839'760, 239'999'760}));
    EXPECT_EQ(rpmAfter(TestType::UserDefinedDegrees, DynoModel::K80, "720 deg"),
              (RpmConstants{1, 3'839'760, 239'999'760}));
    for (const char* text : {"", "abc", "  "}) {
        EXPECT_EQ(rpmAfter(TestType::UserDefinedDegrees, DynoModel::K40, text),
                  (RpmConstants{1, 0, 0}))
            << '"' << text << '"';
    }
}

TEST(PrepareRpm, NoRpmRegistrationKeepsThePreviousConstants) {
    const RpmConstants after360 = rpmAfter(TestType::Degrees360, DynoModel::K40);
    EXPECT_EQ(rpmAfter(TestType::NoRpmRegistration, DynoModel::K40, "360", after360),
              (RpmConstants{0, 2'400'000, 150'000'000}));
}

TEST(PrepareRpm, FirstCheckedButtonDecidesAndNoneChangesNothing) {
    const RpmConstants previous{1, 11, 22};
    EXPECT_EQ(prepareRpm({}, "720", DynoModel::K40, previous).constants, previous);

    TestTypeButtons noRpmAnd720;
    noRpmAnd720.check(TestType::Degrees720).check(TestType::NoRpmRegistration);
    EXPECT_EQ(prepareRpm(noRpmAnd720, "", DynoModel::K40, previous).constants,
              (RpmConstants{0, 11, 22}));

    TestTypeButtons userAnd180;
    userAnd180.check(TestType::UserDefinedDegrees).check(TestType::Degrees180);
    EXPECT_EQ(prepareRpm(userAnd180, "1", DynoModel::K40, previous).constants,
              (RpmConstants{1, 1'200'000, 75'000'000}));
}

TEST(PrepareRpm, UserDegreesBeyondThe32BitDividendsOrNegativeChangeNothing) {
    const RpmConstants previous{1, 2'400'000, 150'000'000};
    struct Case {
        DynoModel model;
        std::int32_t largestAccepted;
    };
    for (const Case& c : {Case{DynoModel::K40, 5153}, Case{DynoModel::K80, 6442}}) {
        EXPECT_EQ(maxUserDegrees(c.model), c.largestAccepted);
        const RpmPreparation largest =
            prepareRpm(TestTypeButtons(TestType::UserDefinedDegrees),
                       std::to_string(c.largestAccepted), c.model, previous);
        EXPECT_FALSE(largest.isUserDegreesOutOfRange);
        EXPECT_GT(largest.constants.rpmSampleConstant, 2'000'000'000);

        for (const std::string& text : {std::to_string(c.largestAccepted + 1), std::string("-1"),
                                        std::string("99999999999"), std::string("-99999999999")}) {
            const RpmPreparation rejected =
                prepareRpm(TestTypeButtons(TestType::UserDefinedDegrees), text, c.model, previous);
            EXPECT_TRUE(rejected.isUserDegreesOutOfRange) << text;
            EXPECT_EQ(rejected.constants, previous) << text;
        }
    }
}

TEST(PrepareChannels, ReadsEachChannelLeniently) {
    const ChannelSettingsSet settings = prepareChannels({
        ChannelEntries{"2.5", GainMode::Divide, "-10", OffsetMode::Subtract, true},
        ChannelEntries{"abc", GainMode::Multiply, "", OffsetMode::Add, false},
        ChannelEntries{"1,5", GainMode::Multiply, "3 V", OffsetMode::Add, false},
    });
    EXPECT_EQ(settings[0],
              (ChannelSettings{2.5, GainMode::Divide, -10.0, OffsetMode::Subtract, 1}));
    EXPECT_EQ(settings[1], (ChannelSettings{0.0, GainMode::Multiply, 0.0, OffsetMode::Add, 0}));
    EXPECT_EQ(settings[2], (ChannelSettings{1.0, GainMode::Multiply, 3.0, OffsetMode::Add, 0}));
    EXPECT_EQ(settings[4], ChannelSettings{});
}

TEST(ScaleCardChannel, PercentThenGainThenOffsetThenInversion) {
    const ChannelSettings plain{};
    EXPECT_EQ(scaleCardChannel(4095, plain), 399.90234375);
    EXPECT_EQ(scaleCardChannel(1024, plain), 100.0);

    // Gain before offset: (100 x 2) + 10, not (100 + 10) x 2.
    EXPECT_EQ(scaleCardChannel(1024, {2.0, GainMode::Multiply, 10.0, OffsetMode::Add, 0}), 210.0);
    EXPECT_EQ(scaleCardChannel(1024, {4.0, GainMode::Divide, 5.0, OffsetMode::Subtract, 0}), 20.0);
    EXPECT_EQ(scaleCardChannel(1024, {4.0, GainMode::Divide, 5.0, OffsetMode::Subtract, 1}), 380.0);
    // Inverted above 400 goes negative; the marker clipping puts it at the left end.
    EXPECT_LT(scaleCardChannel(4095, {2.0, GainMode::Multiply, 0.0, OffsetMode::Add, 1}), 0.0);
}

TEST(ScaleCardChannel, DivisionByAZeroGainNeverGivesNaN) {
    const ChannelSettings divideByZero{0.0, GainMode::Divide, 0.0, OffsetMode::Add, 0};
    EXPECT_EQ(scaleCardChannel(0, divideByZero), 0.0);
    EXPECT_EQ(scaleCardChannel(0, {0.0, GainMode::Divide, 0.0, OffsetMode::Add, 1}), 400.0);
    EXPECT_EQ(scaleCardChannel(100, divideByZero), std::numeric_limits<double>::infinity());
}

}  // namespace
}  // namespace dyno
