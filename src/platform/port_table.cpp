#include "platform/port_table.h"

#include "platform/profile.h"
#include "platform/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <set>

namespace platform {
namespace {

QString dev_folder() {
    return QDir(port_table_config().root).filePath(QStringLiteral("dev"));
}

QString sys_tty_folder() {
    return QDir(port_table_config().root).filePath(QStringLiteral("sys/class/tty"));
}

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

QString read_small_file(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.read(256)).trimmed();
}

// The 8250 driver creates ttyS nodes for every possible port; those without hardware report
// type 0 in sysfs and cannot be used.
bool is_phantom_ttyS(const QString& name) {
    const QString type_file = QDir(sys_tty_folder()).filePath(name + QStringLiteral("/type"));
    return QFileInfo::exists(type_file) && read_small_file(type_file) == QLatin1String("0");
}

// Manufacturer and product of the USB device above a tty, as the kernel reports them.
QString usb_product_text(const QString& name) {
    QString dir = canonical(QDir(sys_tty_folder()).filePath(name + QStringLiteral("/device")));
    for (int up = 0; up < 5 && !dir.isEmpty() && dir != QLatin1String("/"); ++up) {
        const QString product = read_small_file(dir + QStringLiteral("/product"));
        if (!product.isEmpty()) {
            const QString maker = read_small_file(dir + QStringLiteral("/manufacturer"));
            return (maker.isEmpty() || product.startsWith(maker) ? product : maker + ' ' + product);
        }
        dir = QFileInfo(dir).path();
    }
    return {};
}

// "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0" gives "FTDI FT232R USB UART A50285BI".
QString text_from_by_id_name(const QString& link_name) {
    QString s = link_name;
    if (s.startsWith(QLatin1String("usb-")))
        s = s.mid(4);
    s.remove(QRegularExpression(QStringLiteral("-if\\d+.*$")));
    s.remove(QRegularExpression(QStringLiteral("-port\\d+$")));
    return s.replace(QLatin1Char('_'), QLatin1Char(' ')).trimmed();
}

struct DeviceNode {
    QString name; // "ttyUSB0"
    QString path; // <root>/dev/ttyUSB0
    QString canonical;
    QString by_id; // <root>/dev/serial/by-id/... or empty
    QString kind;  // "ttyS", "ttyUSB", ...
    int index = 0;
};

QString describe(const DeviceNode& d) {
    const QString where = QStringLiteral(" (") + d.name + QLatin1Char(')');
    if (d.kind == QLatin1String("ttyS") || d.kind == QLatin1String("ttyAMA"))
        return QStringLiteral("Serial") + where;
    if (d.kind == QLatin1String("rfcomm"))
        return QStringLiteral("Bluetooth serial") + where;
    QString text = usb_product_text(d.name);
    if (text.isEmpty() && !d.by_id.isEmpty())
        text = text_from_by_id_name(QFileInfo(d.by_id).fileName());
    if (text.isEmpty())
        text = d.kind == QLatin1String("ttyACM") ? QStringLiteral("USB modem")
                                                 : QStringLiteral("USB serial");
    return text + where;
}

std::vector<DeviceNode> scan_device_nodes() {
    static const QRegularExpression pattern(
        QStringLiteral("^(ttyS|ttyUSB|ttyACM|ttyAMA|rfcomm)(\\d+)$"));
    std::vector<DeviceNode> nodes;
    const QDir dev(dev_folder());
    for (const QString& name : dev.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot)) {
        const auto m = pattern.match(name);
        if (!m.hasMatch())
            continue;
        DeviceNode d;
        d.name = name;
        d.kind = m.captured(1);
        d.index = m.captured(2).toInt();
        d.path = dev.filePath(name);
        d.canonical = canonical(d.path);
        if (d.kind == QLatin1String("ttyS") && is_phantom_ttyS(name))
            continue;
        nodes.push_back(d);
    }
    const QDir by_id(dev.filePath(QStringLiteral("serial/by-id")));
    for (const QFileInfo& link :
         by_id.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        for (DeviceNode& d : nodes)
            if (d.by_id.isEmpty() && !target.isEmpty() && target == d.canonical)
                d.by_id = link.absoluteFilePath();
    }
    std::sort(nodes.begin(), nodes.end(), [](const DeviceNode& a, const DeviceNode& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.index < b.index;
    });
    return nodes;
}

} // namespace

PortTableConfig& port_table_config() {
    static PortTableConfig config;
    return config;
}

QString port_name(int number) {
    return QStringLiteral("COM") + QString::number(number);
}

int port_number_from_name(const QString& name) {
    const int m = name.indexOf(QLatin1Char('M'));
    if (m < 0)
        return 0;
    int n = 0;
    for (int i = m + 1; i < name.size() && name[i].isDigit() && n < 100000; ++i)
        n = n * 10 + name[i].digitValue();
    return n;
}

std::map<int, QString> read_port_map(const QString& map_file) {
    std::map<int, QString> map;
    if (map_file.isEmpty())
        return map;
    const auto text = read_text_file(map_file);
    if (!text)
        return map;
    bool inside = false;
    for (const QString& raw : split_lines(*text)) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            const int close = line.indexOf(QLatin1Char(']'));
            inside =
                close > 0 &&
                line.mid(1, close - 1).trimmed().compare(PORTS_SECTION, Qt::CaseInsensitive) == 0;
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (!inside || eq < 0 || line.startsWith(QLatin1Char(';')))
            continue;
        const QString key = line.left(eq).trimmed();
        if (!key.startsWith(QLatin1String("COM"), Qt::CaseInsensitive))
            continue;
        bool ok = false;
        const int n = key.mid(3).toInt(&ok);
        if (!ok || n < 1 || n > 255 || map.count(n))
            continue;
        const auto value = read_profile_string(map_file, PORTS_SECTION, key);
        if (value && !value->isEmpty())
            map[n] = *value;
    }
    return map;
}

bool map_port(int number, const QString& path) {
    const QString& file = port_table_config().map_file;
    if (file.isEmpty())
        return false;
    return write_profile_string(file, PORTS_SECTION, port_name(number), path);
}

int apply_port_mappings(const QStringList& mappings, const QString& map_file,
                        QStringList* problems) {
    int last = 0;
    for (const QString& mapping : mappings) {
        const qsizetype eq = mapping.indexOf(QLatin1Char('='));
        bool ok = false;
        const int number = eq > 0 ? mapping.left(eq).trimmed().toInt(&ok) : 0;
        const QString path = eq > 0 ? mapping.mid(eq + 1).trimmed() : QString();
        if (!ok || number < 1 || number > LAST_PORT_NUMBER || path.isEmpty()) {
            if (problems)
                *problems << QStringLiteral("--map-port %1: expected N=PATH with N from 1 to %2")
                                 .arg(mapping)
                                 .arg(LAST_PORT_NUMBER);
            continue;
        }
        if (map_file.isEmpty() || !write_profile_string(map_file, PORTS_SECTION, port_name(number),
                                                        QFileInfo(path).absoluteFilePath())) {
            if (problems)
                *problems
                    << QStringLiteral("--map-port %1: cannot write %2").arg(mapping, map_file);
            continue;
        }
        last = number;
    }
    return last;
}

QString port_device_path(int number) {
    if (number < 1)
        return {};
    const auto map = read_port_map(port_table_config().map_file);
    if (auto it = map.find(number); it != map.end())
        return it->second;
    const QString node =
        QDir(dev_folder()).filePath(QStringLiteral("ttyS") + QString::number(number - 1));
    return QFileInfo::exists(node) ? node : QString();
}

std::vector<DiscoveredPort> discover_ports() {
    auto map = read_port_map(port_table_config().map_file);
    const std::vector<DeviceNode> nodes = scan_device_nodes();

    std::map<int, DiscoveredPort> found;
    std::set<QString> claimed; // canonical paths of devices that have their number

    // A device finds its remembered or hand-made line by its key (the by-id link, else the
    // node), then by any line that leads to the same node.
    for (const DeviceNode& d : nodes) {
        const QString key = d.by_id.isEmpty() ? d.path : d.by_id;
        int number = 0;
        for (const auto& [n, path] : map)
            if (path == key && !found.count(n)) {
                number = n;
                break;
            }
        if (!number)
            for (const auto& [n, path] : map)
                if (!found.count(n) && canonical(path) == d.canonical) {
                    number = n;
                    break;
                }
        if (number && number <= LAST_PORT_NUMBER) {
            found[number] = {number, map[number], describe(d)};
            claimed.insert(d.canonical);
        }
    }
    // Other mapped paths that exist (a pseudo-terminal, a link made by hand).
    for (const auto& [number, path] : map) {
        const QString target = canonical(path);
        if (target.isEmpty() || number > LAST_PORT_NUMBER || found.count(number) ||
            claimed.count(target))
            continue;
        bool is_known_device = false;
        for (const DeviceNode& d : nodes)
            is_known_device = is_known_device || d.canonical == target;
        if (is_known_device)
            continue; // an old line for a device that has its number elsewhere
        found[number] = {number, path, path};
    }

    std::set<int> taken;
    for (const auto& entry : map)
        taken.insert(entry.first);
    for (const DeviceNode& d : nodes)
        if (d.kind == QLatin1String("ttyS"))
            taken.insert(d.index + 1);

    for (const DeviceNode& d : nodes) {
        if (claimed.count(d.canonical))
            continue;
        if (d.kind == QLatin1String("ttyS")) {
            const int number = d.index + 1;
            if (number <= LAST_PORT_NUMBER && !map.count(number) && !found.count(number)) {
                found[number] = {number, d.path, describe(d)};
                claimed.insert(d.canonical);
            }
            continue;
        }
        int number = FIRST_DISCOVERED_PORT;
        while (number <= LAST_PORT_NUMBER && (taken.count(number) || found.count(number)))
            ++number;
        if (number > LAST_PORT_NUMBER)
            continue;
        const QString key = d.by_id.isEmpty() ? d.path : d.by_id;
        map_port(number, key);
        map[number] = key;
        taken.insert(number);
        found[number] = {number, key, describe(d)};
        claimed.insert(d.canonical);
    }

    std::vector<DiscoveredPort> ports;
    for (auto& entry : found)
        ports.push_back(entry.second);
    return ports;
}

} // namespace platform
