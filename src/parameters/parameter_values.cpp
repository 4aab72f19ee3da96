#include "parameters/parameter_values.h"

#include "parameters/parameter_record.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <cmath>

bool is_plain_number(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    for (QChar c : t)
        if (!(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-') ||
              c == QLatin1Char('+') || c == QLatin1Char('E') || c == QLatin1Char('e')) ||
            c.unicode() > 127)
            return false;
    bool ok = false;
    const double v = t.toDouble(&ok); // QString::toDouble reads the C locale
    return ok && std::isfinite(v);
}

bool starts_with_number(const QString& text) {
    // Blanks are skipped as val() skips them.
    QString t = text;
    t.removeIf([](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') ||
               c == QLatin1Char('\n');
    });
    qsizetype i = 0;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+')))
        ++i;
    if (i < t.size() && t[i] == QLatin1Char('.'))
        ++i;
    return i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9');
}

QString decimals_pattern(int decimals, QChar digit) {
    if (decimals < 0 || decimals > 6)
        return {};
    if (decimals == 0)
        return QString(digit);
    return QString(digit) + QLatin1Char('.') +
           QString(decimals, QLatin1Char('#') == digit ? QLatin1Char('#') : QLatin1Char('0'));
}

QString value_as_box_text(double value) {
    return platform::number_text(value).trimmed();
}

QString stored_box_text(int P) {
    if (P < 0 || P > DEFINITIONS_UPPER)
        return {};
    const QString& v = definitions_table()[static_cast<size_t>(P)].value_text;
    return is_plain_number(v) ? box_text(P, platform::val(v)) : v;
}

QString four_digit_time(int P, double value) {
    if (!takes_whole_number(P) || !(value >= 0 && value <= 9999) || value != std::floor(value))
        return {};
    return QStringLiteral("%1").arg(static_cast<int>(value), 4, 10, QLatin1Char('0'));
}

QString box_text(int P, double value) {
    const QString time = four_digit_time(P, value);
    return time.isEmpty() ? value_as_box_text(value) : time;
}

QString unit_value_text(int P, double value) {
    const QString time = four_digit_time(P, value);
    return time.isEmpty() ? platform::number_text_c(value).trimmed() : time;
}

QString file_value_text(int P, const QString& value_text) {
    if (!is_plain_number(value_text))
        return value_text;
    const QString time = four_digit_time(P, platform::val(value_text));
    return time.isEmpty() ? value_text : time;
}

bool holds_unit_value(int P, const QString& text) {
    if (text.trimmed().isEmpty() || carries_marker(P, text, "NO") ||
        carries_marker(P, text, "Text"))
        return false;
    return holds_text_value(P) || (!carries_marker(P, text, "OK") && starts_with_number(text));
}

UnitAnswer unit_answer(int P, const QString& answer) {
    const QString text = answer.trimmed();
    if (!holds_unit_value(P, text) || platform::val(text) == NO_VALUE)
        return {};
    return {true, platform::val(text), text};
}

bool is_length_record(int P) {
    if (P < 0 || P > DEFINITIONS_UPPER)
        return false;
    const QString& u = definitions_table()[static_cast<size_t>(P)].units_code;
    return u == QLatin1String("U_MU_M") ||
           (u == QLatin1String("U_MU") && get_param_unit_code(P) == 0);
}

QString fieldbus_code_text(const QString& text) {
    const QString t = text.trimmed();
    if (t == QLatin1String("Off"))
        return QStringLiteral("0");
    if (t == QLatin1String("Modbus"))
        return QStringLiteral("1");
    if (t == QLatin1String("Profibus"))
        return QStringLiteral("2");
    return text;
}
