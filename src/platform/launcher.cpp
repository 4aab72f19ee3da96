#include "platform/launcher.h"

#include "platform/program_folder.h"

#include <QFileInfo>
#include <QProcess>

namespace platform {

namespace {

StartResult start_detached(const QString& path, const QStringList& args) {
    const QFileInfo info(path);
    if (!info.exists())
        return {false, 53, QStringLiteral("File not found")};
    if (!info.isFile() || !info.isExecutable())
        return {false, 75, QStringLiteral("Path/File access error")};
    QProcess p;
    p.setProgram(path);
    p.setArguments(args);
    p.setWorkingDirectory(program_folder());
    if (!p.startDetached())
        return {false, 5, QStringLiteral("Invalid procedure call or argument")};
    return {true, 0, {}};
}

ProgramStarter& starter() {
    static ProgramStarter s;
    return s;
}

} // namespace

StartResult start_program(const QString& path, const QStringList& args) {
    return starter() ? starter()(path, args) : start_detached(path, args);
}

void set_program_starter(ProgramStarter s) {
    starter() = std::move(s);
}

} // namespace platform
