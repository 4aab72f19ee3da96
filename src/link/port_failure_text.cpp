#include "link/port_failure_text.h"

#include "platform/port_table.h"
#include "shell/definitions_table.h"

QString port_failure_port_line(int number) {
    const QString path = platform::port_device_path(number);
    return platform::port_name(number) + QStringLiteral(" - ") +
           (path.isEmpty() ? ui_text(2100, QStringLiteral("not mapped")) : path);
}

QString port_failure_text(int number) {
    return ui_text(1206,
                   QStringLiteral(
                       "The serial port cannot be opened. Check the port in the Setup dialog.")) +
           QStringLiteral("\r\n\r\n") + port_failure_port_line(number);
}
