#pragma once
// The per-user data folder, the machine and locale facts read once at start-up, and the
// file-exists test.

#include <QString>
#include <cstdint>

// Brand folders inside the local application data folder, by `start_logo`.
inline constexpr const char* BRAND_FOLDERS[] = {"Dravik", "Tamzo", "PVastrelo"};

// The user's local application data folder, created when missing; "-1" when there is none or it
// cannot be created.
QString get_local_appdata();

// The brand folder (by `brand`; a brand outside 0..2 takes brand 0's) inside the local
// application data folder, then the folder `program_folder` (the application title) inside it,
// each created when missing. Without a usable local application data folder, or when a folder
// cannot be made, the writable program folder.
QString get_data_folder(int16_t brand, const QString& program_folder);

// Fills the locale and machine globals of shell() and the separators of the number conversions.
void read_system_info();

QString get_computer_name();
QString get_network_user_name();

// The text before the first NUL character; "" when the text holds none.
QString cut_at_nul(const QString& text);

// True for an existing plain file that is not hidden; false for a folder, a device or a bad path.
bool file_exists(const QString& path);
