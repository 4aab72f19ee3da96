#include "shell/settings.h"

#include "platform/profile.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "platform/dialogs.h"
#include "shell/definitions_table.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

namespace {

// The longest value the settings file gives back; longer values are cut here.
constexpr int MAX_VALUE_LENGTH = 3071;

// Reads one key and, when its text converts, stores it; otherwise the target keeps its value.
template <class T, class Convert>
void read_into(T& target, const QString& section, const QString& key, const QString& def,
               Convert convert) {
    const QString text = read_ini(shell().ini_path, section, key, def);
    if (const auto value = convert(text))
        target = static_cast<T>(*value);
}

std::optional<QString> as_text(const QString& text) { return text; }
// Numbers the user typed are stored with "." whatever the locale, and read back alike in any other.
std::optional<double> as_number(const QString& text) {
    return platform::stored_number(text);
}

// Folders the dialogs start in: the user may have deleted one since the last run.
void ensure_folder(const QString& path) {
    if (path.isEmpty() || QFileInfo(path).isDir())
        return;
    QDir().mkdir(path); // a folder that cannot be made is left to the dialogs' own start folder
}

struct FailureReports {
    bool read_told = false;
    bool write_told = false;
    bool installed = false;
};

FailureReports& failure_reports() {
    static FailureReports r;
    return r;
}

// Each kind of failure is told once a run: a setting written on every key press would otherwise
// bring a message per key.
void report_settings_failure(const QString& path, bool writing) {
    FailureReports& r = failure_reports();
    bool& told = writing ? r.write_told : r.read_told;
    if (told)
        return;
    told = true;
    const QString text =
        writing ? ui_text(2002, QStringLiteral("The settings file cannot be written. Changed "
                                               "settings last only until the program ends:"))
                : ui_text(2003, QStringLiteral("The settings file cannot be read. The program "
                                               "uses its default settings:"));
    platform::msg_box(text + QStringLiteral("\n\n") + QDir::toNativeSeparators(path),
                      platform::mb::Exclamation);
}

void install_failure_reports() {
    if (failure_reports().installed)
        return;
    failure_reports().installed = true;
    platform::set_profile_failure_handler(report_settings_failure);
}

} // namespace

void reset_settings_failure_reports() {
    failure_reports() = {};
}

QString read_ini(const QString& file, const QString& section, const QString& key,
                 const QString& default_value) {
    install_failure_reports();
    QString value = platform::read_profile_string(file, section, key).value_or(QString());
    value = value.left(MAX_VALUE_LENGTH).trimmed();
    if (value.isEmpty()) {
        write_ini(file, section, key, default_value);
        return default_value;
    }
    return value;
}

int16_t write_ini(const QString& file, const QString& section, const QString& key,
                  const QString& value) {
    install_failure_reports();
    try {
        return platform::write_profile_string(file, section, key, value) ? 1 : 0;
    } catch (...) {
        return 0;
    }
}

void load_settings(SettingsView* view) {
    ShellState& s = shell();
    using namespace ini;
    const auto int16 = [](const QString& t) { return platform::text_to_int16(t); };
    const auto int32 = [](const QString& t) { return platform::text_to_int32(t); };
    const auto boolean = [](const QString& t) { return platform::to_bool(t); };

    read_into(s.language_index, SECTION_GENERAL, KEY_LANGUAGE, DEF_LANGUAGE, int16);
    read_into(s.start_logo, SECTION_GENERAL, KEY_START_LOGO, DEF_START_LOGO, int16);
    read_into(s.com_port, SECTION_GENERAL, KEY_PORT, DEF_PORT, int16);
    read_into(s.baud_rate, SECTION_GENERAL, KEY_BAUDRATE, DEF_BAUDRATE, int32);
    read_into(s.link_baud_rate, SECTION_GENERAL, KEY_QUILLARN_BAUDRATE, DEF_QUILLARN_BAUDRATE,
              int32);
    s.comm_settings = platform::number_text(s.link_baud_rate).trimmed() + QStringLiteral(",N,8,1");

    read_into(s.operation_mode, SECTION_GENERAL, KEY_MODE_OPERATION, DEF_MODE_OPERATION, int16);
    read_into(s.telephone_number, SECTION_GENERAL, KEY_TELEPHONE, DEF_TELEPHONE, as_text);
    if (view) {
        view->enable_othermenus();
        view->set_printmenu_visible(s.operation_mode == 1);
        view->set_loggingmenu_checked(s.operation_mode == 0);
        view->set_csomenu_checked(s.operation_mode == 1);
    }

    read_into(s.graph_background, SECTION_GRAPH, KEY_BACKGROUND, DEF_BACKGROUND, boolean);
    read_into(s.chart_back_color, SECTION_GENERAL, KEY_BACK_COLOR, DEF_BACK_COLOR, int32);
    read_into(s.chart_gradient, SECTION_GENERAL, KEY_CHART_GRADIENT, DEF_CHART_GRADIENT, boolean);
    read_into(s.show_gate, SECTION_GENERAL, KEY_SHOW_GATE, DEF_SHOW_GATE, boolean);
    read_into(s.show_span, SECTION_GENERAL, KEY_SHOW_SPAN, DEF_SHOW_SPAN, boolean);

    for (int n = 1; n <= 4; ++n)
        read_into(s.trace_enabled[n - 1], SECTION_ECHO_CONTROL, key_get_trace(n),
                  n == 1 ? DEF_GET_TRACE_1 : DEF_GET_TRACE_OTHER, int16);
    for (int n = 1; n <= 4; ++n)
        read_into(s.trace_interval[n - 1], SECTION_ECHO_CONTROL, key_trace_interval(n),
                  n == 1 ? DEF_TRACE_1_INTERVAL : DEF_TRACE_OTHER_INTERVAL, as_number);

    read_into(s.playback_interval, SECTION_GENERAL, KEY_PLAYBACK, DEF_PLAYBACK, as_number);
    if (view)
        view->set_playback_text(platform::number_text(s.playback_interval).trimmed());

    read_into(s.echo_light_on, SECTION_ECHO_CONTROL, KEY_LIGHT_ON, DEF_LIGHT_ON, boolean);
    read_into(s.show_status_overlay, SECTION_ECHO_CONTROL, KEY_STATUS, DEF_OVERLAY, boolean);
    read_into(s.show_level_overlay, SECTION_ECHO_CONTROL, KEY_LEVEL, DEF_OVERLAY, boolean);
    read_into(s.show_temperature_overlay, SECTION_ECHO_CONTROL, KEY_TEMPERATURE, DEF_OVERLAY,
              boolean);

    const struct {
        QString* target;
        QLatin1String key;
        QLatin1String subfolder;
    } folders[] = {
        {&s.parameter_path, KEY_PARAMETER_PATH, DEF_PARAMETER_SUBFOLDER},
        {&s.echo_path, KEY_ECHO_PATH, DEF_ECHO_SUBFOLDER},
        {&s.datalog_path, KEY_DATALOG_PATH, DEF_DATALOG_SUBFOLDER},
        {&s.export_path, KEY_EXPORT_PATH, DEF_EXPORT_SUBFOLDER},
    };
    for (const auto& f : folders) {
        read_into(*f.target, SECTION_GENERAL, f.key, platform::join_path(s.data_folder, f.subfolder),
                  as_text);
        ensure_folder(*f.target);
    }

    read_into(s.debug_enabled, SECTION_GENERAL, KEY_DEBUG, DEF_DEBUG, boolean);
    read_into(s.company_name, SECTION_GENERAL, KEY_COMPANY_NAME, DEF_COMPANY_NAME, as_text);
    read_into(s.company_address, SECTION_GENERAL, KEY_COMPANY_ADDRESS, DEF_COMPANY_ADDRESS,
              as_text);
    read_into(s.report_author, SECTION_GENERAL, KEY_REPORT_AUTHOR, s.user_name, as_text);
    read_into(s.cal_daily_method, SECTION_GENERAL, KEY_CAL_DAILY_METHOD, DEF_CAL_DAILY_METHOD,
              int16);

    read_into(s.header_site, SECTION_PRINT_HEADER, KEY_SITE, DEF_HEADER_FIELD, as_text);
    read_into(s.header_project, SECTION_PRINT_HEADER, KEY_PROJECT, DEF_HEADER_FIELD, as_text);
    read_into(s.header_instrument, SECTION_PRINT_HEADER, KEY_INSTRUMENT, DEF_HEADER_FIELD,
              as_text);
    read_into(s.header_tag, SECTION_PRINT_HEADER, KEY_TAG, DEF_HEADER_FIELD, as_text);
    read_into(s.use_header, SECTION_PRINT_HEADER, KEY_USE_HEADER, DEF_USE_HEADER, boolean);
}
