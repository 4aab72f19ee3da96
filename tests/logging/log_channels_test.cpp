#include "logging/log_channels.h"

#include <gtest/gtest.h>

#include <cmath>

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

ChannelSet every_loggable_channel() {
    ChannelSet set;
    set.set();
    set.reset(32);
    set.reset(33);
    return set;
}

} // namespace

TEST_F(LogChannels, TableHoldsTheRecordLayoutOfEveryChannel) {
    // channel, width, decimals
    const int expected[48][3] = {
        {0, 2, 0},  {1, 2, 0},  {2, 1, 0},  {3, 1, 0},  {4, 1, 0},  {5, 1, 0},  {6, 1, 0},
        {7, 1, 0},  {8, 2, 0},  {9, 2, 0},  {10, 1, 0}, {11, 1, 0}, {12, 1, 0}, {13, 1, 0},
        {14, 1, 0}, {15, 1, 0}, {16, 1, 1}, {17, 1, 1}, {18, 1, 1}, {19, 1, 0}, {20, 1, 0},
        {21, 1, 0}, {22, 2, 0}, {23, 2, 0}, {24, 4, 0}, {25, 4, 0}, {26, 4, 0}, {27, 2, 0},
        {28, 2, 0}, {29, 2, 1}, {30, 2, 1}, {31, 3, 0}, {32, 0, 2}, {33, 0, 2}, {34, 4, 0},
        {35, 4, 0}, {36, 4, 0}, {37, 2, 0}, {38, 2, 1}, {39, 2, 1}, {40, 2, 0}, {41, 2, 0},
        {42, 2, 1}, {43, 2, 1}, {44, 2, 0}, {45, 4, 0}, {46, 4, 0}, {47, 4, 0},
    };
    for (const auto& row : expected) {
        SCOPED_TRACE(testing::Message() << "channel " << row[0]);
        EXPECT_EQ(table().width[static_cast<size_t>(row[0])], row[1])
            << "records would be cut at the wrong byte";
        EXPECT_EQ(table().decimals[static_cast<size_t>(row[0])], row[2])
            << "the chart would show the value with the wrong decimal point";
    }
    for (int c = 48; c <= LOG_CHANNEL_UPPER; ++c) {
        EXPECT_EQ(table().width[static_cast<size_t>(c)], 0);
        EXPECT_EQ(table().decimals[static_cast<size_t>(c)], 0);
    }
}

TEST_F(LogChannels, EveryChannelHasItsOwnBitInTheMaskWords) {
    // channel -> word.bit as the unit numbers them; word 3 keeps 38/39 above 40/41
    const int places[48][2] = {
        {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}, {1, 6}, {1, 7}, {1, 8}, {1, 9},
        {1, 10}, {1, 11}, {1, 12}, {1, 13}, {1, 14}, {1, 15}, {2, 0}, {2, 1}, {2, 2}, {2, 3},
        {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {2, 9}, {2, 10}, {2, 11}, {2, 12}, {2, 13},
        {2, 14}, {2, 15}, {3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 8}, {3, 9},
        {3, 6}, {3, 7}, {3, 10}, {3, 11}, {3, 12}, {3, 13}, {3, 14}, {3, 15},
    };
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

TEST_F(LogChannels, EveryMaskBitComesBackAsTheSameBit) {
    for (int word = 1; word <= 3; ++word) {
        for (int bit = 0; bit < 16; ++bit) {
            SCOPED_TRACE(testing::Message() << "word " << word << " bit " << bit);
            const int32_t v = int32_t{1} << bit;
            const ChannelSet set = logsetup::channels_from_masks(word == 1 ? v : 0,
                                                                 word == 2 ? v : 0,
                                                                 word == 3 ? v : 0);
            EXPECT_EQ(set.count(), 1u);
            const MaskWords back = logsetup::mask_words(set);
            EXPECT_EQ(back, (MaskWords{word == 1 ? v : 0, word == 2 ? v : 0, word == 3 ? v : 0}));
        }
    }
}

TEST_F(LogChannels, RecordSizeAndMasksOfTypicalSelections) {
    struct Case {
        const char* what;
        ChannelSet set;
        int bytes;
        MaskWords words;
    };
    const Case cases[] = {
        {"time stamp only", channels({31}), 3, {0, 32768, 0}},
        {"every channel that can be logged", every_loggable_channel(), 93, {65535, 65535, 65532}},
        {"flow 2 alone", channels({40}), 2, {0, 0, 64}},
        {"volume 1&2 average alone", channels({38}), 2, {0, 0, 256}},
        {"level, temperature and time", channels({0, 7, 31}), 6, {129, 32768, 0}},
        {"the never-logged channels add nothing", channels({31, 32, 33}), 3, {0, 32768, 3}},
        {"nothing", ChannelSet{}, 0, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(logsetup::record_size(c.set, table()), c.bytes);
        EXPECT_EQ(logsetup::mask_words(c.set), c.words);
    }
}

TEST_F(LogChannels, MaskWordsOutsideSixteenBitsReadAsTheUnitsWord) {
    // A header word written signed, or with stray high bits, names the channels of its low 16 bits.
    EXPECT_EQ(logsetup::channels_from_masks(-1, 0, 0), channels({0, 1, 2, 3, 4, 5, 6, 7, 8, 9,
                                                                 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(logsetup::channels_from_masks(65536 + 1, 65536 + 32768, 3 * 65536),
              channels({0, 31}));
}

TEST_F(LogChannels, DurationOfTheLogMemory) {
    struct Case {
        double interval, multiplier;
        int bytes;
        bool wrapping;
        double duration, latest;
    };
    const Case cases[] = {
        {1, 137, 3, false, 137.0 / 3, 137.0 / 3},
        {1, 137, 3, true, 137.0 / 3, 36},
        {1, 137, 0, true, 0, -1},       // no record size: no duration, nothing kept
        {-1, 137, 3, false, -137.0 / 3, -137.0 / 3},
        {10, 182, 8, true, 227.5, 181},
        {1.875, 3, 3, true, 1.875, 1}, // the shortest log that keeps a whole day
        {1.87, 3, 3, true, 1.87, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.interval << " min, " << c.bytes << " bytes");
        const double d = logsetup::log_duration_days(c.interval, c.multiplier, c.bytes);
        EXPECT_DOUBLE_EQ(d, c.duration);
        EXPECT_DOUBLE_EQ(logsetup::latest_log_days(d, c.wrapping), c.latest);
    }
}

TEST_F(LogChannels, DurationMultiplierFollowsTheBoardsLogMemory) {
    struct Case {
        int16_t version;
        int32_t multiplier;
        double memory;
    };
    const Case cases[] = {{0, 137, 196608},   {1, 182, 262144},   {192, 182, 262144},
                          {193, 137, 196608}, {-5, 137, 196608},  {32767, 137, 196608}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "board version " << c.version);
        EXPECT_EQ(getDurationMult(c.version), c.multiplier);
        EXPECT_EQ(log_setup().log_memory_bytes, c.memory);
    }
}
