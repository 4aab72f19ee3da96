#include "reports/print_header_fields.h"

#include "link/link_state.h"
#include "parameters/parameter_record.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QFileInfo>
#include <array>
#include <cmath>

namespace {

// Kept for the run only, as the design keeps them out of general.ini.
struct RunOnlyHeader {
    QString device, sensor_type, sensor_serial;
};
RunOnlyHeader& run_only() {
    static RunOnlyHeader h;
    return h;
}

// Our own model names per brand variant. Brand variant 0 names each system type, with three
// communication board names for type 3; variant 1 has one name for all; variant 2 one family.
const QString BRAND0_DEVICES[] = {QStringLiteral("Velto 100 Level"),
                                  QStringLiteral("Velto 200 Flow"), QString(),
                                  QStringLiteral("Velto 400 CSO Logger")};
const QString BRAND0_COMMS = QStringLiteral("Velto 300 Comms");
const QString BRAND0_MODBUS = QStringLiteral("Velto 300 Modbus");
const QString BRAND0_PROFIBUS = QStringLiteral("Velto 300 Profibus");
const QString BRAND1_DEVICE = QStringLiteral("Hartym Level Controller");
const QString BRAND2_DEVICES[] = {QStringLiteral("Tarnwell TL1"), QStringLiteral("Tarnwell TL2"),
                                  QStringLiteral("Tarnwell TL3"), QStringLiteral("Tarnwell TL4")};

// Transducer names for codes 1 to 7, code 1's alternative (also code 8) and the dual name (9).
struct SensorSet {
    std::array<QString, 7> names;
    QString alternative;
    QString dual;
};
const QString DUAL = QStringLiteral("KV Dual");
const SensorSet BRAND0_SENSORS{{QStringLiteral("KV3"), QStringLiteral("KV6"),
                                QStringLiteral("KV10"), QStringLiteral("KV15"),
                                QStringLiteral("KV25"), QStringLiteral("KV40"),
                                QStringLiteral("KVS6")},
                               QStringLiteral("KVMach3"),
                               DUAL};
const SensorSet BRAND1_SENSORS{{QStringLiteral("HT3"), QStringLiteral("HT6"),
                                QStringLiteral("HT10"), QStringLiteral("HT15"),
                                QStringLiteral("HT25"), QStringLiteral("HT40"),
                                QStringLiteral("HTS6")},
                               QStringLiteral("HTMach3"),
                               DUAL};
const SensorSet BRAND2_SENSORS{{QStringLiteral("TW3"), QStringLiteral("TW6"),
                                QStringLiteral("TW10"), QStringLiteral("TW15"),
                                QStringLiteral("TW25"), QStringLiteral("TW40"),
                                QStringLiteral("TWS6")},
                               QStringLiteral("TWMach3"),
                               QStringLiteral("TW Dual")};

// A table key: a whole number in range, else nothing (a value the unit lacks is -999999).
int whole_key(double value, int first, int last) {
    if (!std::isfinite(value) || value != std::floor(value) || value < first || value > last)
        return -1;
    return static_cast<int>(value);
}

} // namespace

PrintHeaderContext current_print_header_context(const PrintHeaderFields& header) {
    PrintHeaderContext c;
    c.start_logo = shell().start_logo;
    c.modbus_mode = link().modbus_mode;
    c.profibus_mode = link().profibus_mode;
    c.software_version = version_to_number(header.software_version);
    return c;
}

QString header_device_name(const PrintHeaderContext& context, double p99, const QString& previous) {
    const int type = whole_key(p99, 1, 4);
    if (type < 0)
        return previous;
    const auto i = static_cast<size_t>(type - 1);
    switch (context.start_logo) {
    case 1:
        return BRAND1_DEVICE;
    case 2:
        return BRAND2_DEVICES[i];
    default:
        if (type != 3)
            return BRAND0_DEVICES[i];
        if (context.profibus_mode)
            return BRAND0_PROFIBUS;
        return context.modbus_mode ? BRAND0_MODBUS : BRAND0_COMMS;
    }
}

QString header_sensor_name(const PrintHeaderContext& context, double p101, double p72,
                           const QString& previous) {
    const int code = whole_key(p101, 0, 9);
    if (code < 0)
        return previous;
    if (code == 0)
        return context.start_logo == 1 ? QStringLiteral("Aux") : QStringLiteral("Auxiliary");
    const SensorSet& set = context.start_logo == 1   ? BRAND1_SENSORS
                           : context.start_logo == 2 ? BRAND2_SENSORS
                                                     : BRAND0_SENSORS;
    if (code == 9)
        return set.dual;
    if (code == 8 || (code == 1 && p72 == 1 && context.software_version >= 163))
        return set.alternative;
    return set.names[static_cast<size_t>(code - 1)];
}

PrintHeaderFields current_print_header(const QString& parameter_file_name) {
    const ShellState& s = shell();
    PrintHeaderFields f;
    f.use_header = s.use_header;
    f.site = s.header_site;
    f.project = s.header_project;
    f.instrument = s.header_instrument;
    f.tag = s.header_tag;
    f.device = run_only().device;
    f.sensor_type = run_only().sensor_type;
    f.sensor_serial = run_only().sensor_serial;
    const DefinitionsTable& t = definitions_table();
    f.serial_number = t[92].value_text;
    f.hardware_version = t[93].value_text;
    f.software_version = t[926].value_text;
    f.p927 = t[927].value_text;
    f.p928 = t[928].value_text;
    f.p929 = t[929].value_text;
    f.parameter_file_name = parameter_file_name;
    if (!parameter_file_name.isEmpty())
        f.parameter_file_changed = QFileInfo(parameter_file_name).lastModified();
    return f;
}

QString hardware_version_box_text(const QString& hardware_version) {
    return platform::format_number(hardware_version, QStringLiteral("000000"));
}

PrintHeaderFields fill_print_header(const PrintHeaderFields& stored,
                                    const PrintHeaderContext& context) {
    const DefinitionsTable& t = definitions_table();
    PrintHeaderFields f = stored;
    if (f.site.isEmpty())
        f.site = f.p928;
    f.device = header_device_name(context, t[99].unit_value, stored.device);
    f.sensor_type =
        header_sensor_name(context, t[101].unit_value, t[72].unit_value, stored.sensor_type);
    return f;
}

void store_print_header(const PrintHeaderFields& fields) {
    ShellState& s = shell();
    s.header_site = fields.site.trimmed();
    s.header_project = fields.project.trimmed();
    s.header_instrument = fields.instrument.trimmed();
    s.header_tag = fields.tag.trimmed();
    s.use_header = fields.use_header;
    run_only() = {fields.device.trimmed(), fields.sensor_type.trimmed(),
                  fields.sensor_serial.trimmed()};
    const QString section = ini::SECTION_PRINT_HEADER;
    write_ini(s.ini_path, section, ini::KEY_SITE, s.header_site);
    write_ini(s.ini_path, section, ini::KEY_PROJECT, s.header_project);
    write_ini(s.ini_path, section, ini::KEY_INSTRUMENT, s.header_instrument);
    write_ini(s.ini_path, section, ini::KEY_TAG, s.header_tag);
    write_ini(s.ini_path, section, ini::KEY_USE_HEADER, platform::bool_text(s.use_header));
}

PrintHeaderFields cleared_print_header(const PrintHeaderFields& fields) {
    PrintHeaderFields f = fields;
    f.site.clear();
    f.project.clear();
    f.instrument.clear();
    f.tag.clear();
    f.sensor_serial.clear();
    return f;
}

void reset_print_header_run_fields() {
    run_only() = {};
}
