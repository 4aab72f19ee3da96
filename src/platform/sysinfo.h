#pragma once
// What the program asks of the operating system about the user and the machine. One struct, so
// that tests can fill it for any locale or machine.

#include <QString>

namespace platform {

struct SystemInfo {
    QString language_name;     // English name of the user locale's language, e.g. "German"
    QString decimal_separator; // e.g. "," for German
    QString thousands_separator;
    QString number_locale; // e.g. "de_Latn_CH": whose notation typed numbers follow
    QString computer_name;
    QString user_name;
    QString local_appdata; // per-user application data folder; empty when there is none
    // The locale's date conventions, in format_date's pattern letters (see vb.h).
    QString locale_name; // e.g. "de_Latn_DE": the language of day and month names
    QString date_separator;
    QString time_separator;
    QString short_date_format; // e.g. "dd.mm.yyyy"
    QString long_date_format;  // e.g. "dddd, d. mmmm yyyy"
    QString long_time_format;  // e.g. "hh:nn:ss"
};

// The information of this machine and user, read once, or the one set by a test.
SystemInfo system_info();

// Reads the real values afresh. The locale follows the environment as the C library does: LC_ALL,
// then the category's own variable (LC_NUMERIC for the separators, LC_TIME for dates and
// LC_MESSAGES for the language), then LANG; the C and POSIX locales count as British English.
// The local application data folder is created when missing.
SystemInfo query_system_info();

// Tests: replaces what system_info() returns; reset_system_info() goes back to the real values.
void set_system_info(const SystemInfo &info);
void reset_system_info();

// Makes the number and date conversions of vb.h follow `info` (start-up does this once).
void use_system_formats(const SystemInfo &info);

// A Qt date/time format ("dd.MM.yy", "HH:mm:ss") in format_date's letters ("dd.mm.yy",
// "hh:nn:ss").
QString date_pattern_from_qt(const QString &qt_format);

} // namespace platform
