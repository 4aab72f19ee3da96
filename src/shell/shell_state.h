#pragma once
// Program-wide state owned by the application shell: identity, log-in, folders, machine facts and
// every setting that start-up loads from general.ini. One instance for the run.

#include <QString>
#include <array>
#include <cstdint>

struct ShellState {
    // Identity and log-in
    QString ini_path;
    QString application_title;
    int16_t language_index = 0; // 0 English, 1 German, 2 French, 3 Italian, 4 Spanish
    int16_t start_logo = 0;     // brand variant 0, 1, 2
    int16_t software_mode = 1;  // 0 VeltoLog, 1 QuillarnPC, 2 Hartym
    int16_t operation_mode = 1; // 0 logging set-up, 1 CSO set-up
    int16_t access_level = 0;   // 1, 2 or 3 after log-in
    QString login_passcode;
    QString login_passcode_copy;
    bool about_box_mode = false;
    QString scratch_text_1, scratch_text_2, scratch_text_3, scratch_text_4;

    // Machine and locale, read once at start-up
    QString data_folder;
    QString decimal_separator;
    QString thousands_separator;
    QString locale_language_name;
    QString computer_name;
    QString user_name;

    // [General] link settings
    int16_t com_port = 0;
    double baud_rate = 0;
    double link_baud_rate = 0;
    QString comm_settings;
    QString telephone_number;

    // Echo view settings
    bool graph_background = true;
    int32_t chart_back_color = 0;
    bool chart_gradient = true;
    bool show_gate = true;
    bool show_span = true;
    std::array<int16_t, 4> trace_enabled{}; // "Get Trace 1".."Get Trace 4"
    std::array<double, 4> trace_interval{}; // "Trace 1 Interval".."Trace 4 Interval"
    double playback_interval = 0;
    bool echo_light_on = false;
    bool show_status_overlay = false;
    bool show_level_overlay = false;
    bool show_temperature_overlay = false;

    // Folders
    QString parameter_path;
    QString echo_path;
    QString datalog_path;
    QString export_path;

    // Reports and print header
    bool debug_enabled = false;
    QString company_name;
    QString company_address;
    QString report_author;
    int16_t cal_daily_method = 0;
    QString header_site, header_project, header_instrument, header_tag;
    bool use_header = false;

    // Main window
    QString crlf = QStringLiteral("\r\n");
    double screen_factor_x = 1.0;
    double screen_factor_y = 1.0;
};

ShellState& shell();
void reset_shell_state();
