#include "parameters/parameter_tooltips.h"

#include "link/link_state.h"
#include "parameters/parameter_record.h"
#include "parameters/parameter_rows.h"
#include "parameters/parameter_state.h"
#include "platform/vb.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

#include <QStringList>

namespace {

constexpr int ITALIAN = 3;
constexpr int SPANISH = 4;
constexpr int MAX_LIST_ENTRIES = 31;
const QChar DEGREE(0x00B0);

DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}
double value_of(int p) {
    return p < 0 || p > DEFINITIONS_UPPER ? NO_VALUE : record(p).unit_value;
}

QString length_word(double p104) {
    static const char* const words[] = {"m", "cm", "mm", "ft", "in"};
    const int code = static_cast<int>(p104);
    if (code != p104 || code < 1 || code > 5)
        return {};
    return QLatin1String(words[code - 1]);
}

QString unit_word(const DefinitionRecord& rec) {
    const QString length = length_word(value_of(104));
    const int language = shell().language_index;
    const QString& u = rec.units_code;
    auto by_language = [&](const char* it, const char* es, const char* other) {
        return QString::fromUtf8(language == ITALIAN ? it : language == SPANISH ? es : other);
    };
    static const std::pair<const char*, const char*> fixed[] = {
        {"U_VOLT", "V"},  {"U_NO", ""},       {"U_PC", "%"},    {"U_SE", "sec"}, {"U_MS", "ms"},
        {"U_MN", "min"},  {"U_HR", "hours"},  {"U_MES", "m/s"}, {"U_M3", "m3"},  {"U_MA", "mA"},
        {"U_GA", "gals"}, {"U_LI", "litres"}, {"U_DB", "dB"},   {"U_VEL", "m/s"}};
    for (const auto& [code, word] : fixed)
        if (u == QLatin1String(code))
            return QString::fromUtf8(word);
    if (u == QLatin1String("U_TP"))
        return QString(DEGREE) + QLatin1Char('C');
    if (u == QLatin1String("U_CY"))
        return by_language("cicli", "ciclos", "cycles");
    if (u == QLatin1String("U_TIME"))
        return language == ITALIAN ? QStringLiteral("OOMM") : QStringLiteral("HHMM");
    if (u == QLatin1String("U_VU"))
        return get_totaliser_units_text();
    if (u == QLatin1String("U_FLO"))
        return get_flow_units_text();
    if (u == QLatin1String("U_MU_M"))
        return length + QStringLiteral("/min");
    if (u == QLatin1String("U_IN"))
        return by_language("Pollici", "Pulgadas", "in");
    if (u == QLatin1String("U_FT"))
        return by_language("Piedi", "Pie", "ft");
    if (u == QLatin1String("U_DEG"))
        return QString(DEGREE);
    return length;
}

// The number a box shows, as the edit check reads it.
double box_number(int P) {
    return platform::val(platform::locale_text_to_c(parameter_rows().text(P).trimmed()));
}

} // namespace

QString tooltip_option_list(const DefinitionRecord& rec) {
    const OptionLists& o = shell().option_lists;
    const LinkState& L = link();
    const int P = rec.number;
    if (P == 701) {
        parameter_state().pmd_type_copy = value_of(700);
        const double t = value_of(700);
        if (t == 0 || t == 1)
            return o.flow_element[0];
        if (t == 2 || t == 3 || t == 4 || t == 5)
            return o.flow_element[static_cast<size_t>(t) - 1];
        return {};
    }
    if (rec.units_code == QLatin1String("U_RF")) {
        const double f = value_of(P - 1);
        return f == 0   ? o.off
               : f == 1 ? option_list(QStringLiteral("C_LUK20"))
               : f == 2 ? o.off_general
                        : QString();
    }
    if (rec.units_code == QLatin1String("U_ID")) {
        const double t = value_of(P - 2);
        return t == 2   ? option_list(QStringLiteral("C_LUK1"))
               : t == 1 ? o.relay_identity
               : t == 0 ? o.off
                        : QString();
    }
    const QString& code = rec.lookup_code;
    if (code == QLatin1String("C_LUK8")) {
        const double s = value_of(99);
        return s == 1 || s == 4 ? o.luk8_voltage : s == 2 || s == 3 ? o.luk8_current : QString();
    }
    if (code == QLatin1String("C_LUK12"))
        return L.p61_is_1 ? o.luk12_flow : L.p61_is_2 ? o.luk12_volume : o.luk12_short;
    if (code == QLatin1String("C_LUK35"))
        return L.p61_is_1 ? o.luk35_flow : L.p61_is_2 ? o.luk35_volume : o.luk35_short;
    if (code == QLatin1String("C_LUK14")) {
        const double n = box_number(100);
        const bool m = value_of(72) == 1 && parameter_state().software_version >= 163;
        if (n == 4 && m)
            return o.luk14_other_first_not_available;
        if (n == 4)
            return o.luk14_not_available;
        return m ? o.luk14_other_first : o.luk14_standard;
    }
    if (code == QLatin1String("C_LUK19")) {
        if (box_number(99) == NO_VALUE)
            parameter_rows().set_text(99, QStringLiteral("2"));
        parameter_state().system_type = static_cast<int>(platform::round_half_even(box_number(99)));
        const int s = parameter_state().system_type;
        return s == 1 || s == 2 ? o.luk19_control : o.luk19_alarm;
    }
    return option_list(code);
}

QString get_param_tooltip(DefinitionRecord& rec) {
    if (!parameter_state().parameters_loaded)
        return {};
    const int P = rec.number;
    const QString range_word = ui_text(1187, QStringLiteral("Range"));
    const QString default_word = ui_text(1188, QStringLiteral("Default"));
    if (!rec.lookup_code.contains(QLatin1String("LUK"))) {
        if (P >= 836 && P <= 839)
            set_analog_param_limits(rec);
        const double p104 = value_of(104);
        const double scale = p104 == 1 ? 1 : length_unit_factor(1, static_cast<int>(p104));
        const double def = get_param_default_value(scale, P);
        return QStringLiteral("  ") + rec.text + QStringLiteral(" - ") + range_word +
               QLatin1Char('=') + rec.min_text.trimmed() + QStringLiteral("...") +
               rec.max_text.trimmed() + QStringLiteral("      ") + default_word + QLatin1Char('=') +
               platform::number_text(def).trimmed() + QLatin1Char(' ') + unit_word(rec) +
               QStringLiteral("  ");
    }
    const QString list = tooltip_option_list(rec);
    const LinkState& L = link();
    const int count =
        get_lookup_entry_count(rec, {L.p61_is_1, L.p61_is_2, parameter_state().software_version,
                                     parameter_rows().text(100)});
    QStringList entries = list.split(QLatin1Char(','));
    if (entries.size() > MAX_LIST_ENTRIES)
        entries = entries.mid(0, MAX_LIST_ENTRIES);
    const qsizetype eq = list.indexOf(QLatin1Char('='));
    const double min = platform::val(eq >= 0 ? list.left(eq + 1) : list);
    const qsizetype n = entries.size();
    const double k = n >= 2 ? static_cast<double>(n - 2) : 0;
    rec.min_text = platform::number_text_c(min);
    rec.max_text = platform::number_text_c(min + k);
    QStringList shown;
    for (int i = 0; i < count; ++i)
        shown << (i < n ? entries[i] : QString());
    return QStringLiteral("  ") + rec.text + QStringLiteral(" - ") +
           ui_text(1189, QStringLiteral("Options")) + QStringLiteral(": ") +
           shown.join(QLatin1Char(',')) + QStringLiteral("    ") + default_word + QLatin1Char('=') +
           platform::number_text(rec.default_value).trimmed() + QStringLiteral("  ");
}

QString get_param_tooltip(int P) {
    if (P < 0 || P > DEFINITIONS_UPPER)
        return {};
    return get_param_tooltip(record(P));
}

void refresh_param_tooltip(int P) {
    parameter_rows().set_tooltip(P, get_param_tooltip(P));
}

void set_lookup_param_range(DefinitionRecord& rec) {
    const int P = rec.number;
    if (P < 20 || P > 999 || !rec.lookup_code.contains(QLatin1String("LUK")))
        return;
    const QString& t = parameter_rows().row(P).tooltip;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq < 1)
        return; // no hover text yet: the limits stay as they are
    const double min = platform::val(QString(t[eq - 1]));
    const double c = static_cast<double>(t.count(QLatin1Char('=')));
    rec.min_text = platform::number_text_c(min);
    rec.max_text = platform::number_text_c(min + c - 2);
}

void update_relay_params(int P) {
    if (P < 210 || P > 224)
        return;
    const int b = (P - 210) / 10 * 10;
    if (P < b + 210 || P > b + 214)
        return;
    const double t = value_of(b + 210);
    const double f = value_of(b + 211);
    ParameterRows& rows = parameter_rows();
    auto reset_to_default = [&](int first) {
        std::vector<int> targets;
        for (int i = first; i <= b + 214; ++i)
            targets.push_back(i);
        targets.push_back(b + 218);
        for (int i : targets) {
            // A parameter the set lacks takes no default: it stays without a value and hidden.
            if (parameter_state().lacked_by_set[static_cast<size_t>(i)])
                continue;
            DefinitionRecord& r = record(i);
            r.unit_value = r.default_value;
            r.value_text = platform::number_text_c(r.default_value).trimmed();
            rows.set_text(i, platform::number_text(r.default_value).trimmed());
        }
    };
    if (!parameter_state().parameter_set_loading) {
        if (P == b + 210)
            reset_to_default(b + 211);
        else if (P == b + 211)
            reset_to_default(b + 212);
    }
    // The rows of the block come back, except a parameter the unit said it does not have.
    for (int i : {b + 210, b + 211, b + 212, b + 213, b + 214, b + 218})
        record(i).present = record(i).value_text != QLatin1String("NO");

    auto hide = [&](std::initializer_list<int> offsets) {
        for (int o : offsets)
            record(b + 210 + o).present = false;
    };
    auto limit_set_points = [&](double min, double max, const char* units) {
        set_param_limits(b + 213, min, max, QLatin1String(units));
        set_param_limits(b + 214, min, max, QLatin1String(units));
    };
    if (t == 0) {
        hide({1, 2, 3, 4, 5, 6, 7, 8});
    } else if (t == 1) {
        if (f == 0)
            hide({2, 3, 4, 8});
        else if (f == 1)
            limit_set_points(-999.9, 9999, "U_MU");
        else if (f == 2)
            limit_set_points(-40, 99, "U_TP");
        else if (f == 3 || f == 4)
            hide({2, 3, 4});
    } else if (t == 2) {
        if (f == 0)
            hide({2, 3, 4, 8});
        else if (f == 1)
            limit_set_points(-999.9, 9999, "U_MU");
    }

    for (int i = b + 210; i <= b + 214; ++i) {
        DefinitionRecord& r = record(i);
        if (r.present && !r.read_only)
            rows.set_tooltip(i, get_param_tooltip(r));
        rows.set_visible(i, r.present);
        rows.set_label_visible(i, r.present);
        if (r.read_only) {
            rows.set_back_colour(i, row_colour::LOCKED);
            rows.set_locked(i, true);
        }
    }
    DefinitionRecord& fail_safe = record(b + 218);
    if (fail_safe.present)
        rows.set_tooltip(b + 218, get_param_tooltip(fail_safe));
    rows.set_visible(b + 218, fail_safe.present);
    rows.set_label_visible(b + 218, fail_safe.present);
}

QString row_hint(const QString& tooltip, const QString& box_text) {
    const QString options = ui_text(1189, QStringLiteral("Options")) + QStringLiteral(": ");
    const qsizetype start = tooltip.indexOf(options);
    if (start >= 0) {
        const qsizetype from = start + options.size();
        const qsizetype end = tooltip.indexOf(QStringLiteral("    "), from);
        const QString list = tooltip.mid(from, end < 0 ? -1 : end - from);
        const QString chosen = box_text.trimmed();
        if (chosen.isEmpty())
            return {};
        for (const QString& entry : list.split(QLatin1Char(','))) {
            const qsizetype eq = entry.indexOf(QLatin1Char('='));
            if (eq > 0 && entry.left(eq).trimmed() == chosen)
                return entry.mid(eq + 1).trimmed();
        }
        return {};
    }
    const qsizetype eq = tooltip.lastIndexOf(QLatin1Char('='));
    if (eq < 0)
        return {};
    const QString rest = tooltip.mid(eq + 1).trimmed();
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    return blank < 0 ? QString() : rest.mid(blank + 1).trimmed();
}
