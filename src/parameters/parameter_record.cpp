#include "parameters/parameter_record.h"

#include "platform/vb.h"
#include "shell/shell_state.h"

#include <array>
#include <cmath>

namespace {

constexpr int ITALIAN = 3;
constexpr int SPANISH = 4;

DefinitionRecord& record(int p) {
    return definitions_table()[static_cast<size_t>(p)];
}
// The value of P, or no value for a number the table has no record of: callers derive numbers
// from records (P-1, P-2) and must not step outside the table.
double value_of(int p) {
    return p < 0 || p > DEFINITIONS_UPPER ? NO_VALUE : record(p).unit_value;
}

// The word at a whole-number index of a table, "" for any other value.
template <size_t N>
QString word_at(const std::array<const char*, N>& words, double value, int first) {
    const double i = value - first;
    if (i < 0 || i >= static_cast<double>(N) || i != static_cast<double>(static_cast<int>(i)))
        return {};
    return QString::fromUtf8(words[static_cast<size_t>(i)]);
}

} // namespace

void set_param_limits(int P, double min, double max, const QString& units) {
    if (P < 0 || P > DEFINITIONS_UPPER)
        return;
    DefinitionRecord& rec = record(P);
    rec.min_text = platform::number_text_c(min);
    rec.max_text = platform::number_text_c(max);
    rec.units_code = units;
    rec.present = true;
}

void set_analog_param_limits(DefinitionRecord& rec) {
    const double system = value_of(99);
    const bool voltage = system == 1 || system == 4;
    const bool current = system == 2 || system == 3;
    if (!voltage && !current)
        return;
    const QString units = voltage ? QStringLiteral("U_VOLT") : QStringLiteral("U_MA");
    const double full_scale = voltage ? 5 : 20;
    switch (rec.number) {
    case 836:
        rec.min_text = QStringLiteral("0");
        rec.max_text = platform::number_text_c(full_scale);
        rec.default_value = 0;
        break;
    case 837:
        rec.min_text = QStringLiteral("0");
        rec.max_text = platform::number_text_c(full_scale);
        rec.default_value = full_scale;
        break;
    case 838:
    case 839:
        rec.min_text = QStringLiteral("-30");
        rec.max_text = QStringLiteral("30");
        rec.default_value = 0;
        break;
    default:
        return;
    }
    rec.units_code = units;
}

double get_param_default_value(double scale, int P) {
    if (P < 0 || P > DEFINITIONS_UPPER)
        return NO_VALUE;
    const DefinitionRecord& rec = record(P);
    const bool length =
        rec.units_code == QLatin1String("U_MU") || rec.units_code == QLatin1String("U_MU_M");
    if (!length || get_param_unit_code(P) != 0 || scale == 1)
        return rec.default_value;
    const double scaled = rec.default_value * scale;
    if (rec.decimals < 0 || rec.decimals > 6)
        return scaled;
    const QString pattern = rec.decimals == 0
                                ? QStringLiteral("#")
                                : QStringLiteral("#.") + QString(rec.decimals, QLatin1Char('#'));
    return platform::val(platform::format_number_c(scaled, pattern));
}

int16_t get_param_unit_code(int P) {
    const int base = P < 220 ? 210 : 220;
    const int set_point = P - base - 2; // 1 for the first set point, 2 for the second
    if (P < 210 || P > 224 || (set_point != 1 && set_point != 2))
        return 0;
    const double function = value_of(base + 1);
    if (value_of(base) == 1 && function == 2)
        return static_cast<int16_t>(set_point);
    // A relay without a function holds its set points in units of their own (11 and 9): they
    // must not be rescaled as lengths when the length unit changes.
    if (function == 0)
        return static_cast<int16_t>(set_point == 1 ? 11 : 9);
    return 0;
}

int16_t get_lookup_entry_count(const DefinitionRecord& rec,
                               const parameters::LookupCountContext& context) {
    const int p = rec.number;
    if (p == 99)
        return 1;
    if (p == 980)
        return 5;
    if (rec.units_code == QLatin1String("U_RT"))
        return 3;
    if (rec.units_code == QLatin1String("U_RF")) {
        const double v = value_of(p - 1);
        return v == 0 ? 1 : v == 1 ? 4 : v == 2 ? 2 : 1;
    }
    if (rec.units_code == QLatin1String("U_ID")) {
        const double v = value_of(p - 2);
        return v == 1 ? 7 : v == 2 ? 2 : 1;
    }
    if (p == 100)
        return context.p61_is_1 ? 4 : context.p61_is_2 ? 5 : 3;
    if (p == 930)
        return 2;
    if (p == 101)
        return 7;
    if (p == 999)
        return 3;
    if (p == 831) {
        const QString shown = context.p100_box_text.trimmed();
        if (context.p61_is_1)
            return shown == QLatin1String("4") ? 5 : 4;
        if (context.p61_is_2)
            return shown == QLatin1String("5") ? 6 : 4;
        return 4;
    }
    if (p == 840)
        return context.software_version < 193 ? rec.attribute6 : 6;
    if (p == 701 && context.p61_is_1) {
        const double type = value_of(700);
        if (type == 1)
            return 7;
        if (type == 2 || type == 3)
            return 4;
        if (type == 4)
            return 3;
        if (type == 5)
            return 2;
    }
    return rec.attribute6;
}

int16_t version_to_number(const QString& text) {
    QString t = text;
    if (t.contains(QLatin1String("Prot"))) {
        const qsizetype dot = t.indexOf(QLatin1Char('.'));
        t = dot >= 0 ? t.mid(dot + 1) : QString();
    }
    if (t.contains(QLatin1Char('b')))
        return 999;
    t.remove(QLatin1Char('.'));
    t = t.size() < 3 ? t + QStringLiteral("000") : t.left(3);
    bool ok = false;
    double n = t.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(n))
        return 0;
    if (n < 100)
        n *= 10;
    return platform::to_int16(platform::round_half_even(n)).value_or(0);
}

QString fieldbus_name(double value) {
    if (value == 0)
        return QStringLiteral("Off");
    if (value == 1)
        return QStringLiteral("Modbus");
    if (value == 2)
        return QStringLiteral("Profibus");
    return {};
}

QString get_flow_units_text() {
    static constexpr std::array<const char*, 6> volume_it{"L",     "M3",    "Piedi3",
                                                          "GalUK", "GalUS", "MGUS"};
    static constexpr std::array<const char*, 6> volume_es{"l", "m³", "pies³", "UKG", "USG", "MUSG"};
    static constexpr std::array<const char*, 6> volume_en{"L", "M3", "Ft3", "UKG", "USG", "MUSG"};
    static constexpr std::array<const char*, 4> time_it{"Sec", "Min", "Ora", "Giorno"};
    static constexpr std::array<const char*, 4> time_es{"Seg", "Min", "Hr", "Dia"};
    static constexpr std::array<const char*, 4> time_en{"Sec", "Min", "Hr", "Day"};
    const int language = shell().language_index;
    const auto& volume = language == ITALIAN   ? volume_it
                         : language == SPANISH ? volume_es
                                               : volume_en;
    const auto& time = language == ITALIAN ? time_it : language == SPANISH ? time_es : time_en;
    return word_at(volume, value_of(706), 1) + QLatin1Char('/') + word_at(time, value_of(707), 1);
}

QString get_totaliser_units_text() {
    static constexpr std::array<const char*, 10> words_it{
        "Nessuna Unità", "Ton",    "TonMetriche", "m3",     "Litri",
        "Gal UK",        "Gal US", "Piedi3",      "Barrel", "Libbre"};
    static constexpr std::array<const char*, 10> words_es{
        "Sin unidades", "Ton", "Tonne", "m3", "L", "Gal UK", "Gal US", "Pies3", "Barrile", "lb"};
    static constexpr std::array<const char*, 10> words_en{
        "No Units", "Ton", "Tonne", "m3", "L", "Gal UK", "Gal US", "Ft3", "Barrel", "lb"};
    const int language = shell().language_index;
    const auto& words = language == ITALIAN ? words_it : language == SPANISH ? words_es : words_en;
    return word_at(words, value_of(605), 0);
}
