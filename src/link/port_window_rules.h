#pragma once
// The port window's rules without the window: which list row belongs to a port number, what the
// result line says for a row, the system information box, and how a change of the device folder
// reads (a device came or went).

#include <QString>
#include <QStringList>
#include <optional>
#include <set>

namespace portwindow {

inline constexpr int COMBO_PORT_COUNT = 99;
inline constexpr int DEFAULT_COMMS_DELAY = 2000;
// The least delay the box takes: its arrows step by 100 and stop there.
inline constexpr int LEAST_COMMS_DELAY = 0;
inline constexpr int COMMS_DELAY_STEP = 100;

// "COMn" and a TAB: the text a row of port n starts with.
QString combo_key(int port);

// The index of the first row holding `key`; nullopt when none does.
std::optional<int> row_of_key(const QStringList& rows, const QString& key);

// The parts of a list row: port name, status, description (missing parts empty).
struct PortRow {
    QString port_name;
    QString status;
    QString description;
};
PortRow split_row(const QString& row);

// The port number of a row: the digits after the first "M" of its first field (0 when none).
int row_port_number(const QString& row);

// What the result line shows for a row's description: in Italian (language 3) a description
// holding "Serial" reads "Seriale".
QString shown_description(const QString& description, int language_index);

// The delay text as stored: its numeric value as text ("." as the decimal point) when the whole
// text is a number as the locale writes it (platform::typed_number) and not below the least
// delay, nullopt otherwise (then nothing is stored).
std::optional<QString> delay_to_store(const QString& text);

// The information box: three lines, each caption, a TAB, ": " and the value; the box sets its tab
// stop past the longest caption, so one TAB lines the values up in any language.
QString system_info_text(const QString& os_caption, const QString& version_caption,
                         const QString& build_caption, const QString& os_name,
                         const QString& version, const QString& build);

// The operating system's name, version and build for the information box: the distribution's
// pretty name (from etc/os-release under `root`), the kernel release and the kernel version.
struct OsInfo {
    QString name;
    QString version;
    QString build;
};
OsInfo read_os_info(const QString& root = QStringLiteral("/"));

// The serial device nodes directly in a /dev folder listing, by name.
std::set<QString> serial_device_names(const QStringList& dev_entries);

enum class DeviceChange { None, Arrival, Removal };
// A device that appeared counts as an arrival, also when another went at the same time.
DeviceChange device_change(const std::set<QString>& before, const std::set<QString>& after);

} // namespace portwindow
