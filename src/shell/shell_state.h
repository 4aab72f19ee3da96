#pragma once
// Program-wide state owned by the application shell: identity, log-in, folders, machine facts and
// every setting that start-up loads from general.ini. One instance for the run.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <map>

// The built-in key=label lists of the coded parameters, in the current language: 54 lists, each
// "key=label" pairs joined by ",". Lookup codes with one list are in `luk` by their number; the
// codes with variants, and the lists chosen by units code or parameter number, have a field each.
struct OptionLists {
    std::map<int, QString> luk; // "C_LUK<n>" -> list, for the 32 codes that have one list

    QString luk8_current; // analogue output, current (P99 is 2 or 3)
    QString luk8_voltage; // analogue output, voltage (P99 is 1 or 4)
    QString luk12_flow;   // the unit answered 1 to "/p61"
    QString luk12_volume; // the unit answered 2 to "/p61"
    QString luk12_short;  // otherwise
    QString luk35_flow, luk35_volume, luk35_short; // chosen as the C_LUK12 lists
    QString luk19_control; // the P99 box holds 1 or 2
    QString luk19_alarm;   // otherwise
    QString luk14_standard;                 // standard transducer list
    QString luk14_not_available;            // the P100 box holds 4
    QString luk14_other_first;              // P72 is 1 and software 1.63 or later
    QString luk14_other_first_not_available; // both
    QString off;            // "0=Off": U_RF after a 0, U_ID two after a 0
    QString off_general;    // "0=Off,1=General": U_RF after a 2
    QString relay_identity; // U_ID two after a 1 ("1=General,2=High,...")
    // (U_RF after a 1 takes luk[20]; U_ID two after a 2 takes luk[1].)
    std::array<QString, 5> flow_element; // P701 lists for P700 = 1..5 (P700 0 takes the first)
};

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

    // The settings below start at their general.ini defaults, so that a value in the file that
    // does not convert leaves a usable setting behind.

    // [General] link settings
    int16_t com_port = 1;
    int32_t baud_rate = 19200;
    int32_t link_baud_rate = 19200;
    QString comm_settings = QStringLiteral("19200,N,8,1");
    QString telephone_number;

    // Echo view settings
    bool graph_background = true;
    int32_t chart_back_color = 8454143; // &H80FFFF
    bool chart_gradient = true;
    bool show_gate = true;
    bool show_span = true;
    std::array<int16_t, 4> trace_enabled{1, 0, 0, 0};   // "Get Trace 1".."Get Trace 4"
    std::array<double, 4> trace_interval{5, 20, 20, 20}; // "Trace 1 Interval".."Trace 4 Interval"
    double playback_interval = 1;
    bool echo_light_on = true;
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

    // Texts: option lists and unit words of the current language
    OptionLists option_lists;
    QStringList distance_unit_names;        // 0..4
    QStringList volume_unit_names;          // 0..6
    QStringList time_unit_names;            // 0..4
    QStringList quantity_unit_names;        // 0..9
    QStringList totaliser_multiplier_names; // 0..9
    bool language_file_missing_reported = false; // the user hears of a missing lang.def once

    // Main window
    QString crlf = QStringLiteral("\r\n");
    std::array<QString, 8> status_label_texts; // " " & text 1170 + i & " = ", for the read-outs
    double screen_factor_x = 1.0;
    double screen_factor_y = 1.0;
};

ShellState& shell();
void reset_shell_state();
