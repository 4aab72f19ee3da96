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

// Where a file that the design keeps in the program folder (general.ini) is read and written: in
// the program folder when it is writable, else in writable_program_folder(). A per-user file that
// does not exist yet starts as a copy of the program folder's, as the platform's own redirection
// did, so that what was shipped or set beside the program still counts; when no copy can be made
// the program folder's file is read where it is.
QString program_file(const QString &name);

// The command line after the program name, blank-separated; callers upper-case it themselves.
QString command_line();
void set_command_line(const QString &text);

// Path joining with "/" that tolerates a trailing separator on the left part.
QString join_path(const QString &folder, const QString &name);

} // namespace platform
