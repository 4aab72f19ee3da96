#include "shell/data_folder.h"

#include "platform/program_folder.h"
#include "platform/sysinfo.h"
#include "shell/shell_state.h"

#include <QDir>
#include <QFileInfo>

namespace {
bool make_folder(const QString& path) {
    return QFileInfo(path).isDir() || QDir().mkdir(path);
}

// Removes ordinary blanks only: a locale's no-break space separator must survive.
QString trim_blanks(const QString& text) {
    qsizetype first = 0, last = text.size();
    while (first < last && text[first] == QLatin1Char(' '))
        ++first;
    while (last > first && text[last - 1] == QLatin1Char(' '))
        --last;
    return text.mid(first, last - first);
}
} // namespace

QString get_local_appdata() {
    const QString folder = platform::system_info().local_appdata;
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return QStringLiteral("-1");
    return folder;
}

QString get_data_folder(int16_t brand, const QString& program_folder) {
    const QString base = get_local_appdata();
    if (base == QLatin1String("-1"))
        return platform::writable_program_folder();
    const int b = brand >= 0 && brand <= 2 ? brand : 0;
    const QString brand_folder = platform::join_path(base, QLatin1String(BRAND_FOLDERS[b]));
    const QString data = platform::join_path(brand_folder, program_folder);
    if (!make_folder(brand_folder) || !make_folder(data))
        return platform::writable_program_folder();
    return data;
}

void read_system_info() {
    const platform::SystemInfo info = platform::system_info();
    ShellState& s = shell();
    s.locale_language_name = trim_blanks(info.language_name).toUpper();
    s.decimal_separator = trim_blanks(info.decimal_separator);
    s.thousands_separator = trim_blanks(info.thousands_separator);
    s.computer_name = get_computer_name();
    s.user_name = get_network_user_name();
    if (!info.decimal_separator.isEmpty())
        platform::use_system_formats(info);
}

QString get_computer_name() {
    return platform::system_info().computer_name;
}

QString get_network_user_name() {
    return platform::system_info().user_name;
}

QString cut_at_nul(const QString& text) {
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? QString() : text.left(nul);
}

bool file_exists(const QString& path) {
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isFile() && !info.isHidden();
}
