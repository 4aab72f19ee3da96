#pragma once
// The program's command line: our own "--" options (--help, --version, --map-port N=PATH), and
// the words the program itself looks for anywhere on its command line ("SIM", "UNSCALE").
// Parsing needs no window, so --help and --version answer on a machine without a display.

#include <QString>
#include <QStringList>
#include <functional>

struct StartOptions {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString message;           // Help, Version: what to print; Error: what was wrong
    QStringList port_mappings; // "N=PATH" of each --map-port: COM N is the device at PATH
    QString command_line;      // every other word, blank-separated, as the program sees it
};

// `arguments` without the program name, and without the toolkit's own options (-platform, ...).
StartOptions parse_start_options(const QStringList& arguments);

// True when `arguments` (without the program name) ask for --help or --version, which are
// answered before any window system is looked for.
bool asks_for_console_answer(const QStringList& arguments);

// The one line printed when no display can be reached, or an empty text when one can be: the
// toolkit would otherwise stop with a page of plug-in diagnostics. `env` reads an environment
// variable; `arguments` may name a platform of their own with -platform.
QString missing_display_message(const QStringList& arguments,
                                const std::function<QString(const char*)>& env);
