#pragma once
// The per-user data folder, the machine and locale facts read once at start-up, and the
// file-exists test.

#include <QString>
#include <cstdint>

class QLineEdit;

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

// The message that refuses a text typed as a number that is no number of the locale
// (platform::typed_number): it quotes the text and names the decimal separator, with a number
// written as the locale writes it; where the locale groups digits with a space it says so in
// words, since the spaces look alike. These refusals quote what was typed apart from the message,
// its invisible controls shown by their codes ("<U+202E>12,5"), so that nothing typed can turn
// the message round.
QString number_notation_message(const QString& typed);
// The message that refuses a number with a fraction where only whole numbers are taken.
QString whole_number_message(const QString& typed);
// The message that refuses a number outside the limits of the box it was typed in; the limits are
// written as the locale writes numbers.
QString range_refusal_message(const QString& typed, double minimum, double maximum);
// The same for a box that takes any number from `minimum` up.
QString minimum_refusal_message(const QString& typed, double minimum);
// The refusal of a typed text: a text that reads as a number was refused for its fraction
// (whole_number_message); anything else is no number of the locale (number_notation_message).
QString typed_number_refusal(const QString& typed);
// Refuses what the user typed into `box`: its message (`message`, or else typed_number_refusal),
// the box showing `put_back` again, and the user back in it with its text selected
// (platform::return_to_box).
void refuse_typed_number(QLineEdit* box, const QString& put_back, const QString& message = {});

QString get_computer_name();
QString get_network_user_name();

// The text before the first NUL character; "" when the text holds none.
QString cut_at_nul(const QString& text);

// True for an existing plain file that is not hidden; false for a folder, a device or a bad path.
bool file_exists(const QString& path);
