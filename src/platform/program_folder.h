#pragma once
// The program folder (where the executable and its shipped files lie) and the folder for files
// that the design keeps there when that folder cannot be written.

#include <QString>

namespace platform {

// The folder of the executable, without a trailing separator. Tests may set another.
QString program_folder();
void set_program_folder(const QString &folder);

// The program folder when it is writable; otherwise a per-user configuration folder for the
// program ($XDG_CONFIG_HOME/quillarnpc, or ~/.config/quillarnpc), created when missing.
QString writable_program_folder();

// The command line after the program name, blank-separated; callers upper-case it themselves.
QString command_line();
void set_command_line(const QString &text);

// Path joining with "/" that tolerates a trailing separator on the left part.
QString join_path(const QString &folder, const QString &name);

} // namespace platform
