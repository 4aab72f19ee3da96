#include "logging_test.h"

using logsetup::ChannelOffer;
using logsetup::ChannelSet;
using logsetup::MaskWords;

namespace {

class LogChannels : public LoggingTest {
protected:
    const LogChannelTable& table() { return log_setup().log_channel_table; }
};

ChannelSet channels(std::initializer_list<int> list) {
    ChannelSet set;
    for (int c : list)
        set.set(static_cast<size_t>(c));
    return set;
}

std::set<int> range(int first, int last) {
    std::set<int> s;
    for (int i = first; i <= last; ++i)
        s.insert(i);
    return s;
}

std::set<int> join(std::initializer_list<std::set<int>> parts) {
    std::set<int> s;
    for (const auto& p : parts)
        s.insert(p.begin(), p.end());
    return s;
}

// What the page offers after a user picks model `index` (with `unit` as the log-on left it).
struct Choice {
    int16_t relays;
    ChannelOffer offer;
    std::set<int> boxes; // the enabled ones
};
Choice choose(int index, UnitIdentity unit = {}, bool lite_model_selected = false) {
    LogSetupState s;
    s.unit_type = static_cast<int16_t>(index);
    const auto sel = logsetup::model_selection(index, unit);
    s.capabilities = sel.capabilities;
    s.relay_count = sel.relay_count;
    s.dual_point_option = sel.dual_point_option;
    s.hesvarin_model = sel.hesvarin_model;
    unit.radar_unit = sel.radar_unit;
    unit.quorvantix_unit = sel.quorvantix_unit;
    Choice c{sel.relay_count, logsetup::channel_offer(s, unit, lite_model_selected), {}};
    for (int i = 0; i < LOG_CHANNEL_COUNT; ++i)
        if (c.offer.box_enabled[static_cast<size_t>(i)])
            c.boxes.insert(i);
    return c;
}

const std::set<int> BASIC = join({range(0, 7), {17, 21, 31}});
const std::set<int> POINT2 = range(8, 15);
const std::set<int> TOTALS = range(24, 26);
const std::set<int> FLOW = {29, 30};
const std::set<int> RELAYS = {19};

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

// Typical selections are the log set-up page's tests (ticking boxes, select all).
TEST_F(LogChannels, RecordSizeAndMasksOfTypicalSelections) {
    const struct {
        const char* what;
        ChannelSet set;
        int bytes;
        MaskWords words;
    } cases[] = {
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
        {1, 137, 0, true, 0, -1},      // no record size: no duration, nothing kept
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
    } cases[] = {{0, 137, 196608},
                 {1, 182, 262144},
                 {192, 182, 262144},
                 {193, 137, 196608},
                 {-5, 137, 196608}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "board version " << c.version);
        EXPECT_EQ(getDurationMult(c.version), c.multiplier);
        EXPECT_EQ(log_setup().log_memory_bytes, c.memory);
    }
}

TEST(ModelCapabilities, EveryModelOffersItsChannelsAndRelays) {
    // One model per rule of the offer; the other models only differ in their table row.
    const struct {
        int option;
        std::set<int> boxes;
        int relays;
        bool model = true;
    } cases[] = {
        {0, join({BASIC, RELAYS}), 6},
        {3, join({BASIC, RELAYS, POINT2, {22, 23}, TOTALS, {28}}), 5},
        {8, join({BASIC, RELAYS, POINT2, {27}}), 5},
        {9, join({BASIC, RELAYS, POINT2, {20, 22, 23}, TOTALS, {28}}), 6},
        {13, join({BASIC, RELAYS, POINT2, {18, 20}, TOTALS, {27}, FLOW, range(34, 43)}), 6},
        {15, join({range(0, 7), {19, 20, 21, 24, 25, 31}}), 6},
        {17, join({BASIC, RELAYS, {18}, TOTALS, FLOW, {44}, range(45, 47)}), 5},
        {40, join({BASIC, {27}}), 0},
        {43, join({{2, 3, 5, 6, 17, 21, 31}, RELAYS, TOTALS, FLOW, {44}}), 2},
        // indexes without a model offer only the basics
        {22, join({BASIC, RELAYS}), 6, false},
        {-1, join({BASIC, RELAYS}), 6, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "model option " << c.option);
        EXPECT_EQ(logsetup::is_model_option(c.option), c.model);
        const Choice s = choose(c.option, {}, c.option == 3 || c.option == 8);
        EXPECT_EQ(s.boxes, c.boxes)
            << "the page would offer channels the model cannot log, or hide ones it can";
        EXPECT_EQ(s.relays, c.relays) << "the chart would show the wrong number of relays";
        // The never-logged channels stay hidden, and there is no frame 13 to touch.
        EXPECT_FALSE(s.offer.box_visible[32] || s.offer.box_visible[33] || s.boxes.count(32));
        EXPECT_FALSE(s.offer.frame_enabled[13].has_value() ||
                     s.offer.frame_visible[13].has_value());
    }
}

TEST(ModelCapabilities, CsoModelLogsWhatTheUnitSaysItMeasures) {
    UnitIdentity flow1;
    flow1.flow_mode = true;
    flow1.p61_is_1 = true;
    UnitIdentity volume2;
    volume2.volume_mode = true;
    volume2.p61_is_2 = true;
    UnitIdentity flow_on_point2 = flow1;
    flow_on_point2.p61_is_1 = false;
    flow_on_point2.p61_is_2 = true;
    UnitIdentity volume_on_point1 = volume2;
    volume_on_point1.p61_is_2 = false;
    volume_on_point1.p61_is_1 = true;
    const struct {
        const char* what;
        UnitIdentity unit;
        std::set<int> extra;
    } cases[] = {
        {"flow on point 1", flow1, FLOW},
        {"volume on point 2", volume2, {27}},
        {"flow unit with point 2 set", flow_on_point2, {}},
        {"volume unit with point 1 set", volume_on_point1, {}},
        {"no answers", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(choose(14, c.unit).boxes, join({BASIC, RELAYS, c.extra})) << c.what;
}
