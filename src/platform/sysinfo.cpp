#include "platform/sysinfo.h"

#include "platform/vb.h"

#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QSysInfo>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace platform {
namespace {

std::optional<SystemInfo> &override_info() {
    static std::optional<SystemInfo> o;
    return o;
}

std::optional<SystemInfo> &cached_info() {
    static std::optional<SystemInfo> c;
    return c;
}

// The script a C library locale names by its modifier ("ks_IN@devanagari", "sr_RS@latin").
QString script_of_modifier(const QString &modifier) {
    static const std::pair<const char *, const char *> scripts[] = {
        {"latin", "Latn"}, {"cyrillic", "Cyrl"}, {"devanagari", "Deva"}};
    for (const auto &[word, code] : scripts)
        if (modifier == QLatin1String(word))
            return QLatin1String(code);
    return {};
}

QLocale locale_for(const char *category) {
    QString name;
    for (const char *var : {"LC_ALL", category, "LANG"}) {
        name = qEnvironmentVariable(var);
        if (!name.isEmpty())
            break;
    }
    const QString script = script_of_modifier(name.section(QLatin1Char('@'), 1).toLower());
    name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    if (!script.isEmpty() && name.count(QLatin1Char('_')) == 1)
        name.replace(QLatin1Char('_'), QLatin1Char('_') + script + QLatin1Char('_'));
    const QLocale british(QLocale::English, QLocale::UnitedKingdom);
    if (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
        return british;
    const QLocale l(name);
    return l.language() == QLocale::C ? british : l;
}

// The first character of a format that is no letter: its separator. The invisible marks that
// keep a right-to-left date in order (U+200F in "d\u200F/M\u200F/yyyy") separate nothing.
QString separator_of(const QString &qt_format, const QString &fallback) {
    bool quoted = false;
    for (QChar c : qt_format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace() && c.category() != QChar::Other_Format)
            return QString(c);
    }
    return fallback;
}

// The locale's name with its script: "ks_Deva_IN" and "ks_IN" write numbers with other marks.
QString whole_name(const QLocale &l) {
    return QLocale::languageToCode(l.language()) + QLatin1Char('_') +
           QLocale::scriptToCode(l.script()) + QLatin1Char('_') +
           QLocale::territoryToCode(l.territory());
}

} // namespace

QString date_pattern_from_qt(const QString &qt) {
    QString out;
    qsizetype i = 0;
    while (i < qt.size()) {
        const QChar c = qt[i];
        if (c == QLatin1Char('\'')) {
            const qsizetype close = qt.indexOf(QLatin1Char('\''), i + 1);
            const qsizetype end = close < 0 ? qt.size() : close;
            const QString text = qt.mid(i + 1, end - i - 1);
            out += text.isEmpty() ? QStringLiteral("\\'") // '' is a quote character
                                  : QLatin1Char('"') + text + QLatin1Char('"');
            i = end + 1;
            continue;
        }
        qsizetype run = 0;
        while (i + run < qt.size() && qt[i + run] == c)
            ++run;
        switch (c.unicode()) {
        case u'd':
            out += QString(run, QLatin1Char('d'));
            break;
        case u'M':
            out += QString(run, QLatin1Char('m'));
            break;
        case u'y':
            out += QString(run, QLatin1Char('y'));
            break;
        case u'H':
        case u'h':
            out += QString(run, QLatin1Char('h'));
            break;
        case u'm':
            out += QString(run, QLatin1Char('n'));
            break;
        case u's':
            out += QString(run, QLatin1Char('s'));
            break;
        case u'A':
        case u'a':
            out += c == QLatin1Char('A') ? QStringLiteral("AM/PM") : QStringLiteral("am/pm");
            if (i + 1 < qt.size() && qt[i + 1].toLower() == QLatin1Char('p'))
                run = 2;
            else
                run = 1;
            break;
        case u'z':
        case u't': // milliseconds and the time zone are not shown by the original's formats
            while (out.endsWith(QLatin1Char(' ')) || out.endsWith(QLatin1Char('.')))
                out.chop(1);
            break;
        default:
            // Letters that format_date would take as pattern letters stay literal.
            for (qsizetype k = 0; k < run; ++k) {
                if (c.isLetter())
                    out += QLatin1Char('\\');
                out += c;
            }
            break;
        }
        i += run;
    }
    return out.trimmed();
}

SystemInfo query_system_info() {
    SystemInfo s;
    const QLocale messages = locale_for("LC_MESSAGES");
    const QLocale numeric = locale_for("LC_NUMERIC");
    const QLocale time = locale_for("LC_TIME");
    s.language_name = QLocale::languageToString(messages.language());
    s.decimal_separator = numeric.decimalPoint();
    s.thousands_separator = numeric.groupSeparator();
    s.number_locale = whole_name(numeric);

    s.locale_name = whole_name(time);
    const QString qt_short = time.dateFormat(QLocale::ShortFormat);
    const QString qt_time = time.timeFormat(QLocale::LongFormat);
    s.date_separator = separator_of(qt_short, QStringLiteral("/"));
    s.time_separator = separator_of(qt_time, QStringLiteral(":"));
    s.short_date_format = date_pattern_from_qt(qt_short);
    // Short dates carry the full year, as the original platform's do, so they read back safely.
    if (!s.short_date_format.contains(QLatin1String("yyyy")))
        s.short_date_format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    s.long_date_format = date_pattern_from_qt(time.dateFormat(QLocale::LongFormat));
    s.long_time_format = date_pattern_from_qt(qt_time);

    s.computer_name = QSysInfo::machineHostName();
    if (const passwd *pw = getpwuid(getuid()))
        s.user_name = QString::fromLocal8Bit(pw->pw_name);
    if (s.user_name.isEmpty())
        s.user_name = qEnvironmentVariable("USER");
    const QString appdata = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!appdata.isEmpty() && QDir().mkpath(appdata))
        s.local_appdata = appdata;
    return s;
}

SystemInfo system_info() {
    if (override_info())
        return *override_info();
    if (!cached_info())
        cached_info() = query_system_info();
    return *cached_info();
}

void set_system_info(const SystemInfo &info) {
    override_info() = info;
}

void reset_system_info() {
    override_info().reset();
    cached_info().reset();
}

void use_system_formats(const SystemInfo &info) {
    auto &n = number_separators();
    n.decimal = info.decimal_separator.isEmpty() ? QStringLiteral(".") : info.decimal_separator;
    n.thousands = info.thousands_separator;
    n.locale = info.number_locale;
    DateFormats f; // anything the information leaves empty keeps its default
    if (!info.date_separator.isEmpty())
        f.date_separator = info.date_separator;
    if (!info.time_separator.isEmpty())
        f.time_separator = info.time_separator;
    if (!info.short_date_format.isEmpty())
        f.short_date = info.short_date_format;
    if (!info.long_date_format.isEmpty())
        f.long_date = info.long_date_format;
    if (!info.long_time_format.isEmpty())
        f.long_time = info.long_time_format;
    if (!info.locale_name.isEmpty())
        f.names = QLocale(info.locale_name);
    date_formats() = f;
}

} // namespace platform
