#include "logging/model_capabilities.h"

#include <algorithm>

namespace logsetup {

namespace {

enum Cap : unsigned {
    SP = 1u << 0,  // second point
    SO = 1u << 1,  // second output
    AI = 1u << 2,  // analogue input
    DI = 1u << 3,  // digital inputs
    AL = 1u << 4,  // application levels
    TO = 1u << 5,  // totalisers
    NT = 1u << 6,  // negative totalisers
    VO = 1u << 7,  // volume
    PV = 1u << 8,  // pumped volume
    FO = 1u << 9,  // flow
    FA = 1u << 10, // flow average
};

enum Extra : unsigned {
    MA_OFF = 1u << 0,
    LITE = 1u << 1,
    DUAL = 1u << 2,
    HESVARIN = 1u << 3,
    RADAR = 1u << 4,
    QUORVANTIX = 1u << 5,
    CSO_ANSWERS = 1u << 6, // volume and flow follow the unit's own answers
};

struct ModelRow {
    int16_t index;
    unsigned caps;
    int16_t relays;
    unsigned extra;
};

constexpr ModelRow MODEL_ROWS[] = {
    {0, 0, 6, 0},
    {1, 0, 3, MA_OFF},
    {2, 0, 3, MA_OFF},
    {3, SP | AI | AL | TO | PV, 5, LITE},
    {4, SP | AI | AL | TO | PV, 6, 0},
    {5, TO | FO | FA, 3, MA_OFF},
    {6, AI | TO | FO | FA, 5, LITE},
    {7, VO, 3, MA_OFF},
    {8, SP | AI | VO, 5, LITE},
    {9, SP | AI | DI | AL | TO | PV, 6, 0},
    {10, SO | FO | FA, 5, MA_OFF},
    {11, SP | SO | TO | PV, 5, MA_OFF},
    {12, SO | FO | FA, 5, MA_OFF},
    {13, SP | SO | DI | TO | VO | FO | FA, 6, DUAL},
    {14, 0, 6, MA_OFF | CSO_ANSWERS},
    {15, TO, 6, HESVARIN | MA_OFF},
    {16, SP | AI | DI | AL | TO | PV, 6, 0},
    {17, SO | AI | TO | NT | FO | FA, 5, 0},
    {18, SP | AI | DI | AL | TO | PV, 10, 0},
    {19, TO | FO | FA, 5, 0},
    {20, SP | SO, 6, MA_OFF},
    {21, SP | SO | DI | AL | TO | PV, 10, 0},
    {40, VO, 0, RADAR},
    {43, TO | FO | FA, 2, QUORVANTIX},
};

const ModelRow* find_row(int index) {
    for (const ModelRow& row : MODEL_ROWS)
        if (row.index == index)
            return &row;
    return nullptr;
}

} // namespace

bool is_model_option(int index) {
    return std::find(MODEL_OPTION_INDEXES.begin(), MODEL_OPTION_INDEXES.end(), index) !=
           MODEL_OPTION_INDEXES.end();
}

ModelSelection model_selection(int index, const UnitIdentity& unit) {
    ModelSelection sel;
    const ModelRow* row = find_row(index);
    if (!row)
        return sel;
    ModelCapabilityFlags& f = sel.capabilities;
    f.second_point_option = row->caps & SP;
    f.second_output_option = row->caps & SO;
    f.analogue_input_option = row->caps & AI;
    f.digital_inputs_option = row->caps & DI;
    f.application_levels_option = row->caps & AL;
    f.totalisers_option = row->caps & TO;
    f.negative_totalisers_option = row->caps & NT;
    f.volume_option = row->caps & VO;
    f.pumped_volume_option = row->caps & PV;
    f.flow_option = row->caps & FO;
    f.flow_average_option = row->caps & FA;
    if (row->extra & CSO_ANSWERS) {
        f.volume_option = unit.volume_mode && unit.p61_is_2;
        f.flow_option = unit.flow_mode && unit.p61_is_1;
        f.flow_average_option = f.flow_option;
    }
    sel.relay_count = row->relays;
    sel.ma_off = row->extra & MA_OFF;
    sel.lite_box = row->extra & LITE;
    sel.dual_point_option = row->extra & DUAL;
    sel.hesvarin_model = row->extra & HESVARIN;
    sel.radar_unit = row->extra & RADAR;
    sel.quorvantix_unit = row->extra & QUORVANTIX;
    return sel;
}

ChannelOffer channel_offer(const LogSetupState& s, const UnitIdentity& unit,
                           bool lite_model_selected) {
    ChannelOffer o;
    const ModelCapabilityFlags& f = s.capabilities;
    auto boxes = [&](int first, int last, bool on) {
        for (int i = first; i <= last; ++i)
            o.box_enabled[static_cast<size_t>(i)] = on;
    };
    auto frame = [&](int i, bool on) { o.frame_enabled[static_cast<size_t>(i)] = on; };

    for (int i = 0; i < FRAME_COUNT; ++i)
        if (i != 13)
            o.frame_enabled[static_cast<size_t>(i)] = true;
    for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 12, 14, 15, 16, 17, 18})
        o.frame_visible[static_cast<size_t>(i)] = true;
    for (int i = 0; i < LOG_CHANNEL_COUNT; ++i) {
        const bool in_use = i != 32 && i != 33;
        o.box_enabled[static_cast<size_t>(i)] = in_use;
        o.box_visible[static_cast<size_t>(i)] = in_use;
    }

    if (unit.quorvantix_unit) {
        for (int i : {0, 1, 4, 7})
            boxes(i, i, false);
        for (int i : {2, 3, 5, 6})
            boxes(i, i, true);
    }

    o.second_point_option = f.second_point_option;
    if (unit.lite_unit)
        o.second_point_option = false;
    else if (lite_model_selected && !o.second_point_option)
        o.second_point_option = true;
    boxes(8, 15, o.second_point_option);
    frame(1, o.second_point_option);

    boxes(16, 16, f.analogue_input_option && f.ma_input_available);
    boxes(44, 44, s.unit_type == 43 || s.unit_type == 17);
    frame(10, f.analogue_input_option);
    boxes(18, 18, f.second_output_option);
    boxes(19, 19, s.relay_count > 0);
    boxes(20, 20, f.digital_inputs_option);
    const bool application = !unit.lite_unit && f.application_levels_option;
    boxes(22, 23, application);
    frame(4, application);
    boxes(24, 26, f.totalisers_option);
    frame(5, f.totalisers_option);
    boxes(27, 27, f.volume_option);
    boxes(28, 28, f.pumped_volume_option);
    frame(6, f.pumped_volume_option || f.volume_option);
    boxes(29, 29, f.flow_option);
    boxes(30, 30, f.flow_average_option);
    frame(7, f.flow_average_option || f.flow_option);
    boxes(34, 43, s.dual_point_option);
    for (int i : {12, 14, 15, 16, 17})
        frame(i, s.dual_point_option);
    boxes(45, 47, f.negative_totalisers_option);
    frame(18, f.negative_totalisers_option);

    if (s.hesvarin_model) {
        o.hesvarin_captions = true;
        boxes(0, LOG_CHANNEL_COUNT - 1, false);
        boxes(0, 7, true);
        boxes(19, 21, true);
        boxes(24, 25, true);
        // The time stamp is part of every record, whatever the model.
        boxes(TIME_STAMP_CHANNEL, TIME_STAMP_CHANNEL, true);
        for (int i : {0, 3, 5})
            frame(i, true);
        for (int i : {1, 2, 7, 6, 12, 17})
            frame(i, false);
    }
    return o;
}

} // namespace logsetup
