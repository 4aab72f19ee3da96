#include "link/port_mapping.h"

#include "platform/port_table.h"
#include "shell/shell_state.h"

#include <cstdio>

QStringList apply_map_port_arguments(const QStringList& arguments) {
    static const QString option = QStringLiteral("--map-port");
    QStringList mappings;
    QStringList problems;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == option) {
            if (i + 1 < arguments.size())
                mappings << arguments[++i];
            else
                problems << QStringLiteral("--map-port needs N=PATH");
        } else if (arguments[i].startsWith(option + QLatin1Char('='))) {
            mappings << arguments[i].mid(option.size() + 1);
        }
    }
    const int number = platform::apply_port_mappings(mappings, shell().ini_path, &problems);
    if (number > 0)
        shell().com_port = static_cast<int16_t>(number);
    for (const QString& p : problems)
        std::fprintf(stderr, "%s\n", qPrintable(p));
    return problems;
}
