#pragma once
// The print header: what heads a printed or exported parameter listing, as plain data, and the
// rules that fill it. The Print Header window (PrintHeaderWindow) shows and edits the typed fields;
// headed printing lays the whole header out.
//
// Where it comes from: the four typed fields and use_header are the settings start-up loads into
// shell() ([Print Header] in general.ini); device, sensor type and sensor serial are kept for the
// run only; the unit's figures are the value texts of its parameters as last read.
// current_print_header() gathers all of them, store_print_header() puts an edited set back (and
// writes the typed ones and use_header to general.ini).
//
// The device and sensor names come from the name tables below, keyed by the brand variant and
// the unit's system type (P99) or transducer code (P101); a key outside a table keeps the name the
// field held before.

#include <QDateTime>
#include <QString>

struct PrintHeaderFields {
    bool use_header = false;    // print the header block and page footers
    QString site;               // header_site; [Print Header] "Site"
    QString project;            // header_project; "Project"
    QString instrument;         // header_instrument; "Instrument"
    QString tag;                // header_tag; "Tag"
    QString device;             // header_device (run only)
    QString sensor_type;        // header_sensor_type (run only)
    QString sensor_serial;      // header_sensor_serial (run only)

    // The unit's figures: value texts of its parameters as last read. Not typed: the window's
    // boxes only show them.
    QString serial_number;    // P92
    QString software_version; // P926
    QString hardware_version; // P93 as the unit sent it
    QString p927, p928, p929;

    // The parameter file last opened or saved (empty when none) and when it last changed.
    QString parameter_file_name;
    QDateTime parameter_file_changed;
};

// What the name tables depend on besides the parameter values.
struct PrintHeaderContext {
    int start_logo = 0;       // brand variant
    bool modbus_mode = false; // the unit's fieldbus
    bool profibus_mode = false;
    int software_version = 0; // the unit's version times 100 (1.63 is 163)
};

// The context of the run: the brand variant, the fieldbus flags of the log-on, and the version
// number of `header`'s software version text.
PrintHeaderContext current_print_header_context(const PrintHeaderFields& header);

// The device name for system type `p99` (1 to 4), or `previous` for any other value.
QString header_device_name(const PrintHeaderContext& context, double p99, const QString& previous);
// The sensor name for transducer code `p101` (0 to 9), or `previous` for any other code. `p72` is
// the value of P72: a 1 with software 1.63 or later chooses code 1's alternative name.
QString header_sensor_name(const PrintHeaderContext& context, double p101, double p72,
                           const QString& previous);

// The header as it stands: the stored fields, the unit's figures, and `parameter_file_name`
// with the time it last changed.
PrintHeaderFields current_print_header(const QString& parameter_file_name = {});

// The hardware version as the window's box shows it: "000000" when it is a number, else as it is.
QString hardware_version_box_text(const QString& hardware_version);

// What the window shows on opening: the stored fields, the site from P928 when none was typed,
// the device and sensor from the name tables (their previous names when the key is outside).
PrintHeaderFields fill_print_header(const PrintHeaderFields& stored,
                                    const PrintHeaderContext& context);

// Trims every typed text and keeps the set for the run; writes "Site", "Project", "Instrument",
// "Tag" and "Use Header" (True or False) to [Print Header] in general.ini.
void store_print_header(const PrintHeaderFields& fields);

// Clear: the typed fields emptied; the device and sensor type (from the unit) stay.
PrintHeaderFields cleared_print_header(const PrintHeaderFields& fields);

// Forgets the run-only fields (tests; a new run starts with them empty).
void reset_print_header_run_fields();
