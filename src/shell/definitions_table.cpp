#include "shell/definitions_table.h"

DefinitionsTable& definitions_table() {
    static DefinitionsTable table;
    return table;
}

const QString& ui_text(int n) {
    static const QString empty;
    if (n < 0 || n > DEFINITIONS_UPPER)
        return empty;
    return definitions_table()[static_cast<size_t>(n)].text;
}

QString ui_text(int n, const QString& fallback) {
    const QString& t = ui_text(n);
    return t.isEmpty() ? fallback : t;
}
