#pragma once
// What heads a printed or exported parameter listing: the print header window's fields and the
// unit's own figures. The print header window fills it from its boxes when the user prints or
// previews; print_header_from_settings() makes it from the saved fields for callers without the
// window. Plain data.

#include <QDateTime>
#include <QString>

struct PrintHeaderData {
    bool use_header = false;
    QString header_site, header_project, header_instrument, header_tag;
    QString header_device, header_sensor_type, header_sensor_serial;

    // Value texts of the unit's parameters as last read.
    QString serial_number;    // P92
    QString hardware_version; // P93
    QString software_version; // P926
    QString p927, p928, p929;

    // The parameter file last opened or saved (empty when none) and when it last changed.
    QString parameter_file_name;
    QDateTime parameter_file_changed;
};

// The header as the saved settings (shell's [Print Header] fields) and the definitions table
// hold it now, for `parameter_file_name`; the device, sensor type and sensor serial come from
// `previous` (they are not kept in the settings).
PrintHeaderData print_header_from_settings(const QString& parameter_file_name,
                                           const PrintHeaderData& previous = {});
