#include <gtest/gtest.h>

#include "model/ChannelSettings.h"

namespace dyno {
namespace {

TEST(ChannelUses, AStoredUseIsReadAsTheAdSettingsPageShowsIt) {
    EXPECT_EQ(gainModeOf(0), GainMode::Multiply);
    EXPECT_EQ(gainModeOf(1), GainMode::Divide);
    EXPECT_EQ(gainModeOf(2), GainMode::Divide);     // past the last item: the last
    EXPECT_EQ(gainModeOf(-1), GainMode::Multiply);  // no item chosen
    EXPECT_EQ(offsetModeOf(0), OffsetMode::Add);
    EXPECT_EQ(offsetModeOf(1), OffsetMode::Subtract);
    EXPECT_EQ(offsetModeOf(2), OffsetMode::Subtract);
    EXPECT_EQ(offsetModeOf(-1), OffsetMode::Add);
}

}  // namespace
}  // namespace dyno
