#pragma once
// The main window's rules over plain state: which menus, toolbar keys and tabs the user may
// reach, what the identity changes, what a typed key means and what the title bar says. The
// window applies them; tests read them without a window.

#include <QChar>
#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

// The toolbar keys, compared exactly.
namespace toolbar_key {
inline constexpr const char* MODEM = "modem";
inline constexpr const char* MINIMIZED = "minimized";
inline constexpr const char* DOWNLOAD = "download";
inline constexpr const char* UPLOAD = "upload";
inline constexpr const char* TEMPERATURE_DISPLAY = "temperature_display";
inline constexpr const char* LEVEL_DISPLAY = "level_display";
inline constexpr const char* STATUS_DISPLAY = "status_display";
inline constexpr const char* SINGLEDOWNLOAD = "singledownload";
inline constexpr const char* REFRESH = "refresh";
inline constexpr const char* OPEN_FILE = "file";
inline constexpr const char* CLIPBOARD = "clipboard";
inline constexpr const char* RECORD = "record";
inline constexpr const char* EXIT = "exit";
} // namespace toolbar_key

// The relay parameters a system of type 4 does not have.
inline constexpr std::array<int, 12> RELAY_PARAMETERS = {210, 211, 212, 213, 214, 218,
                                                         220, 221, 222, 223, 224, 228};

struct EnableInputs {
    bool echo_off = true; // the regular echo choice is "No"
    bool parameters_loaded = false;
    bool volume_mode = false;
    bool flow_mode = false;
    int16_t access_level = 0;
    int16_t software_mode = 1;
    int system_type = 0;
};

struct EnableResult {
    // Tabs 1..3 of the CSO set-up tab set (parameters, volume, flow)
    bool cso_tab_parameters = false;
    bool cso_tab_volume = false;
    bool cso_tab_flow = false;
    bool force_echo_off = false;       // select the offline choice
    std::map<QString, bool> menus;     // menu name -> Enabled
    std::map<QString, bool> toolbar;   // toolbar key -> Enabled
    bool parameter_tab_access = false; // tab 8 of the parameter set-up tab set
    bool parameter_tab_relays = false; // tab 1 of the parameter set-up tab set
    bool relay_parameters_present = false;
};

// What enable_controls sets, in its row order (a later row wins for the same target).
EnableResult enable_controls_rules(const EnableInputs& in);

// The relay parameters' presence in the definitions table as enable_controls sets it. A parameter
// the loaded set lacks stays absent: brought back, it would show and send a default as the set's.
void set_relay_parameters_present(bool present);

// What enable_othermenus sets for an operation mode (0 logging set-up, else CSO set-up).
struct OtherMenusResult {
    bool csomenu_checked = false;
    bool loggingmenu_checked = false;
    bool openlogfile_visible = false;
    bool cso_file_entries_visible = false; // openechofile, openparameterfile,
                                           // saveparameterstofile, printmenu
    bool logging_tabs_visible = false;     // SSTab1(0)
    bool cso_tabs_visible = false;         // SSTab1(1)
    bool toolbar_visible = false;          // Toolbar1
    bool space3_visible = false;
    bool quiet_commands = false; // only set (True) in the CSO mode
};
OtherMenusResult enable_othermenus_rules(int16_t operation_mode);

// The identity's icon and menus at start-up. A menu left nullopt is not touched.
struct SoftwareModeMenus {
    QString icon; // file in the program folder; empty for an unknown identity
    std::optional<bool> calculator, ProgramComm, ProgramVelto, bootload, veltoprogram, modem,
        mnuDebug;
};
// The identity table, followed by the window's own start-up rules: the calculator only for
// identities 1 and 2, and no debug terminal at access level 3.
SoftwareModeMenus software_mode_menus(int16_t software_mode, int16_t access_level);

// The single-key shortcuts of the main window.
enum class Shortcut {
    None,
    EchoOn,
    EchoOff,
    Exit,
    ToggleRaw,
    ToggleNormal,
    ToggleAverage,
    ToggleKovex
};
// The letter typed (any case) in a language. A yes-letter of another language means nothing.
Shortcut shortcut_for_key(QChar typed, int16_t language_index);

// The parameter grid's views in turn: 0 hidden, 1 changed, 2 hidden, 3 all.
int16_t next_parameter_list_mode(int16_t mode);

// A check box's next value for a toggle key: 0 becomes 1, anything else 0.
inline int toggled_check_value(int value) {
    return value == 0 ? 1 : 0;
}

// "GOLDCARD" for level 1, texts 1266 and 1378 in capitals for levels 2 and 3, else "ANYBODY".
QString access_level_name(int16_t access_level);

// Application title, version, access level name, text 1139, date and time, as the title bar
// shows them.
QString main_window_caption(const QDateTime& now);
