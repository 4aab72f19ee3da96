#include "shell/definitions_reset.h"

#include "shell/definitions_table.h"

#include <algorithm>

void clear_definitions_table(int n) {
    const int last = std::min(n, DEFINITIONS_UPPER);
    auto& table = definitions_table();
    for (int i = 0; i <= last; ++i) {
        DefinitionRecord& r = table[static_cast<size_t>(i)];
        r.text.clear();
        r.name = QStringLiteral("UNKNOWN");
        r.read_only = true;
        r.unit_value = NO_VALUE;
        r.value_text.clear();
        r.program_value = NO_VALUE;
        r.default_value = NO_VALUE;
        r.units_code.clear();
        r.min_text = QStringLiteral("-999999");
        r.max_text = QStringLiteral("-999999");
        r.send_failed = false;
        r.present = true;
    }
}
