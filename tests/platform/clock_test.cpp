#include "platform/clock.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>
#include <limits>

using namespace platform;

namespace {
struct ScopedTimeScale {
    explicit ScopedTimeScale(double scale) { set_time_scale(scale); }
    ~ScopedTimeScale() { set_time_scale(1.0); }
};
} // namespace

TEST(Clock, WaitEndsRightAfterTheEventThatSatisfiesIt) {
    bool fired = false;
    double fired_at = 0;
    QTimer::singleShot(20, Qt::PreciseTimer, [&] {
        fired = true;
        fired_at = seconds();
    });
    EXPECT_TRUE(wait_until([&] { return fired; }, 10.0));
    // A wait that polls on a sleep would notice the event only at its next look.
    EXPECT_LT(seconds() - fired_at, 0.05) << "the reply was noticed late";
}

TEST(Clock, IdleWaitSleepsInsteadOfSpinning) {
    for (double scale : {1.0, 100.0}) {
        ScopedTimeScale scaled(scale);
        int looks = 0;
        EXPECT_FALSE(wait_until([&] { return ++looks < 0; }, 0.5 * scale));
        EXPECT_LT(looks, 25) << "an idle wait kept the processor busy at time scale " << scale;
    }
}

TEST(Clock, TimeScaleShortensTimeoutsAndKeepsTheClockSteady) {
    const double before = seconds();
    ScopedTimeScale fast(100.0);
    EXPECT_GE(seconds(), before) << "the clock went back when the scale changed";
    const double start = seconds();
    EXPECT_FALSE(wait_until([] { return false; }, 20.0));
    EXPECT_GE(seconds() - start, 20.0);
    EXPECT_LT(seconds() - start, 20.0 + 100.0)
        << "a scaled time-out took over a real second too long";
}

TEST(Clock, TicksRunWhileWaitingWithoutStarvingEvents) {
    {
        ScopedTimeScale fast(2.0);
        int ticks = 0;
        EXPECT_FALSE(wait_until([] { return false; }, 1.0, [&] { ++ticks; }, 0.1));
        EXPECT_GE(ticks, 5) << "the countdown was not refreshed while waiting";
        EXPECT_LE(ticks, 11) << "the countdown ran more often than asked";
    }
    bool fired = false;
    QTimer::singleShot(10, [&] { fired = true; });
    EXPECT_TRUE(wait_until([&] { return fired; }, 5.0, [] {}, 0.0))
        << "ticking without pause starved the event that ends the wait";
}

TEST(Clock, HandlersRunAndWaitInsideAWait) {
    bool inner_done = false, outer_done = false;
    QTimer::singleShot(5, [&] {
        wait_ms(30); // a handler that itself waits, as a delay inside a click does
        inner_done = true;
    });
    QTimer::singleShot(10, [&] { outer_done = true; });
    EXPECT_TRUE(wait_until([&] { return outer_done && inner_done; }, 5.0));
}

TEST(Clock, ZeroDelayRunsPendingEventsAndNegativeTimeoutWaitsUntilDone) {
    bool ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    wait_ms(0);
    EXPECT_TRUE(ran);
    // Once the program is ending, nothing runs under the handlers that unwind.
    ran = false;
    QMetaObject::invokeMethod(
        qApp, [&] { ran = true; }, Qt::QueuedConnection);
    end_all_waits();
    pump_events();
    end_all_waits(false);
    EXPECT_FALSE(ran) << "an event ran under a handler while the program was ending";
    wait_ms(0);
    EXPECT_TRUE(ran);

    ScopedTimeScale fast(1000.0);
    bool fired = false;
    QTimer::singleShot(50, [&] { fired = true; }); // 50 program seconds, well past any default
    EXPECT_TRUE(wait_until([&] { return fired; }, -1.0));
}

TEST(Clock, WithAFarEndTimePassesOnlyInWaitsAndStopsAtTheFarEndsNextAct) {
    // A busy or stalled program at a fast scale: its own work costs no program time, a wait ends
    // at its deadline, and nothing passes the far end's next act before it has acted.
    ScopedTimeScale fast(1000.0);
    double act_at = std::numeric_limits<double>::infinity();
    double acted = -1;
    step_with_far_end([&](double) { return act_at; });
    const double start = seconds();
    act_at = start + 5;
    QThread::msleep(30); // 30 program seconds of real time spent in a handler
    EXPECT_EQ(seconds(), start) << "the program's own work took program time";
    QTimer::singleShot(20, [&] { // the far end comes round late, and is slow itself
        QThread::msleep(30);
        acted = seconds();
        act_at = std::numeric_limits<double>::infinity();
    });
    EXPECT_FALSE(wait_until([] { return false; }, 10));
    const double ended = seconds();
    step_with_far_end({});
    EXPECT_NEAR(acted - start, 5, 1e-6) << "the far end acted at another time than it was due";
    EXPECT_NEAR(ended - start, 10, 1e-6) << "the wait did not end at its deadline";
}
