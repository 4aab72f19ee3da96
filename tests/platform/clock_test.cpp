#include "platform/clock.h"

#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

TEST(Clock, WaitEndsWhenTheEventThatSatisfiesItHasRun) {
    bool fired = false;
    QTimer::singleShot(20, [&] { fired = true; });
    const double start = seconds();
    EXPECT_TRUE(wait_until([&] { return fired; }, 10.0));
    EXPECT_LT(seconds() - start, 5.0);
}

TEST(Clock, TimeScaleShortensTimeouts) {
    set_time_scale(100.0);
    const double start = seconds();
    EXPECT_FALSE(wait_until([] { return false; }, 20.0));
    EXPECT_GE(seconds() - start, 20.0);
    set_time_scale(1.0);
}
