#include "logging/model_capabilities.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using logsetup::channel_offer;
using logsetup::model_selection;

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

std::string text(const std::set<int>& s) {
    std::string out;
    for (int i : s)
        out += std::to_string(i) + " ";
    return out;
}

struct Choice {
    LogSetupState s;
    UnitIdentity unit;
};

// The state after a user picks model `index` (with `unit` as the log-on left it).
Choice choose(int index, UnitIdentity unit = {}) {
    LogSetupState s;
    s.unit_type = static_cast<int16_t>(index);
    const auto sel = model_selection(index, unit);
    s.capabilities = sel.capabilities;
    s.relay_count = sel.relay_count;
    s.dual_point_option = sel.dual_point_option;
    s.hesvarin_model = sel.hesvarin_model;
    unit.radar_unit = sel.radar_unit;
    unit.quorvantix_unit = sel.quorvantix_unit;
    return {s, unit};
}

std::set<int> offered(const Choice& c, bool lite_model_selected = false) {
    const auto o = channel_offer(c.s, c.unit, lite_model_selected);
    std::set<int> boxes;
    for (int i = 0; i < LOG_CHANNEL_COUNT; ++i)
        if (o.box_enabled[static_cast<size_t>(i)])
            boxes.insert(i);
    return boxes;
}

const std::set<int> BASIC = join({range(0, 7), {17, 21, 31}});
const std::set<int> POINT2 = range(8, 15);
const std::set<int> TOTALS = range(24, 26);
const std::set<int> FLOW = {29, 30};
const std::set<int> RELAYS = {19};

} // namespace

TEST(ModelCapabilities, EveryModelOffersItsChannelsAndRelays) {
    struct Case {
        int option;
        std::set<int> boxes;
        int relays;
    };
    const std::set<int> pump_models = join({BASIC, RELAYS, POINT2, {20, 22, 23}, TOTALS, {28}});
    const Case cases[] = {
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
    };
    ASSERT_EQ(std::size(cases), logsetup::MODEL_OPTION_INDEXES.size());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "model option " << c.option);
        EXPECT_TRUE(logsetup::is_model_option(c.option));
        const Choice s = choose(c.option);
        EXPECT_EQ(text(offered(s, c.option == 3 || c.option == 8)), text(c.boxes))
            << "the page would offer channels the model cannot log, or hide ones it can";
        EXPECT_EQ(s.s.relay_count, c.relays) << "the chart would show the wrong number of relays";
    }
}

TEST(ModelCapabilities, IndexWithoutAModelOffersOnlyTheBasics) {
    for (int index : {22, 30, 39, 41, 42, 99, -1}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(logsetup::is_model_option(index));
        const Choice s = choose(index);
        EXPECT_EQ(s.s.relay_count, 6);
        EXPECT_EQ(text(offered(s)), text(join({BASIC, RELAYS})));
    }
}

TEST(ModelCapabilities, CsoModelLogsWhatTheUnitSaysItMeasures) {
    struct Case {
        const char* what;
        UnitIdentity unit;
        std::set<int> extra;
    };
    UnitIdentity flow1;
    flow1.flow_mode = true;
    flow1.p61_is_1 = true;
    UnitIdentity volume2;
    volume2.volume_mode = true;
    volume2.p61_is_2 = true;
    UnitIdentity flow_on_point2 = flow1;
    flow_on_point2.p61_is_1 = false;
    flow_on_point2.p61_is_2 = true;
    const Case cases[] = {
        {"flow on point 1", flow1, FLOW},
        {"volume on point 2", volume2, {27}},
        {"flow unit with point 2 set", flow_on_point2, {}},
        {"no answers", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(text(offered(choose(14, c.unit))), text(join({BASIC, RELAYS, c.extra})));
    }
}

TEST(ModelCapabilities, NeverLoggedChannelsStayHiddenAndFrameThirteenIsLeftAlone) {
    for (int option : logsetup::MODEL_OPTION_INDEXES) {
        const Choice c = choose(option);
        const auto o = channel_offer(c.s, c.unit, false);
        EXPECT_FALSE(o.box_visible[32]);
        EXPECT_FALSE(o.box_visible[33]);
        EXPECT_FALSE(o.box_enabled[32]);
        EXPECT_FALSE(o.frame_enabled[13].has_value());
        EXPECT_FALSE(o.frame_visible[13].has_value());
    }
}
