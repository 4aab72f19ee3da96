#include "logging/log_channels.h"

#include <gtest/gtest.h>

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

TEST_F(LogChannels, TableHoldsTheRecordLayoutOfEveryChannel) {
    // clang-format off
    const int width[48] = {2, 2, 1, 1, 1, 1, 1, 1, 2, 2, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                           4, 4, 4, 2, 2, 2, 2, 3, 0, 0, 4, 4, 4, 2, 2, 2, 2, 2, 2, 2, 2, 4, 4, 4};
    const int decimals[48] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0, 0, 0, 0, 0,
                              0, 0, 0, 0, 0, 1, 1, 0, 2, 2, 0, 0, 0, 0, 1, 1, 0, 0, 1, 1, 0, 0, 0, 0};
    // clang-format on
    for (size_t c = 0; c <= size_t{LOG_CHANNEL_UPPER}; ++c) {
        SCOPED_TRACE(testing::Message() << "channel " << c);
        EXPECT_EQ(table().width[c], c < 48 ? width[c] : 0)
            << "records would be cut at the wrong byte";
        EXPECT_EQ(table().decimals[c], c < 48 ? decimals[c] : 0)
            << "the chart would show the value with the wrong decimal point";
    }
}

// Every one of the 48 bits of the three words belongs to exactly one channel, so this is also
// the round trip of every mask bit.
TEST_F(LogChannels, EveryChannelHasItsOwnBitInTheMaskWords) {
    // channel -> word.bit as the unit numbers them; word 3 keeps 38/39 above 40/41
    // clang-format off
    const int places[48][2] = {
        {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9},
        {1, 10}, {1, 11}, {1, 12}, {1, 13}, {1, 14}, {1, 15}, {2, 0}, {2, 1}, {2, 2}, {2, 3},
        {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {2, 9}, {2, 10}, {2, 11}, {2, 12}, {2, 13},
        {2, 14}, {2, 15}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 8}, {3, 9},
        {3, 6}, {3, 7}, {3, 10}, {3, 11}, {3, 12}, {3, 13}, {3, 14}, {3, 15},
    };
    // clang-format on
    for (int c = 0; c < 48; ++c) {
        SCOPED_TRACE(testing::Message() << "channel " << c);
        const int32_t bit = int32_t{1} << places[c][1];
        const MaskWords expected{places[c][0] == 1 ? bit : 0, places[c][0] == 2 ? bit : 0,
                                 places[c][0] == 3 ? bit : 0};
        const MaskWords words = logsetup::mask_words(channels({c}));
        EXPECT_EQ(words, expected) << "the unit would log another channel than the one ticked";
        EXPECT_EQ(logsetup::channels_from_masks(words.word1, words.word2, words.word3),
                  channels({c}))
            << "a loaded log would tick another box than the one it logged";
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
