#pragma once
// What the program asks of the operating system about the user and the machine. One struct, so
// that tests can fill it for any locale or machine.

#include <QString>

namespace platform {

struct SystemInfo {
    QString language_name;      // English name of the user locale's language, e.g. "German"
    QString decimal_separator;  // e.g. "," for German
    QString thousands_separator;
    QString computer_name;
    QString user_name;
    QString local_appdata;      // per-user application data folder; empty when there is none
};

// The information of this machine and user, or the one set by a test.
SystemInfo system_info();

// Reads the real values afresh (QLocale::system() follows LANG / LC_ALL).
SystemInfo query_system_info();

// Tests: replaces what system_info() returns; reset_system_info() goes back to the real values.
void set_system_info(const SystemInfo& info);
void reset_system_info();

} // namespace platform
