#include "shell/command_options.h"

namespace {
const QString MAP_PORT = QStringLiteral("--map-port");
}

StartOptions parse_start_options(const QStringList& arguments) {
    StartOptions options;
    QStringList words;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == MAP_PORT) {
            if (i + 1 < arguments.size())
                options.port_mappings << arguments[++i];
        } else if (a.startsWith(MAP_PORT + QLatin1Char('='))) {
            options.port_mappings << a.mid(MAP_PORT.size() + 1);
        } else if (!a.startsWith(QLatin1String("--"))) {
            words << a;
        }
    }
    options.command_line = words.join(QLatin1Char(' '));
    return options;
}
