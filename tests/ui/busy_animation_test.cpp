// The busy frame's animation moves while it shows and rests while hidden.
#include "ui/busy_animation.h"

#include "platform/clock.h"

#include <gtest/gtest.h>

namespace {

TEST(BusyAnimation, AWaveRunsAcrossTheBlocksAndLeavesTheRowDimBetweenWaves) {
    // At the first frame only the first block is lit; half way the crest has passed the middle;
    // at the last frame the row has gone dim again.
    EXPECT_DOUBLE_EQ(BusyAnimation::block_level(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(BusyAnimation::block_level(5, 0), 0.15);
    const int half = BusyAnimation::FRAMES / 2;
    int lit = 0;
    for (int b = 0; b < BusyAnimation::BLOCKS; ++b)
        lit += BusyAnimation::block_level(b, half) > 0.15;
    EXPECT_GE(lit, 2) << "half way no block glows";
    for (int b = 0; b < BusyAnimation::BLOCKS - 2; ++b)
        EXPECT_DOUBLE_EQ(BusyAnimation::block_level(b, BusyAnimation::FRAMES - 1), 0.15) << b;
    // Every frame differs from the one before: the animation never stands still while shown.
    for (int f = 1; f < BusyAnimation::FRAMES; ++f) {
        bool changed = false;
        for (int b = 0; b < BusyAnimation::BLOCKS; ++b)
            changed |= BusyAnimation::block_level(b, f) != BusyAnimation::block_level(b, f - 1);
        EXPECT_TRUE(changed || f > BusyAnimation::FRAMES - 3) << "frame " << f;
    }
}

TEST(BusyAnimation, PlaysOnlyWhileShown) {
    BusyAnimation a;
    a.resize(200, 24);
    EXPECT_FALSE(a.running());
    a.show();
    EXPECT_TRUE(a.running());
    EXPECT_TRUE(platform::wait_until([&] { return a.frame() >= 2; }, 2))
        << "the frames stand still";
    a.hide();
    EXPECT_FALSE(a.running()) << "a hidden animation keeps the processor busy";
}

} // namespace
