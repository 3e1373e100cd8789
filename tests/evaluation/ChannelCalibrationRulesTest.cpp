#include "evaluation/ChannelCalibrationRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dyno {
namespace {

const ChannelCalibration kEgt{"EGT", "degC", 0.0, 0.0, 1023.0, 1000.0, 1};

TEST(ChannelCalibrationRules, EqualRecordedPointsAreRefusedNamingTheChannel) {
    ChannelCalibration flat = kEgt;
    flat.recordedHigh = 0.0;
    EXPECT_EQ(calibrationRefusal(3, flat), "Channel 3 (EGT): the two recorded points are equal");
    flat.name.clear();
    EXPECT_EQ(calibrationRefusal(5, flat), "Channel 5: the two recorded points are equal");
}

TEST(ChannelCalibrationRules, AValueThatIsNoNumberIsRefused) {
    ChannelCalibration broken = kEgt;
    broken.valueHigh = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(calibrationRefusal(1, broken),
              "Channel 1 (EGT): a calibration point is not a number");
    broken = kEgt;
    broken.recordedLow = -std::numeric_limits<double>::infinity();
    EXPECT_FALSE(isCalibrationUsable(broken));
}

TEST(ChannelCalibrationRules, SmoothingIsTakenFromOneToFiftySamples) {
    ChannelCalibration smoothed = kEgt;
    for (const int samples : {1, 50}) {
        smoothed.smoothingSamples = samples;
        EXPECT_EQ(calibrationRefusal(2, smoothed), std::nullopt) << samples;
    }
    smoothed.smoothingSamples = 0;
    EXPECT_EQ(calibrationRefusal(2, smoothed),
              "Channel 2 (EGT): smoothing must be 1..50 samples, not 0");
    smoothed.smoothingSamples = 51;
    EXPECT_FALSE(isCalibrationUsable(smoothed));
}

TEST(ChannelCalibrationRules, TheReadingFollowsTheLineThroughBothPointsAndBeyond) {
    const ChannelCalibration falling{"T", "degC", 100.0, 50.0, 300.0, -50.0, 1};
    EXPECT_DOUBLE_EQ(calibratedReading(falling, 100.0), 50.0);
    EXPECT_DOUBLE_EQ(calibratedReading(falling, 300.0), -50.0);
    EXPECT_DOUBLE_EQ(calibratedReading(falling, 200.0), 0.0);
    EXPECT_DOUBLE_EQ(calibratedReading(falling, 400.0), -100.0);
}

TEST(ChannelCalibrationRules, PresetsAreUsableAndMapTheFullInputToTheirRange) {
    ASSERT_FALSE(calibrationPresets().empty());
    for (const CalibrationPreset& preset : calibrationPresets()) {
        const ChannelCalibration& c = preset.calibration;
        EXPECT_TRUE(isCalibrationUsable(c)) << preset.title;
        const bool isCard = preset.title.ends_with("card input");
        EXPECT_EQ(c.recordedHigh, isCard ? 4095.0 : 1023.0) << preset.title;
        EXPECT_FALSE(c.name.empty());
    }
    const auto& afr = calibrationPresets().front().calibration;
    EXPECT_DOUBLE_EQ(calibratedReading(afr, 1023.0 / 2.0), 15.0) << "2.5 V reads AFR 15";
}

}  // namespace
}  // namespace dyno
