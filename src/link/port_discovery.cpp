#include "link/port_discovery.h"

#include "link/serial_texts.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/shell_state.h"

#include <QCoreApplication>
#include <QPointer>
#include <algorithm>

namespace {

// The port window's own serial control, used only for the open test.
platform::SerialPort& port_window_comm() {
    static QPointer<platform::SerialPort> port;
    if (!port)
        port = new platform::SerialPort(QCoreApplication::instance());
    return *port;
}

void use_settings_file() {
    if (!shell().ini_path.isEmpty())
        platform::port_table_config().map_file = shell().ini_path;
}

const QString STATUS_PAD = QStringLiteral("   ");

} // namespace

std::vector<SerialPortEntry>& serial_port_table() {
    static std::vector<SerialPortEntry> table;
    return table;
}

QString test_port(const QString& port_name) {
    use_settings_file();
    const int number = platform::port_number_from_name(port_name);
    // The test's own settings: a search must not change the rate the link talks to the unit at.
    const QString settings =
        platform::number_text_c(shell().baud_rate).trimmed() + QStringLiteral(",N,8,1");
    platform::SerialPort& port = port_window_comm();
    port.set_port_open(false);
    platform::CommError error = port.set_comm_port(number);
    if (error == platform::CommError::None) {
        port.set_settings(settings); // an unusable rate leaves the test to the open
        error = port.set_port_open(true);
    }
    port.set_port_open(false);
    if (error == platform::CommError::InvalidPortNumber)
        return serial_text(12) + STATUS_PAD;
    return serial_text(11) + STATUS_PAD;
}

QStringList get_ports() {
    use_settings_file();
    std::vector<SerialPortEntry>& table = serial_port_table();
    table.clear();
    for (const platform::DiscoveredPort& p : platform::discover_ports())
        table.push_back({platform::port_name(p.number), p.description});
    std::sort(table.begin(), table.end(), [](const SerialPortEntry& a, const SerialPortEntry& b) {
        return QString::compare(a.port_name, b.port_name, Qt::CaseSensitive) < 0;
    });
    QStringList rows;
    for (const SerialPortEntry& e : table)
        if (e.port_name.contains(QLatin1String("COM")))
            rows << e.port_name + QLatin1Char('\t') + test_port(e.port_name) + QLatin1Char('\t') +
                        e.description;
    return rows;
}
