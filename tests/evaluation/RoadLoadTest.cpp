#include <gtest/gtest.h>

#include <vector>

#include "evaluation/RoadLoad.h"

namespace dyno {
namespace {

TEST(RoadLoad, GrowsWithTheSquareOfTheSpeedAboveTheRollingResistance) {
    const RoadLoad load{0.03, 0.5, false};
    const std::vector<double> speeds{0.0, 50.0, 100.0};
    const std::vector<double> losses = roadLoadCurve(load, speeds);
    ASSERT_EQ(losses.size(), 3U);
    EXPECT_DOUBLE_EQ(losses[0], 0.5);
    EXPECT_DOUBLE_EQ(losses[1], 2.75);  // (0.03 x 50)^2 + 0.5
    EXPECT_DOUBLE_EQ(losses[2], 9.5);   // (0.03 x 100)^2 + 0.5
}

TEST(RoadLoad, TakesASpeedInMphInKmh) {
    // (0.03 x 1.60934 x 75)^2 + 0.5 = 13.61175 hp
    EXPECT_NEAR(roadLoadAt({0.03, 0.5, true}, 75.0), 13.61175, 1e-5);
    EXPECT_DOUBLE_EQ(roadLoadAt({0.03, 0.5, false}, 75.0), 5.5625);
}

}  // namespace
}  // namespace dyno
