#pragma once
// Starting another program of our own beside this one (the firmware tool): by path and argument
// list, never through a shell. Tests install a stand-in that records the call.

#include <QString>
#include <QStringList>
#include <functional>

namespace platform {

struct StartResult {
    bool started = false;
    int error_number = 0;      // the run-time error a failed start gives (53: file not found)
    QString error_description; // "File not found"
};

using ProgramStarter = std::function<StartResult(const QString& path, const QStringList& args)>;

// Starts `path` detached with `args`, in the program's folder.
StartResult start_program(const QString& path, const QStringList& args);

// Tests: replaces the starter; an empty function goes back to the real one.
void set_program_starter(ProgramStarter starter);

} // namespace platform
