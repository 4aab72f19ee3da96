#include "link/port_window_rules.h"

#include "platform/port_table.h"
#include "platform/program_folder.h"
#include "platform/vb.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <algorithm>

namespace portwindow {

QString combo_key(int port) {
    return platform::port_name(port) + QLatin1Char('\t');
}

std::optional<int> row_of_key(const QStringList& rows, const QString& key) {
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].contains(key))
            return i;
    return std::nullopt;
}

PortRow split_row(const QString& row) {
    const QStringList f = row.split(QLatin1Char('\t'));
    return {f.value(0), f.value(1), f.value(2)};
}

int row_port_number(const QString& row) {
    return platform::port_number_from_name(split_row(row).port_name);
}

QString shown_description(const QString& description, int language_index) {
    if (language_index == 3 && description.contains(QLatin1String("Serial")))
        return QStringLiteral("Seriale");
    return description;
}

std::optional<QString> delay_to_store(const QString& text) {
    const auto v = platform::typed_number(text);
    if (!v || *v < LEAST_COMMS_DELAY)
        return std::nullopt;
    return platform::number_text_c(*v);
}

QString system_info_text(const QString& os_caption, const QString& version_caption,
                         const QString& build_caption, const QString& os_name,
                         const QString& version, const QString& build) {
    const QString sep = QStringLiteral("\t: ");
    return os_caption + sep + os_name + QStringLiteral("\r\n") + version_caption + sep +
           version.trimmed() + QStringLiteral("\r\n") + build_caption + sep + build.trimmed();
}

OsInfo read_os_info(const QString& root) {
    OsInfo info;
    QFile f(platform::join_path(root, QStringLiteral("etc/os-release")));
    if (f.open(QIODevice::ReadOnly)) {
        static const QRegularExpression pretty(QStringLiteral("^PRETTY_NAME=\"?([^\"\\n]*)\"?"),
                                               QRegularExpression::MultilineOption);
        const auto m = pretty.match(QString::fromUtf8(f.readAll()));
        if (m.hasMatch())
            info.name = m.captured(1).trimmed();
    }
    if (info.name.isEmpty())
        info.name = QSysInfo::prettyProductName();
    info.version = QSysInfo::kernelVersion();
    QFile v(platform::join_path(root, QStringLiteral("proc/sys/kernel/version")));
    if (v.open(QIODevice::ReadOnly))
        info.build = QString::fromUtf8(v.readAll()).trimmed();
    return info;
}

std::set<QString> serial_device_names(const QStringList& dev_entries) {
    static const QRegularExpression serial(
        QStringLiteral("^(ttyS|ttyUSB|ttyACM|ttyAMA|rfcomm)\\d+$"));
    std::set<QString> names;
    for (const QString& e : dev_entries)
        if (serial.match(e).hasMatch())
            names.insert(e);
    return names;
}

DeviceChange device_change(const std::set<QString>& before, const std::set<QString>& after) {
    const bool arrived =
        std::any_of(after.begin(), after.end(), [&](const QString& n) { return !before.count(n); });
    if (arrived)
        return DeviceChange::Arrival;
    const bool removed = std::any_of(before.begin(), before.end(),
                                     [&](const QString& n) { return !after.count(n); });
    return removed ? DeviceChange::Removal : DeviceChange::None;
}

} // namespace portwindow
