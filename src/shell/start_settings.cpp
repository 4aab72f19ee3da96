#include "shell/start_settings.h"
#include "shell/toolkit_translations.h"

#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/vb.h"
#include "shell/data_folder.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

namespace {

// Reads a whole-number key; a value that does not convert leaves `target` as it was.
void read_int16(int16_t& target, QLatin1String key, QLatin1String def) {
    const QString text = read_ini(shell().ini_path, ini::SECTION_GENERAL, key, def);
    if (const auto v = platform::text_to_int16(text))
        target = *v;
}

struct FirstRunChoice {
    const char* language_name_part;
    int16_t language_index;
    int16_t start_logo;
};
// Tested in this order; the first language name that the locale's contains wins.
constexpr FirstRunChoice FIRST_RUN_CHOICES[] = {
    {"GERMAN", 1, 1},
    {"FRENCH", 2, 1},
    {"ITALIAN", 3, 2},
    {"SPANISH", 4, 0},
};

} // namespace

void load_start_settings() {
    ShellState& s = shell();
    s.ini_path = platform::program_file(ini::SETTINGS_FILE);
    read_system_info();

    if (file_exists(s.ini_path)) {
        read_int16(s.language_index, ini::KEY_LANGUAGE, ini::DEF_LANGUAGE);
        read_int16(s.start_logo, ini::KEY_START_LOGO, ini::DEF_START_LOGO);
        read_int16(s.software_mode, ini::KEY_SOFTWARE_MODE, ini::DEF_SOFTWARE_MODE);
    } else {
        s.language_index = 0;
        s.start_logo = 0;
        for (const auto& choice : FIRST_RUN_CHOICES) {
            if (s.locale_language_name.contains(QLatin1String(choice.language_name_part))) {
                s.language_index = choice.language_index;
                s.start_logo = choice.start_logo;
                break;
            }
        }
        s.software_mode = 1;
        s.operation_mode = 1;
        write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_LANGUAGE,
                  QString::number(s.language_index));
        write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_START_LOGO,
                  QString::number(s.start_logo));
        write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SOFTWARE_MODE, QStringLiteral("1"));
    }

    const QString title = application_title_for(s.software_mode, s.start_logo);
    if (!title.isEmpty())
        s.application_title = title;
    else if (s.application_title.isEmpty())
        s.application_title = BUILT_IN_TITLE;
    platform::set_application_title(s.application_title);
    // The start window's own message boxes already speak the chosen language.
    use_toolkit_translations(s.language_index);

    s.data_folder = get_data_folder(s.start_logo, s.application_title);

    if (s.software_mode == 0 || s.software_mode == 1) {
        s.operation_mode = s.software_mode;
        write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_MODE_OPERATION,
                  QString::number(s.operation_mode));
    }
}

QString application_title_for(int16_t software_mode, int16_t start_logo) {
    switch (software_mode) {
    case 0: return QStringLiteral("VeltoLog");
    case 1: return start_logo == 2 ? QStringLiteral("VeltoRovenPC") : QStringLiteral("QuillarnPC");
    case 2: return QStringLiteral("Hartym");
    default: return {};
    }
}

QString start_picture_name(int16_t start_logo) {
    switch (start_logo) {
    case 1: return QStringLiteral("Images/t_painting.jpg");
    case 2: return QStringLiteral("pordyvastrelo2.jpg");
    default: return QStringLiteral("Images/d_painting.jpg");
    }
}

int16_t access_level_for_passcode(const QString& typed) {
    const QString passcode = typed.trimmed();
    if (passcode == PASSCODE_LEVEL_1)
        return 1;
    if (passcode == PASSCODE_LEVEL_2)
        return 2;
    return 3;
}

PasscodePrompt passcode_prompt(int16_t language_index) {
    switch (language_index) {
    case 1:
        return {QStringLiteral("Passwort"),
                QStringLiteral("Bitte geben Sie das Passwort ein und druecken dann Enter")};
    case 3:
        return {QStringLiteral("Codice di Accesso"),
                QStringLiteral("Per piacere, inserire il Codice di Accesso e poi premere Enter")};
    case 4:
        return {QStringLiteral("Codigo Acceso"),
                QStringLiteral("Por favor introduzca el Codigo de Acceso y pulse Enter")};
    default:
        return {QStringLiteral("Passcode"),
                QStringLiteral("Please enter Passcode then press Enter")};
    }
}
