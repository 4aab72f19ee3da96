#pragma once
// The work behind the main window's menus, keys and start-up calls that other parts of the
// program do. Each arrives with its own feature and is installed here; a menu entry or toolbar
// key whose work is missing stays disabled, so nothing looks done that was not.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

struct MainWindowServices {
    // Parameters
    std::function<void()> download_parameters;  // toolbar "download"
    std::function<void()> upload_parameters;    // toolbar "upload"
    std::function<void()> get_parameters_file;  // openparameterfile, toolbar "file"
    std::function<void()> save_parameters_file; // saveparameterstofile
    std::function<void(bool, bool)> list_changed_parameters;
    std::function<void(bool)> list_all_parameters;
    std::function<QString(int)> get_param_tooltip;
    std::function<void()> refresh_parameter_texts; // after a change of language

    // Link
    std::function<void()> show_interactive_window; // toolbar "singledownload" (modal)
    std::function<void()> show_modem_window;       // modem menu and key
    std::function<void()> show_debug_window;       // mnuDebug
    std::function<void()> program_velto, program_comm, bootload, veltoprogram;
    std::function<void()> close_port;

    // Logging
    std::function<void()> open_log_file;   // openlogfile (the log chart's open action)
    std::function<void()> import_tee_file; // mnuImport
    std::function<void()> legend_tuck_away;
    std::function<void()> legend_unload;

    // Echo
    std::function<void()> apply_saved_view_settings;
    std::function<void()> getchartbackground;
    std::function<void()> show_status, show_level, show_temperature;
    std::function<void(int)> indicator_click;
    std::function<void()> playbutton_pressed;
    std::function<void()> play_button;

    // Reports and tools
    std::function<void()> print_echo, print_parameters, print_changed_parameters;
    std::function<void()> show_calculator; // modal
    std::function<void()> show_report;     // modeless

    // Shell
    std::function<void()> show_setup_dialog; // modal; given the frame and height to use
    // Companion windows whose captions the main window's texts set; nullptr when not built.
    std::function<QWidget*()> parameter_window; // ParameterWindow
    std::function<QWidget*()> setup_dialog;       // SetupDialog
    std::function<QWidget*()> print_header;       // PrintHeaderWindow (unloaded after its texts)

    // How the program ends and a modal window runs; tests replace them.
    std::function<void()> end_program;
    std::function<void(QDialog&)> run_modal;
};
