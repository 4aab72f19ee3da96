#include "parameters/edit_validation.h"

#include "link/link_state.h"
#include "parameters/parameter_hooks.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_screen.h"
#include "parameters/parameter_state.h"
#include "parameters/parameter_tooltips.h"
#include "parameters/parameter_values.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/number_box.h"
#include "shell/option_lists.h"

#include <cmath>
#include <utility>

namespace {

DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}

// An undo sets the row back to its stored text; the change that follows re-stores the old
// value without checking it again, so a stored value outside its limits is told once.
bool& undoing() {
    static bool flag = false;
    return flag;
}

void undo_edit(int P) {
    undoing() = true;
    // The row goes back to the value it held, so the rows that go with it keep theirs: a relay
    // whose refused type was put back keeps its function and set points.
    ParameterState& S = parameter_state();
    const bool loading = std::exchange(S.parameter_set_loading, true);
    parameter_rows().set_text(P, stored_box_text(P));
    S.parameter_set_loading = loading;
    undoing() = false;
}

// Sets row P's text without checking it again: the record already holds what it shows.
void show_quietly(int P, const QString& text) {
    ParameterState& S = parameter_state();
    const bool was = S.edit_check_running;
    S.edit_check_running = true;
    parameter_rows().set_text(P, text);
    S.edit_check_running = was;
}

RefusalsWhileOpening*& kept_refusals() {
    static RefusalsWhileOpening* into = nullptr;
    return into;
}

void tell_range(int P, int text_number) {
    if (RefusalsWhileOpening* kept = kept_refusals())
        kept->out_of_range.push_back(P);
    else
        platform::msg_box(range_message(P, text_number), platform::mb::Critical);
}

void tell_refusal(int P, const QString& message) {
    if (RefusalsWhileOpening* kept = kept_refusals())
        kept->other << QStringLiteral("P") + QString::number(P) + QStringLiteral(": ") + message;
    else
        platform::msg_box(message, platform::mb::Critical);
}

bool limits_checked(const DefinitionRecord& rec, double& min, double& max) {
    if (!is_plain_number(rec.min_text) || !is_plain_number(rec.max_text))
        return false;
    min = platform::val(rec.min_text);
    max = platform::val(rec.max_text);
    // The reset marker on both sides means "no limits"; a list without entries gives a range
    // that ends below its start.
    if (min == NO_VALUE && max == NO_VALUE)
        return false;
    return min <= max;
}

// Row P has limits its range check takes: plain numbers, or a choice's list.
bool has_limits(int P) {
    DefinitionRecord& r = record(P);
    set_lookup_param_range(r);
    double min = 0, max = 0;
    return limits_checked(r, min, max);
}

bool range_checks_now() {
    const ParameterState& S = parameter_state();
    return S.parameters_loaded && !S.screen_fill_active && !undoing();
}

double display_scale() {
    const double p104 = record(104).unit_value;
    return p104 == 1 ? 1 : length_unit_factor(1, static_cast<int>(p104));
}

void fix_placeholder_text(int P) {
    const DefinitionRecord& r = record(P);
    if (r.present && carries_marker(P, parameter_rows().text(P), "Text"))
        parameter_rows().set_text(P, value_as_box_text(r.default_value));
}

// Operating mode; false when the change was refused.
bool operating_mode_change(double x) {
    LinkState& L = link();
    const ParameterScreenHooks& H = parameter_screen_hooks();
    if (x == 4 && !L.p61_is_1) {
        tell_refusal(100, ui_text(1372, QStringLiteral("Flow is not available on this unit.")));
        undo_edit(100);
        return false;
    }
    if (x == 5 && !L.p61_is_2) {
        tell_refusal(100, ui_text(1373, QStringLiteral("Volume is not available on this unit.")));
        undo_edit(100);
        return false;
    }
    L.flow_mode = x == 4 && L.p61_is_1;
    L.volume_mode = x == 5 && L.p61_is_2;
    call_hook(H.enable_controls);
    ParameterRows& rows = parameter_rows();
    if (L.flow_mode) {
        apply_param_access_rules();
        for (int P = 700; P <= 709; ++P) {
            refresh_param_tooltip(P);
            rows.set_visible(P, true);
            rows.set_label_visible(P, true);
            fix_placeholder_text(P);
        }
        for (int P = 730; P <= 793; ++P) {
            DefinitionRecord& r = record(P);
            r.min_text = QStringLiteral("-1");
            r.max_text = QStringLiteral("999999");
            r.default_value = P % 2 == 0 ? -0.001 : -1;
            r.lookup_code = QStringLiteral("C_NUM");
            r.units_code = QStringLiteral("U_NO");
            r.present = true;
            r.read_only = false;
            refresh_param_tooltip(P);
        }
        call_hook(H.check_flow_parms);
        call_hook(H.update_flow_vessel_image);
    }
    if (L.volume_mode) {
        apply_param_access_rules();
        for (int P = 600; P <= 607; ++P) {
            refresh_param_tooltip(P);
            rows.set_visible(P, true);
            rows.set_label_visible(P, true);
            fix_placeholder_text(P);
        }
        for (int P = 610; P <= 673; ++P)
            refresh_param_tooltip(P);
        call_hook(H.check_volume_parms);
    }
    refresh_param_tooltip(831);
    if (L.p61_is_1)
        refresh_param_tooltip(101);
    return true;
}

// False when the unit was refused.
bool length_units_change(const QString& t, double x) {
    DefinitionRecord& rec = record(104);
    ParameterState& S = parameter_state();
    rec.min_text = QStringLiteral("1");
    rec.max_text = QStringLiteral("5");
    if (range_checks_now() && (x > 5 || x < 1 || x != std::floor(x))) {
        tell_range(104, 1186);
        undo_edit(104);
        return false;
    }
    const double old = platform::val(rec.value_text);
    rec.unit_value = x;
    rec.value_text = t;
    if (!rec.read_only)
        highlight_param_box(104);
    if (old == x || old == 0 || x == 0)
        return true;
    const double f = length_unit_factor(static_cast<int>(old), static_cast<int>(x));
    if (f == 1)
        return true;
    S.edit_check_running = true;
    ParameterRows& rows = parameter_rows();
    for (int P = 20; P <= 999; ++P) {
        if (P == 104)
            continue;
        DefinitionRecord& r = record(P);
        if (!is_length_record(P))
            continue;
        // A parameter the unit lacks keeps its marker instead of becoming a converted zero.
        if (!r.present || !is_plain_number(r.value_text))
            continue;
        r.unit_value = platform::val(r.value_text) * f;
        const QString shown = platform::format_number(r.unit_value, decimals_pattern(r.decimals));
        r.value_text = platform::locale_text_to_c(shown.trimmed());
        rows.set_text(P, value_as_box_text(platform::val(r.value_text)));
        refresh_param_tooltip(P);
    }
    S.edit_check_running = false;
    return true;
}

void apply_edit_access_rule(int P) {
    const LinkState& L = link();
    DefinitionRecord& r = record(P);
    if (P == 604 || P == 607)
        r.read_only = true;
    else if (P >= 600 && P <= 607)
        r.read_only = !L.volume_mode;
    else if (P >= 610 && P <= 673)
        r.read_only = !(L.volume_mode || L.flow_mode);
    else if ((P >= 700 && P <= 720) || P == 798)
        r.read_only = !L.flow_mode;
}

bool rejected_by_range(int P, double x) {
    DefinitionRecord& r = record(P);
    set_lookup_param_range(r);
    if (!scrpar(P).visible || r.read_only || !r.present)
        return false;
    // A fraction is no code of any list: 2.5 would reach the unit as no choice it has.
    if (takes_codes(P) && x != std::floor(x))
        return true;
    double min = 0, max = 0;
    if (!limits_checked(r, min, max))
        return false;
    if (x == get_param_default_value(display_scale(), P))
        return false;
    return x > max || x < min;
}

int valid_flow_models(double p700) {
    if (p700 == 1)
        return 7;
    if (p700 == 2 || p700 == 3)
        return 4;
    if (p700 == 4)
        return 3;
    if (p700 == 5)
        return 2;
    return 0;
}

// False when the flow element's model was refused.
bool follow_up(int P, double x, double old_701_value, const QString& old_701_text) {
    const ParameterScreenHooks& H = parameter_screen_hooks();
    const LinkState& L = link();
    ParameterRows& rows = parameter_rows();
    if (P == 72 && parameter_state().software_version >= 163)
        refresh_param_tooltip(101);
    update_relay_params(P);
    if (P >= 130 && P <= 140)
        call_hook(H.update_device_setup, P);
    if (P == 99)
        call_hook(H.update_analog_output);
    if (P == 605) {
        refresh_param_tooltip(604);
        refresh_param_tooltip(607);
        for (int i = 611; i <= 673; i += 2)
            refresh_param_tooltip(i);
    }
    if (P >= 610 && P <= 673)
        call_hook(H.update_breakpoints, true);
    if (P >= 730 && P <= 793)
        call_hook(H.update_breakpoints, false);
    if (P == 700) {
        const int m = valid_flow_models(record(700).unit_value);
        DefinitionRecord& r701 = record(701);
        const bool reset = m > 0 && r701.unit_value > m;
        if (reset) {
            r701.unit_value = r701.default_value;
            r701.value_text = platform::number_text_c(r701.default_value);
            rows.set_text(701, value_as_box_text(r701.default_value));
        }
        refresh_param_tooltip(701);
        // The hover text takes its range from the list; the element's own count is the limit.
        if (reset) {
            r701.min_text = QStringLiteral("0");
            r701.max_text = QString::number(m);
        }
        call_hook(H.check_flow_parms);
        call_hook(H.update_breakpoints, false);
    }
    bool taken = true;
    if (P == 701) {
        DefinitionRecord& r701 = record(701);
        if (record(700).unit_value > 0 &&
            (x < platform::val(r701.min_text) || x > platform::val(r701.max_text))) {
            tell_range(701, 1371);
            r701.unit_value = old_701_value;
            r701.value_text = old_701_text;
            undo_edit(701);
            taken = false;
        }
        call_hook(H.check_flow_parms);
    }
    if (P == 702 || P == 706 || P == 707)
        call_hook(H.check_flow_parms);
    if (P == 600 && L.volume_mode)
        call_hook(H.check_volume_parms);
    if ((P == 700 || P == 701) && L.flow_mode) {
        // "Universal" is the element whose flow is read from the breakpoint table and chart.
        const bool universal = record(700).unit_value == 5;
        rows.set_switch(QStringLiteral("SSTab3(0)"), universal);
        rows.set_switch(QStringLiteral("TChart3(2)"), universal);
        // The picture and its name follow the element the user chose.
        call_hook(H.update_flow_vessel_image);
    }
    return taken;
}

// What the user typed is the set's value now, also in a row the set held none for; a breakpoint
// typed into its flow view (P730..P793) is the set's at P610..P673, where the unit keeps it.
void typed_into_set(int P) {
    auto& lacked = parameter_state().lacked_by_set;
    if (P >= 20 && P <= 999)
        lacked[static_cast<size_t>(P)] = false;
    if (P >= 730 && P <= 793)
        lacked[static_cast<size_t>(P - 120)] = false;
}

} // namespace

void keep_refusals(RefusalsWhileOpening* into) {
    kept_refusals() = into;
}

QString range_message(int P, int text_number) {
    const DefinitionRecord& r = record(P);
    QString m =
        QStringLiteral("  ") +
        ui_text(text_number, text_number == 1186 ? QStringLiteral("Invalid measurement unit for")
                                                 : QStringLiteral("Value out of range for")) +
        QStringLiteral(" P") + QString::number(P) + QStringLiteral(" - Min = ") + r.min_text +
        QStringLiteral(", Max = ") + r.max_text;
    if (r.lookup_code.contains(QLatin1String("LUK")))
        m += QChar(13) + scrpar(P).tooltip;
    return m;
}

bool run_edit_check(int Index) {
    ParameterState& S = parameter_state();
    if (const auto& hide = parameter_screen_hooks().hide_parameter_grid; hide && hide())
        S.parameter_list_mode = 0;
    if (S.edit_check_running)
        return true;
    const QString typed = scrpar(Index).text.trimmed();
    if (typed.isEmpty())
        return true;
    const QString t = Index == 96 ? fieldbus_code_text(platform::locale_text_to_c(typed))
                                  : platform::locale_text_to_c(typed);
    const double x = platform::val(t);

    if (Index == 104)
        return length_units_change(t, x);
    if (Index == 100 && !operating_mode_change(x))
        return false;

    double old_701_value = 0;
    QString old_701_text;
    if (Index >= 20 && Index <= 999) {
        apply_edit_access_rule(Index);
        if (range_checks_now() && rejected_by_range(Index, x)) {
            tell_range(Index, 1371);
            undo_edit(Index);
            return false;
        }
        DefinitionRecord& r = record(Index);
        old_701_value = record(701).unit_value;
        old_701_text = record(701).value_text;
        // A locked row shows a display text (a brand name, a padded date), never a value to keep.
        if (!r.read_only) {
            r.unit_value = x;
            if (Index != 926)
                r.value_text = t;
            highlight_param_box(Index);
        }
    }
    return follow_up(Index, x, old_701_value, old_701_text);
}

bool run_typed_edit_check(int Index) {
    const QString typed = scrpar(Index).text.trimmed();
    // An emptied box stores nothing and shows the stored value again: left empty, a save or an
    // upload would read it as some value the user never gave.
    if (typed.isEmpty()) {
        show_quietly(Index, parameter_rows().text_before_typing(Index));
        return true;
    }
    // The fieldbus protocol is also taken by its name.
    if (Index == 96 && fieldbus_code_text(typed) != typed) {
        if (!run_edit_check(Index))
            return false;
        typed_into_set(Index);
        return true;
    }
    // A clock time reaches the unit as four whole digits: a fraction would be sent rounded.
    const auto x = typed_parameter_value(Index, typed);
    if (!x) {
        // Nothing was stored: the record still holds what the box showed before. A number too
        // large to be kept lies beyond the row's own limits, and is told as 100000 in P107 is.
        if (platform::typed_number_out_of_reach(typed) == platform::OutOfReach::TooLarge &&
            has_limits(Index))
            tell_range(Index, Index == 104 ? 1186 : 1371);
        else
            platform::msg_box(QStringLiteral("P") + QString::number(Index) + QStringLiteral(": ") +
                                  typed_number_refusal(typed),
                              platform::mb::Critical);
        show_quietly(Index, parameter_rows().text_before_typing(Index));
        return false;
    }
    // The check reads the box as the program shows numbers, so the typed notation (grouping, the
    // locale's own digits and minus sign) gives way to that form of the very number typed.
    show_quietly(Index, box_text(Index, *x));
    if (!run_edit_check(Index))
        return false; // refused on its limits or a rule: the box shows the stored value again
    typed_into_set(Index);
    const QString t = platform::locale_text_to_c(scrpar(Index).text.trimmed());
    if (Index >= 20 && Index <= 999 && is_plain_number(t) && record(Index).value_text == t)
        show_quietly(Index, stored_box_text(Index));
    return true;
}
