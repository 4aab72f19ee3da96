#include "parameters/parameter_screen.h"

#include "link/link_state.h"
#include "parameters/definition_files.h"
#include "parameters/edit_validation.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_lists.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "platform/vb.h"
#include "shell/option_lists.h"

#include <QScopeGuard>

namespace {

DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}
double value_of(int p) {
    return record(p).unit_value;
}
bool present(int p) {
    return record(p).present;
}

QString brand_name(double value) {
    static const std::pair<int, const char*> brands[] = {{34, "Dravik"},    {35, "Tamzo"},
                                                         {36, "QVX"},       {37, "Mendra"},
                                                         {38, "DravikInc"}, {39, "P.Vastrelo"}};
    for (const auto& [code, name] : brands)
        if (value == code)
            return QLatin1String(name);
    return ui_text(1181, QStringLiteral("Standard"));
}

} // namespace

QString read_only_display_text(int P) {
    const DefinitionRecord& r = record(P);
    switch (P) {
    case 90:
        return brand_name(r.unit_value);
    case 931:
    case 581:
    case 584:
        return platform::format_number(r.unit_value, QStringLiteral("000000"));
    case 932:
    case 582:
    case 585:
        return platform::format_number(r.unit_value, QStringLiteral("0000"));
    case 926:
    case 927:
    case 928:
        return r.value_text.trimmed();
    default:
        return value_as_box_text(r.unit_value);
    }
}

void highlight_param_box(int P) {
    const double p104 = value_of(104);
    const double scale = p104 == 1 ? 1 : length_unit_factor(1, static_cast<int>(p104));
    const double d = get_param_default_value(scale, P);
    const double v = platform::val(record(P).value_text);
    ParameterRows& rows = parameter_rows();
    const bool changed = v != d;
    rows.set_back_colour(P, changed ? row_colour::RED : row_colour::WHITE);
    rows.set_fore_colour(P, changed ? row_colour::WHITE : row_colour::BLACK);
    rows.set_bold(P, changed);
}

void refresh_param_box(int P) {
    if (P < 20 || P > 999 || record(P).read_only)
        return;
    ParameterRows& rows = parameter_rows();
    rows.set_tooltip(P, get_param_tooltip(P));
    rows.set_text(P, value_as_box_text(value_of(P)));
    rows.set_locked(P, false);
    rows.set_back_colour(P, row_colour::WHITE);
    rows.set_fore_colour(P, row_colour::BLACK);
    rows.set_visible(P, true);
    // A row brought back shows its caption with it.
    rows.set_label_visible(P, true);
    rows.set_bold(P, false);
    highlight_param_box(P);
}

void apply_param_access_rules() {
    const LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    for (int P = 700; P <= 713; ++P) {
        record(P).read_only = !L.flow_mode;
        record(P).present = L.flow_mode;
    }
    // The flow rows the edit check opens and locks with the flow mode follow it here too, so
    // that switching to flow opens every one of them.
    for (int P = 714; P <= 720; ++P)
        record(P).read_only = !L.flow_mode;
    for (int P = 721; P <= 725; ++P)
        record(P).read_only = true;
    record(798).read_only = !L.flow_mode;
    const bool universal_flow = value_of(700) == 5;
    rows.set_switch(QStringLiteral("SSTab3(0)"), universal_flow);
    rows.set_switch(QStringLiteral("TChart3(2)"), universal_flow);
    for (int P = 600; P <= 607; ++P)
        record(P).read_only = P == 604 || P == 607 || !L.volume_mode;
    for (int P = 610; P <= 673; ++P) {
        record(P).read_only = !(L.volume_mode || L.flow_mode);
        record(P).present = L.volume_mode || L.flow_mode;
    }
    for (int P = 700; P <= 720; ++P)
        refresh_param_box(P);
    refresh_param_box(798);
    for (int P = 600; P <= 607; ++P)
        refresh_param_box(P);
    for (int P = 610; P <= 673; ++P)
        refresh_param_box(P);
    const bool universal_vessel = value_of(600) == 11 || value_of(600) == 12;
    rows.set_switch(QStringLiteral("SSTab2(0)"), universal_vessel);
    rows.set_switch(QStringLiteral("TChart3(0)"), universal_vessel);
}

void update_param_enables() {
    const LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    rows.set_switch(QStringLiteral("Frame1(13)"), L.modbus_mode || L.profibus_mode);
    rows.set_switch(QStringLiteral("Frame9"),
                    present(160) || present(161) || present(162) || present(163));
    if (value_of(99) == 4)
        record(71).present = value_of(160) == 0;
}

void refresh_parameter_texts() {
    const ParameterState& S = parameter_state();
    const LinkState& L = link();
    const ParameterScreenHooks& H = parameter_screen_hooks();
    ParameterRows& rows = parameter_rows();
    // The flow wording of the breakpoints, as a loaded set gives it.
    if (S.parameters_loaded && L.flow_mode)
        for (int i = 0; i < 64; ++i)
            record(610 + i).text = record(730 + i).text;
    rows.suspend_updates();
    const auto resume = qScopeGuard([&] { rows.resume_updates(); });
    for (int P : rows.numbers()) {
        rows.set_caption(P, record(P).text);
        if (S.parameters_loaded && !rows.row(P).tooltip.isEmpty())
            rows.set_tooltip(P, get_param_tooltip(P));
    }
    if (!S.parameters_loaded)
        return;
    if (L.volume_mode)
        call_hook(H.update_volume_vessel_image);
    if (L.flow_mode)
        call_hook(H.update_flow_vessel_image);
    if (S.parameter_list_mode == 3)
        list_all_parameters(false);
    else if (S.parameter_list_mode == 1)
        list_changed_parameters(false, false);
}

void show_parameters_on_form() {
    ParameterState& S = parameter_state();
    ParameterRows& rows = parameter_rows();
    S.screen_fill_active = true;
    const auto done = qScopeGuard([&] { S.screen_fill_active = false; });
    for (int P : rows.numbers()) {
        const DefinitionRecord& r = record(P);
        rows.set_label_visible(P, r.present || P == 705);
        rows.set_caption(P, r.text);
        if (!r.present) {
            // A parameter the set lacks has no value to show: its box must not keep the set
            // before's, wherever else the box is shown.
            rows.set_text(P, QString());
            rows.set_visible(P, false);
            continue;
        }
        if (r.read_only) {
            rows.set_text(P, read_only_display_text(P));
            rows.set_visible(P, true);
            rows.set_locked(P, true);
            rows.set_back_colour(P, row_colour::LOCKED);
            rows.set_fore_colour(P, row_colour::BLACK);
            rows.set_bold(P, false);
            rows.set_tooltip(P, QString());
            continue;
        }
        // A parameter without a value (a command the unit only takes) shows an empty box, never
        // the no-value marker; a clock time shows the four digits the unit is sent.
        rows.set_text(P, r.unit_value == NO_VALUE ? QString() : box_text(P, r.unit_value));
        rows.set_locked(P, false);
        rows.set_back_colour(P, row_colour::WHITE);
        rows.set_visible(P, true);
        rows.set_tooltip(P, get_param_tooltip(P));
        highlight_param_box(P);
    }
}

void ensure_parameter_rows() {
    ParameterRows& rows = parameter_rows();
    if (!rows.numbers().empty())
        return;
    std::vector<int> defined;
    for (int P = 20; P <= 999; ++P)
        if (!record(P).lookup_code.isEmpty())
            defined.push_back(P);
    rows.create_rows(defined);
}

void update_parameter_screen(bool refresh_flag) {
    ParameterState& S = parameter_state();
    LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    const ParameterScreenHooks& H = parameter_screen_hooks();
    ensure_parameter_rows();
    rows.suspend_updates();
    const auto resume = qScopeGuard([&] { rows.resume_updates(); });

    S.parameters_loaded = true;
    S.system_type = static_cast<int>(platform::round_half_even(value_of(99)));
    if (L.fieldbus_available || S.system_type == 3) {
        S.fieldbus_protocol_value = static_cast<int>(platform::round_half_even(value_of(96)));
        rows.set_text(96, fieldbus_name(value_of(96)));
    }
    L.flow_mode = L.p61_is_1 && value_of(100) == 4;
    L.volume_mode = L.p61_is_2 && value_of(100) == 5;
    S.software_version = version_to_number(record(926).value_text);
    L.connect_model_flag = false;
    L.modbus_mode = S.fieldbus_protocol_value == 1;
    L.profibus_mode = S.fieldbus_protocol_value == 2;

    read_version_def(S.software_version, S.system_type, L.p61_is_1);
    for (int P = 20; P <= 999; ++P) {
        DefinitionRecord& r = record(P);
        const bool lacked = r.unit_value == NO_VALUE || carries_marker(P, r.value_text, "NO");
        S.lacked_by_set[static_cast<size_t>(P)] = lacked;
        if (lacked && P >= 40) {
            r.present = false;
            r.unit_value = r.default_value;
            r.value_text = QStringLiteral("NO");
        }
    }
    update_param_enables();
    call_hook(H.set_param_screen_captions);
    apply_param_access_rules();
    for (int P = 130; P <= 140; ++P)
        call_hook(H.update_device_setup, P);
    if (S.system_type != 4) {
        for (int P = 210; P <= 214; ++P)
            update_relay_params(P);
        for (int P = 220; P <= 224; ++P)
            update_relay_params(P);
    }
    show_parameters_on_form();

    L.volume_mode = value_of(100) == 5;
    L.flow_mode = value_of(100) == 4;

    for (int i = 0; i < 64; ++i) {
        DefinitionRecord& from = record(610 + i);
        DefinitionRecord& to = record(730 + i);
        to.unit_value = from.unit_value;
        to.value_text = from.value_text;
        to.read_only = from.read_only;
        to.present = from.present;
        to.min_text = from.max_text;
        to.max_text = from.min_text;
        rows.set_text(730 + i, value_as_box_text(to.unit_value));
        rows.set_tag(730 + i, NOT_IN_TAG);
        if (L.flow_mode)
            from.text = to.text;
    }
    if (L.volume_mode)
        call_hook(H.update_volume_vessel_image);
    if (L.flow_mode)
        call_hook(H.update_flow_vessel_image);

    const bool f16 = present(830), f17 = present(831), f18 = present(834) || present(835),
               f19 = present(836) || present(837), f20 = present(838) || present(839),
               f3 = present(840);
    rows.set_switch(QStringLiteral("Frame16"), f16);
    rows.set_switch(QStringLiteral("Frame17"), f17);
    rows.set_switch(QStringLiteral("Frame18"), f18);
    rows.set_switch(QStringLiteral("Frame19"), f19);
    rows.set_switch(QStringLiteral("Frame20"), f20);
    rows.set_switch(QStringLiteral("Frame3"), f3);
    rows.set_switch(QStringLiteral("SSTab1(2):4"), f16 || f18 || f19 || f20 || f3);

    S.parameters_loaded = true;
    rows.set_text(99, value_as_box_text(value_of(99)));
    run_edit_check(600);
    run_edit_check(391);
    run_edit_check(700);
    if (L.flow_mode)
        call_hook(H.check_flow_parms);
    call_hook(H.list_changed_parameters, refresh_flag, false);
    S.parameter_list_mode = 1;
    call_hook(H.select_parameter_tab, 0);
}
