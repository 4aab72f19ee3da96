#include "shell/definitions_table.h"

#include "platform/vb.h"

#include <algorithm>
#include <cmath>

DefinitionsTable& definitions_table() {
    static DefinitionsTable table;
    return table;
}

void clear_definitions_table(int16_t n) {
    const int last = std::min<int>(n, DEFINITIONS_UPPER);
    auto& table = definitions_table();
    for (int i = 0; i <= last; ++i) {
        DefinitionRecord& r = table[static_cast<size_t>(i)];
        DefinitionRecord fresh;
        fresh.number = r.number;
        fresh.lookup_code = std::move(r.lookup_code);
        fresh.decimals = r.decimals;
        fresh.attribute6 = r.attribute6;
        r = std::move(fresh);
    }
}

AddedTexts& added_texts() {
    static AddedTexts texts;
    return texts;
}

bool takes_whole_number(int P) {
    return P == 932 || P == 971 || P == 972 || P == 976 || P == 996 || P == 997;
}

bool holds_text_value(int P) {
    return P == 926 || P == 927 || P == 928;
}

bool carries_marker(int P, const QString& text, const char* marker) {
    return holds_text_value(P) ? text.trimmed() == QLatin1String(marker)
                               : text.contains(QLatin1String(marker));
}

std::optional<double> typed_parameter_value(int P, const QString& typed) {
    const auto v =
        takes_whole_number(P) ? platform::typed_whole_number(typed) : platform::typed_number(typed);
    if (!v)
        return std::nullopt;
    return kept_value(P, *v);
}

bool takes_codes(int P) {
    return P >= 0 && P <= DEFINITIONS_UPPER &&
           definitions_table()[static_cast<size_t>(P)].lookup_code.contains(QLatin1String("LUK"));
}

double kept_value(int P, double value) {
    // From 1E15 up the number's 15 significant digits hold no fraction to round: written out and
    // read back, the largest numbers would be beyond a double and come back as 0.
    if (P < 0 || P > DEFINITIONS_UPPER || !std::isfinite(value) || std::fabs(value) >= 1e15 ||
        takes_codes(P))
        return value;
    const DefinitionRecord& r = definitions_table()[static_cast<size_t>(P)];
    if (r.number != P || r.decimals < 0 || r.decimals > 6)
        return value;
    const QString pattern = r.decimals == 0
                                ? QStringLiteral("#")
                                : QStringLiteral("#.") + QString(r.decimals, QLatin1Char('#'));
    return platform::val(platform::format_number_c(value, pattern));
}

bool is_text_number(int n) {
    return (n >= 0 && n <= DEFINITIONS_UPPER) || (n >= ADDED_TEXTS_FIRST && n <= ADDED_TEXTS_LAST);
}

QString* text_slot(int n) {
    if (n >= 0 && n <= DEFINITIONS_UPPER)
        return &definitions_table()[static_cast<size_t>(n)].text;
    if (n >= ADDED_TEXTS_FIRST && n <= ADDED_TEXTS_LAST)
        return &added_texts()[static_cast<size_t>(n - ADDED_TEXTS_FIRST)];
    return nullptr;
}

const QString& ui_text(int n) {
    static const QString empty;
    const QString* slot = text_slot(n);
    return slot ? *slot : empty;
}

QString ui_text(int n, const QString& fallback) {
    const QString& t = ui_text(n);
    return t.isEmpty() ? fallback : t;
}
