#pragma once
// Serial port numbers on Linux. The user picks a port by number ("COM n", 1-based), as on the
// system the program was designed for; this table turns numbers into device paths:
//  - a line COMn=<path> in the [Ports] section of the settings file maps n to any path (a
//    pseudo-terminal or a symbolic link included) and wins over everything else;
//  - /dev/ttyS<k> is COM(k+1);
//  - other serial devices (ttyUSB*, ttyACM*, ttyAMA*, rfcomm*) get a number from COM17 up the
//    first time they are seen, kept in [Ports] under their /dev/serial/by-id/ link when they
//    have one, so that a device keeps its number whichever socket it is plugged into.
// A number that maps to nothing is an invalid port number.

#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace platform {

struct PortTableConfig {
    QString map_file;                   // the settings file holding [Ports]; empty: none
    QString root = QStringLiteral("/"); // prefix of dev/ and sys/ (tests use a temp folder)
};
PortTableConfig& port_table_config();

inline constexpr int FIRST_DISCOVERED_PORT = 17;
inline constexpr int LAST_PORT_NUMBER = 99;
inline const QString PORTS_SECTION = QStringLiteral("Ports");

// "COM" and the number: the key in [Ports] and the name shown in the port list.
QString port_name(int number);
// The number of a port name: the digits after the first "M" ("COM12" and "COM12:" give 12);
// 0 when there are none.
int port_number_from_name(const QString& name);

// The COMn=<path> lines of [Ports], first line per number wins; numbers 1 to 255.
std::map<int, QString> read_port_map(const QString& map_file);

// Writes COMn=<path> into [Ports] of the configured settings file.
bool map_port(int number, const QString& path);

// The "N=PATH" mappings of the command line (--map-port): writes COMN=<PATH made absolute> into
// [Ports] of `map_file` (general.ini) for each, and returns the last N written, 0 when none.
// Mappings that cannot be used are described in `problems`.
int apply_port_mappings(const QStringList& mappings, const QString& map_file,
                        QStringList* problems = nullptr);

// The device path of port `number`, or empty when the number maps to nothing.
QString port_device_path(int number);

struct DiscoveredPort {
    int number = 0;
    QString device_path; // what is opened: a by-id link, a device node or a mapped path
    QString description;
};

// The ports of the machine, by number: present ttyS devices, other serial devices (numbered and
// remembered on first sight) and every mapped path that exists.
std::vector<DiscoveredPort> discover_ports();

} // namespace platform
