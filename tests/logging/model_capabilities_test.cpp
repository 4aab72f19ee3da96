#include "logging/model_capabilities.h"

#include <gtest/gtest.h>

#include <set>

using logsetup::ChannelOffer;

namespace {

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

TEST(ModelCapabilities, EveryModelOffersItsChannelsAndRelays) {
    const std::set<int> pump_models = join({BASIC, RELAYS, POINT2, {20, 22, 23}, TOTALS, {28}});
    const struct {
        int option;
        std::set<int> boxes;
        int relays;
        bool model = true;
    } cases[] = {
        {0, join({BASIC, RELAYS}), 6},
        {1, join({BASIC, RELAYS}), 3},
        {2, join({BASIC, RELAYS}), 3},
        {3, join({BASIC, RELAYS, POINT2, {22, 23}, TOTALS, {28}}), 5},
        {4, join({BASIC, RELAYS, POINT2, {22, 23}, TOTALS, {28}}), 6},
        {5, join({BASIC, RELAYS, TOTALS, FLOW}), 3},
        {6, join({BASIC, RELAYS, TOTALS, FLOW}), 5},
        {7, join({BASIC, RELAYS, {27}}), 3},
        {8, join({BASIC, RELAYS, POINT2, {27}}), 5},
        {9, pump_models, 6},
        {10, join({BASIC, RELAYS, {18}, FLOW}), 5},
        {11, join({BASIC, RELAYS, POINT2, {18}, TOTALS, {28}}), 5},
        {12, join({BASIC, RELAYS, {18}, FLOW}), 5},
        {13, join({BASIC, RELAYS, POINT2, {18, 20}, TOTALS, {27}, FLOW, range(34, 43)}), 6},
        {14, join({BASIC, RELAYS}), 6},
        {15, join({range(0, 7), {19, 20, 21, 24, 25, 31}}), 6},
        {16, pump_models, 6},
        {17, join({BASIC, RELAYS, {18}, TOTALS, FLOW, {44}, range(45, 47)}), 5},
        {18, pump_models, 10},
        {19, join({BASIC, RELAYS, TOTALS, FLOW}), 5},
        {20, join({BASIC, RELAYS, POINT2, {18}}), 6},
        {21, join({BASIC, RELAYS, POINT2, {18, 20, 22, 23}, TOTALS, {28}}), 10},
        {40, join({BASIC, {27}}), 0},
        {43, join({{2, 3, 5, 6, 17, 21, 31}, RELAYS, TOTALS, FLOW, {44}}), 2},
        // indexes without a model offer only the basics
        {22, join({BASIC, RELAYS}), 6, false},
        {30, join({BASIC, RELAYS}), 6, false},
        {39, join({BASIC, RELAYS}), 6, false},
        {41, join({BASIC, RELAYS}), 6, false},
        {42, join({BASIC, RELAYS}), 6, false},
        {99, join({BASIC, RELAYS}), 6, false},
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
    EXPECT_EQ(std::size(cases) - 7, logsetup::MODEL_OPTION_INDEXES.size());
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
    const struct {
        const char* what;
        UnitIdentity unit;
        std::set<int> extra;
    } cases[] = {
        {"flow on point 1", flow1, FLOW},
        {"volume on point 2", volume2, {27}},
        {"flow unit with point 2 set", flow_on_point2, {}},
        {"no answers", {}, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(choose(14, c.unit).boxes, join({BASIC, RELAYS, c.extra})) << c.what;
}
