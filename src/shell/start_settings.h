#pragma once
// What the start window settles before anyone logs in: where general.ini is, the identity, brand
// and language (from the user's locale on the first run), the application title, the data folder
// and the start picture; and the passcode rule that sets the access level.

#include <QLatin1String>
#include <QString>
#include <cstdint>

inline constexpr QLatin1String PROGRAM_VERSION{"5.3"};
// The title when "Software Mode" holds none of the known identities.
inline constexpr QLatin1String BUILT_IN_TITLE{"QuillarnPC"};

inline constexpr QLatin1String PASSCODE_LEVEL_1{"318406"};
inline constexpr QLatin1String PASSCODE_LEVEL_2{"905173"};

// Fills ini_path, the locale and machine globals, language_index, start_logo, software_mode,
// operation_mode, application_title and data_folder of shell(), writing the first-run keys when
// general.ini is missing and "Mode Operation" for identities 0 and 1.
void load_start_settings();

// "VeltoLog", "QuillarnPC", "VeltoRovenPC" (identity 1 under brand 2) or "Hartym"; empty for an
// unknown identity.
QString application_title_for(int16_t software_mode, int16_t start_logo);

// The start picture of a brand, relative to the program folder.
QString start_picture_name(int16_t start_logo);

// Access level 1 or 2 for the two stored passcodes, 3 for anything else; blanks around the typed
// text do not count.
int16_t access_level_for_passcode(const QString& typed);

// The passcode prompt title and line in a language (English for an unknown one).
struct PasscodePrompt {
    QString title;
    QString line;
};
PasscodePrompt passcode_prompt(int16_t language_index);
