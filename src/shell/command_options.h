#pragma once
// The program's command line: our own "--" options, and the words the program itself looks for
// ("SIM", "UNSCALE").

#include <QString>
#include <QStringList>

struct StartOptions {
    QStringList port_mappings; // "N=PATH" of each --map-port: COM N is the device at PATH
    QString command_line;      // every other word, blank-separated, as the program sees it
};

// `arguments` without the program name. Unknown "--" options are dropped (with their "=value").
StartOptions parse_start_options(const QStringList& arguments);
