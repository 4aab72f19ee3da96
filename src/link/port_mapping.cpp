#include "link/port_mapping.h"

#include "platform/port_table.h"
#include "shell/shell_state.h"

#include <QFileInfo>
#include <cstdio>

QStringList apply_map_port_arguments(const QStringList& arguments) {
    QStringList problems;
    static const QString option = QStringLiteral("--map-port");
    for (int i = 0; i < arguments.size(); ++i) {
        QString value;
        if (arguments[i] == option) {
            if (i + 1 >= arguments.size()) {
                problems << QStringLiteral("--map-port needs N=PATH");
                break;
            }
            value = arguments[++i];
        } else if (arguments[i].startsWith(option + QLatin1Char('='))) {
            value = arguments[i].mid(option.size() + 1);
        } else {
            continue;
        }
        const int eq = static_cast<int>(value.indexOf(QLatin1Char('=')));
        bool ok = false;
        const int number = eq > 0 ? value.left(eq).trimmed().toInt(&ok) : 0;
        const QString path = eq > 0 ? value.mid(eq + 1).trimmed() : QString();
        if (!ok || number < 1 || number > platform::LAST_PORT_NUMBER || path.isEmpty()) {
            problems << QStringLiteral("--map-port %1: expected N=PATH with N from 1 to %2")
                            .arg(value)
                            .arg(platform::LAST_PORT_NUMBER);
            continue;
        }
        const QString absolute = QFileInfo(path).absoluteFilePath();
        platform::port_table_config().map_file = shell().ini_path;
        if (!platform::map_port(number, absolute)) {
            problems << QStringLiteral("--map-port %1: cannot write %2").arg(value, shell().ini_path);
            continue;
        }
        shell().com_port = static_cast<int16_t>(number);
    }
    for (const QString& p : problems)
        std::fprintf(stderr, "%s\n", qPrintable(p));
    return problems;
}
