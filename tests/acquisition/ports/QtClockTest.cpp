// The clock on the event loop: callbacks in time order, ties in the order asked,
// cancelling, and a clock that runs faster than the wall clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "acquisition/ports/PortTestSupport.h"
#include "acquisition/ports/QtClock.h"

namespace dyno::test {
namespace {

TEST(QtClock, RunsCallbacksInDueOrderAndTiesInTheOrderAsked) {
    QtClock clock;
    std::vector<std::string> ran;
    clock.callAfter(30, [&] { ran.push_back("30"); });
    clock.callAfter(0, [&] { ran.push_back("0a"); });
    clock.callAfter(10, [&] {
        ran.push_back("10");
        // Asked from inside a callback, due with the one asked before it.
        clock.callAfter(20, [&] { ran.push_back("10+20"); });
    });
    clock.callAfter(0, [&] { ran.push_back("0b"); });
    ASSERT_TRUE(processEventsUntil([&] { return ran.size() == 5; }));
    EXPECT_EQ(ran, (std::vector<std::string>{"0a", "0b", "10", "30", "10+20"}));
    EXPECT_EQ(clock.pendingTimers(), 0u);
}

TEST(QtClock, NeverRunsACallbackEarlyAndForgetsCancelledOnes) {
    QtClock clock;
    std::int64_t ranAt = -1;
    bool cancelledRan = false;
    const std::int64_t askedAt = clock.nowMs();
    const Clock::TimerId cancelled = clock.callAfter(50, [&] { cancelledRan = true; });
    clock.callAfter(100, [&] { ranAt = clock.nowMs(); });
    clock.cancel(cancelled);
    clock.cancel(cancelled);  // twice, and an unknown id: both ignored
    clock.cancel(9999);
    ASSERT_TRUE(processEventsUntil([&] { return ranAt >= 0; }));
    EXPECT_GE(ranAt - askedAt, 100);
    EXPECT_FALSE(cancelledRan);
}

TEST(QtClock, ATimeLapseClockRunsItsMillisecondsFaster) {
    QtClock wall;
    QtClock fast(50);
    bool ran = false;
    const std::int64_t wallStart = wall.nowMs();
    fast.callAfter(2000, [&] { ran = true; });
    ASSERT_TRUE(processEventsUntil([&] { return ran; }, 1500));
    EXPECT_GE(fast.nowMs(), 2000);
    EXPECT_LT(wall.nowMs() - wallStart, 1500);
}

}  // namespace
}  // namespace dyno::test
