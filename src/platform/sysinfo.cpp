#include "platform/sysinfo.h"

#include <QLocale>
#include <QStandardPaths>
#include <QSysInfo>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {
std::optional<SystemInfo>& override_info() {
    static std::optional<SystemInfo> o;
    return o;
}
} // namespace

SystemInfo query_system_info() {
    SystemInfo s;
    const QLocale loc = QLocale::system();
    if (loc.language() != QLocale::C)
        s.language_name = QLocale::languageToString(loc.language());
    s.decimal_separator = loc.decimalPoint();
    s.thousands_separator = loc.groupSeparator();
    s.computer_name = QSysInfo::machineHostName();
    if (const passwd* pw = getpwuid(getuid()))
        s.user_name = QString::fromLocal8Bit(pw->pw_name);
    if (s.user_name.isEmpty())
        s.user_name = qEnvironmentVariable("USER");
    s.local_appdata = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return s;
}

SystemInfo system_info() {
    if (override_info())
        return *override_info();
    return query_system_info();
}

void set_system_info(const SystemInfo& info) { override_info() = info; }
void reset_system_info() { override_info().reset(); }

} // namespace platform
