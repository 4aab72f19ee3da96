#include "ui/main_window_rules.h"

#include "parameters/parameter_state.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"
#include "shell/start_settings.h"

EnableResult enable_controls_rules(const EnableInputs& in) {
    EnableResult r;
    const bool echo_off = in.echo_off;
    r.cso_tab_parameters = in.parameters_loaded;
    r.cso_tab_volume = in.volume_mode && in.parameters_loaded;
    r.cso_tab_flow = in.flow_mode && in.parameters_loaded;
    r.force_echo_off = in.software_mode == 0;
    // An identity without live echo monitoring has the echo off whatever the choice showed.
    const bool echo_off_now = echo_off || r.force_echo_off;

    r.menus["printparameters"] = in.parameters_loaded;
    r.menus["printchangedparameters"] = in.parameters_loaded;
    using namespace toolbar_key;
    for (const char* key : {OPEN_FILE, DOWNLOAD, SINGLEDOWNLOAD, MODEM})
        r.toolbar[key] = echo_off_now;
    for (const char* key : {UPLOAD, REFRESH})
        r.toolbar[key] = echo_off_now && in.parameters_loaded;
    for (const char* menu :
         {"openparameterfile", "saveparameterstofile", "openechofile", "printmenu", "reprogram",
          "mode", "setup", "calculator", "help", "file", "modem"})
        r.menus[menu] = echo_off_now;
    r.parameter_tab_access = in.access_level != 3;
    r.relay_parameters_present = in.system_type != 4;
    r.parameter_tab_relays = in.system_type != 4;
    r.menus["reprogram"] = echo_off_now && (in.access_level == 1 || in.access_level == 2);
    return r;
}

void set_relay_parameters_present(bool present) {
    const auto& lacked = parameter_state().lacked_by_set;
    for (int p : RELAY_PARAMETERS)
        definitions_table()[static_cast<size_t>(p)].present =
            present && !lacked[static_cast<size_t>(p)];
}

OtherMenusResult enable_othermenus_rules(int16_t operation_mode) {
    OtherMenusResult r;
    const bool cso = operation_mode == 1;
    const bool logging = operation_mode == 0;
    r.csomenu_checked = cso;
    r.openlogfile_visible = logging;
    r.loggingmenu_checked = logging;
    r.cso_file_entries_visible = cso;
    r.logging_tabs_visible = logging;
    r.cso_tabs_visible = cso;
    r.toolbar_visible = cso;
    r.space3_visible = !logging;
    r.quiet_commands = !logging;
    return r;
}

SoftwareModeMenus software_mode_menus(int16_t software_mode, int16_t access_level) {
    SoftwareModeMenus m;
    switch (software_mode) {
    case 0:
        m.icon = QStringLiteral("veltolog.ico");
        m.ProgramComm = m.ProgramVelto = true;
        m.bootload = false;
        m.veltoprogram = true;
        m.modem = false;
        break;
    case 1:
        m.icon = QStringLiteral("quillarn.ico");
        m.ProgramComm = m.ProgramVelto = false;
        m.bootload = m.veltoprogram = true;
        m.mnuDebug = false;
        break;
    case 2:
        m.icon = QStringLiteral("hartym.ico");
        m.calculator = true;
        m.ProgramComm = m.ProgramVelto = false;
        m.bootload = m.veltoprogram = true;
        break;
    default:
        break;
    }
    m.calculator = software_mode == 1 || software_mode == 2;
    if (access_level == 3)
        m.mnuDebug = false;
    return m;
}

Shortcut shortcut_for_key(QChar typed, int16_t language_index) {
    switch (typed.toUpper().unicode()) {
    case 'Y':
        return language_index == 0 ? Shortcut::EchoOn : Shortcut::None;
    case 'U':
        return language_index == 2 ? Shortcut::EchoOn : Shortcut::None;
    case 'J':
        return language_index == 1 ? Shortcut::EchoOn : Shortcut::None;
    case 'S':
        return language_index == 3 || language_index == 4 ? Shortcut::EchoOn : Shortcut::None;
    case 'N':
        return Shortcut::EchoOff;
    case 'X':
        return Shortcut::Exit;
    case 'R':
        return Shortcut::ToggleRaw;
    case 'O':
        return Shortcut::ToggleNormal;
    case 'L':
        return Shortcut::ToggleAverage;
    case 'D':
        return Shortcut::ToggleKovex;
    default:
        return Shortcut::None;
    }
}

int16_t next_parameter_list_mode(int16_t mode) {
    const int next = mode + 1;
    return static_cast<int16_t>(next > 3 || next < 0 ? 0 : next);
}

QString access_level_name(int16_t access_level) {
    switch (access_level) {
    case 1:
        return QStringLiteral("GOLDCARD");
    case 2:
        return ui_text(1266, QStringLiteral("Engineer")).toUpper();
    case 3:
        return ui_text(1378, QStringLiteral("User")).toUpper();
    default:
        return QStringLiteral("ANYBODY");
    }
}

QString main_window_caption(const QDateTime& now) {
    const QString caption =
        shell().application_title + QLatin1Char(' ') + PROGRAM_VERSION + QStringLiteral(" - ") +
        access_level_name(shell().access_level) + QLatin1Char(' ') +
        ui_text(1139, QStringLiteral("logged in")) + QLatin1Char(' ') +
        platform::format_date(now, QStringLiteral("dddd - dd mmm yyyy")) + QStringLiteral(" @ ") +
        platform::format_date(now, QStringLiteral("hh:nn:ss")).trimmed();
    return caption.trimmed();
}
