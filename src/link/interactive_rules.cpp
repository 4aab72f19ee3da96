#include "link/interactive_rules.h"

#include "link/command_link.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QLocale>
#include <cmath>

namespace interactive {

std::optional<int> typed_parameter(const QString& text) {
    if (text.trimmed().isEmpty())
        return 0;
    // Read as every typed number: "72,5" in an English locale names no parameter, not P72.
    const auto v = platform::typed_whole_number(text);
    if (!v)
        return std::nullopt;
    // A huge number must not wrap into a valid one.
    return std::fabs(*v) > 1e6 ? -1 : static_cast<int>(*v);
}

int typed_number(const QString& text) {
    return typed_parameter(text).value_or(-1);
}

bool in_range(int n) {
    return n >= FIRST_PARAMETER && n <= LAST_PARAMETER;
}

bool written_blind(int n) {
    return n == 20 || n == 21 || n == 30 || n == 31;
}

bool write_refused(int n, bool present) {
    return !written_blind(n) && (!present || !in_range(n));
}

std::optional<QString> value_for_unit(int n, const QString& typed) {
    const auto value = typed_parameter_value(n, typed);
    // A fraction is no code of any list: 2.5 would reach the unit as no choice it has.
    if (!value || (takes_codes(n) && *value != std::floor(*value)))
        return std::nullopt;
    if (n == 932 || n == 996 || n == 997)
        return platform::format_number_c(*value, QStringLiteral("0000"));
    return platform::number_text_c(*value);
}

QString level_word(int access_level, const QString& level2_word, const QString& level3_word) {
    switch (access_level) {
    case 1:
        return QStringLiteral(" GOLDCARD");
    case 2:
        return QLatin1Char(' ') + level2_word;
    case 3:
        return QLatin1Char(' ') + level3_word;
    default:
        return {};
    }
}

} // namespace interactive
