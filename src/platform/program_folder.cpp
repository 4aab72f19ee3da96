#include "platform/program_folder.h"

#include "platform/text_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace platform {
namespace {
QString &folder_override() {
    static QString f;
    return f;
}
QString &command_override() {
    static QString c;
    return c;
}
bool &command_set() {
    static bool b = false;
    return b;
}
} // namespace

QString program_folder() {
    if (!folder_override().isEmpty())
        return folder_override();
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

void set_program_folder(const QString &folder) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    folder_override() = f;
}

QString writable_program_folder() {
    const QString folder = program_folder();
    QTemporaryFile probe(join_path(folder, QStringLiteral(".write-test-XXXXXX")));
    if (probe.open())
        return folder;
    QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    const QString own = join_path(config, QStringLiteral("quillarnpc"));
    QDir().mkpath(own);
    return own;
}

QString program_file(const QString &name) {
    const QString folder = writable_program_folder();
    const QString path = join_path(folder, name);
    const QString beside = join_path(program_folder(), name);
    if (folder == program_folder() || QFileInfo::exists(path) || !QFileInfo(beside).isFile())
        return path;
    const auto bytes = read_file_bytes(beside);
    if (!bytes)
        return path;
    return write_file_atomically(path, *bytes) ? path : beside;
}

QString command_line() {
    if (command_set())
        return command_override().toUpper();
    QStringList args = QCoreApplication::instance() ? QCoreApplication::arguments() : QStringList();
    if (!args.isEmpty())
        args.removeFirst();
    return args.join(QLatin1Char(' ')).toUpper();
}

void set_command_line(const QString &text) {
    command_override() = text;
    command_set() = true;
}

QString join_path(const QString &folder, const QString &name) {
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

} // namespace platform
