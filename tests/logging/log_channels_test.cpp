#include "logging/log_channels.h"

#include <gtest/gtest.h>

#include <bit>

using logsetup::ChannelSet;
using logsetup::MaskWords;

namespace {

class LogChannels : public ::testing::Test {
protected:
    void SetUp() override {
        reset_log_setup_state();
        init_log_channel_bytes();
        init_log_channel_decimals();
    }
    const LogChannelTable& table() { return log_setup().log_channel_table; }
};

ChannelSet channels(std::initializer_list<int> list) {
    ChannelSet set;
    for (int c : list)
        set.set(static_cast<size_t>(c));
    return set;
}

} // namespace

// Each channel has a bit of its own, and a loaded log ticks the box it logged.
TEST_F(LogChannels, EveryChannelRoundTripsThroughItsOwnMaskBit) {
    for (int c = 0; c < 48; ++c) {
        const MaskWords words = logsetup::mask_words(channels({c}));
        EXPECT_EQ(std::popcount(uint32_t(words.word1)) + std::popcount(uint32_t(words.word2)) +
                      std::popcount(uint32_t(words.word3)),
                  1)
            << "channel " << c;
        EXPECT_EQ(logsetup::channels_from_masks(words.word1, words.word2, words.word3),
                  channels({c}))
            << "a loaded log would tick another box than the one it logged: channel " << c;
    }
}

TEST_F(LogChannels, RecordSizeAndMasksOfTypicalSelections) {
    ChannelSet every_loggable;
    every_loggable.set().reset(32).reset(33);
    const struct {
        const char* what;
        ChannelSet set;
        int bytes;
        MaskWords words;
    } cases[] = {
        {"time stamp only", channels({31}), 3, {0, 32768, 0}},
        {"every channel that can be logged", every_loggable, 93, {65535, 65535, 65532}},
        {"level, temperature and time", channels({0, 7, 31}), 6, {129, 32768, 0}},
        {"the never-logged channels add nothing", channels({31, 32, 33}), 3, {0, 32768, 3}},
        // word 3 keeps 38/39 above 40/41
        {"flows and averages of word 3", channels({38, 40}), 4, {0, 0, 256 + 64}},
        {"nothing", ChannelSet{}, 0, {0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(logsetup::record_size(c.set, table()), c.bytes);
        EXPECT_EQ(logsetup::mask_words(c.set), c.words);
    }
}

TEST_F(LogChannels, MaskWordsOutsideSixteenBitsReadAsTheUnitsWord) {
    // A header word written signed, or with stray high bits, names the channels of its low 16 bits.
    EXPECT_EQ(logsetup::channels_from_masks(-1, 0, 0),
              channels({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(logsetup::channels_from_masks(65536 + 1, 65536 + 32768, 3 * 65536),
              channels({0, 31}));
}

TEST_F(LogChannels, DurationOfTheLogMemory) {
    const struct {
        double interval, multiplier;
        int bytes;
        bool wrapping;
        double duration, latest;
    } cases[] = {
        {1, 137, 3, false, 137.0 / 3, 137.0 / 3},
        {1, 137, 3, true, 137.0 / 3, 36},
        {1, 137, 0, true, 0, -1}, // no record size: no duration, nothing kept
        {-1, 137, 3, false, -137.0 / 3, -137.0 / 3},
        {10, 182, 8, true, 227.5, 181},
        {1.875, 3, 3, true, 1.875, 1}, // the shortest log that keeps a whole day
        {1.87, 3, 3, true, 1.87, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interval << " min, " << c.bytes << " bytes");
        const double d = logsetup::log_duration_days(c.interval, c.multiplier, c.bytes);
        EXPECT_DOUBLE_EQ(d, c.duration);
        EXPECT_DOUBLE_EQ(logsetup::latest_log_days(d, c.wrapping), c.latest);
    }
}

TEST_F(LogChannels, DurationMultiplierFollowsTheBoardsLogMemory) {
    const struct {
        int16_t version;
        int32_t multiplier;
        double memory;
    } cases[] = {{0, 137, 196608},   {1, 182, 262144},  {192, 182, 262144},
                 {193, 137, 196608}, {-5, 137, 196608}, {32767, 137, 196608}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "board version " << c.version);
        EXPECT_EQ(getDurationMult(c.version), c.multiplier);
        EXPECT_EQ(log_setup().log_memory_bytes, c.memory);
    }
}
