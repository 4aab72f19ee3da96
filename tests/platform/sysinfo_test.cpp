#include "platform/sysinfo.h"
#include "platform/vb.h"
#include "test_util.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace platform;
using testutil::ScopedEnv;

namespace {

// The locale variables of one case; the others are removed so the machine's own do not leak in.
struct LocaleEnv {
    std::optional<QByteArray> lc_all, lc_numeric, lc_time, lc_messages, lang;
};

class ScopedLocaleEnv {
public:
    explicit ScopedLocaleEnv(const LocaleEnv &e)
        : all_("LC_ALL", e.lc_all), numeric_("LC_NUMERIC", e.lc_numeric),
          time_("LC_TIME", e.lc_time), messages_("LC_MESSAGES", e.lc_messages),
          lang_("LANG", e.lang) {}

private:
    ScopedEnv all_, numeric_, time_, messages_, lang_;
};

} // namespace

TEST(SystemInfo, LocaleValuesFollowTheEnvironment) {
    struct Case {
        const char *what;
        LocaleEnv env;
        const char *language_upper;
        QString decimal;
        QString thousands;
        const char *short_date;
        const char *date_separator;
    };
    const std::vector<Case> cases = {
        {"German via LANG", {{}, {}, {}, {}, "de_DE.UTF-8"}, "GERMAN", ",", ".", "dd.mm.yyyy", "."},
        {"German via LC_ALL over English LANG",
         {"de_DE.UTF-8", {}, {}, {}, "en_GB.UTF-8"},
         "GERMAN",
         ",",
         ".",
         "dd.mm.yyyy",
         "."},
        {"French",
         {{}, {}, {}, {}, "fr_FR.UTF-8"},
         "FRENCH",
         ",",
         QString(QChar(0x202F)),
         "dd/mm/yyyy",
         "/"},
        {"Italian", {{}, {}, {}, {}, "it_IT@euro"}, "ITALIAN", ",", ".", "dd/mm/yyyy", "/"},
        {"Spanish", {{}, {}, {}, {}, "es_ES"}, "SPANISH", ",", ".", "d/m/yyyy", "/"},
        {"American English", {{}, {}, {}, {}, "en_US.UTF-8"}, "ENGLISH", ".", ",", "m/d/yyyy", "/"},
        {"C locale", {{}, {}, {}, {}, "C.UTF-8"}, "ENGLISH", ".", ",", "dd/mm/yyyy", "/"},
        {"unknown locale name", {{}, {}, {}, {}, "xx_YY"}, "ENGLISH", ".", ",", "dd/mm/yyyy", "/"},
        {"numbers German, language and dates English",
         {{}, "de_DE.UTF-8", {}, {}, "en_GB.UTF-8"},
         "ENGLISH",
         ",",
         ".",
         "dd/mm/yyyy",
         "/"},
        {"language German only",
         {{}, {}, {}, "de_DE.UTF-8", "en_GB.UTF-8"},
         "GERMAN",
         ".",
         ",",
         "dd/mm/yyyy",
         "/"},
    };
    for (const auto &c : cases) {
        ScopedLocaleEnv env(c.env);
        const SystemInfo s = query_system_info();
        EXPECT_EQ(s.language_name.trimmed().toUpper(), QString(c.language_upper)) << c.what;
        EXPECT_EQ(s.decimal_separator, c.decimal) << c.what;
        EXPECT_EQ(s.thousands_separator, c.thousands) << c.what;
        EXPECT_EQ(s.short_date_format, QString(c.short_date)) << c.what;
        EXPECT_EQ(s.date_separator, QString(c.date_separator)) << c.what;
        EXPECT_EQ(s.time_separator, QString(":")) << c.what;
    }
}

TEST(SystemInfo, GermanLocaleDrivesNumberAndDateTexts) {
    ScopedLocaleEnv env({"de_DE.UTF-8", {}, {}, {}, {}});
    const NumberSeparators saved_numbers = number_separators();
    const DateFormats saved_dates = date_formats();
    use_system_formats(query_system_info());
    const QDateTime monday(QDate(2026, 1, 5), QTime(14, 7, 9));
    EXPECT_EQ(number_text(2.5), QString("2,5"));
    EXPECT_EQ(to_double("1.234,5"), std::optional<double>(1234.5));
    EXPECT_EQ(format_number(0.5, "#0.0"), QString("0,5"));
    EXPECT_EQ(format_date(monday, "dd/mm/yyyy"), QString("05.01.2026"));
    EXPECT_EQ(format_date(monday, "dddd - dd mmm yyyy").left(8), QString("Montag -"));
    EXPECT_EQ(format_date(monday, "General Date"), QString("05.01.2026 14:07:09"));
    number_separators() = saved_numbers;
    date_formats() = saved_dates;
}

TEST(SystemInfo, MachineValuesAndAppDataFolder) {
    QTemporaryDir dir;
    const QString data_home = dir.filePath("fresh/profile/share");
    ScopedEnv xdg("XDG_DATA_HOME", data_home.toUtf8());
    const SystemInfo s = query_system_info();
    EXPECT_EQ(s.local_appdata, data_home);
    EXPECT_TRUE(QDir(data_home).exists()) << "the local application data folder was not created";
    EXPECT_FALSE(s.user_name.isEmpty()) << "no user name for the report author";
    EXPECT_FALSE(s.computer_name.isEmpty());
}

TEST(SystemInfo, TestsCanReplaceTheInformation) {
    SystemInfo fake;
    fake.language_name = "Italian";
    fake.computer_name = "BENCH-7";
    set_system_info(fake);
    EXPECT_EQ(system_info().language_name, QString("Italian"));
    EXPECT_EQ(system_info().computer_name, QString("BENCH-7"));
    reset_system_info();
    EXPECT_NE(system_info().computer_name, QString("BENCH-7"));
}

TEST(SystemInfo, QtDateFormatsInPatternLetters) {
    struct Case {
        const char *qt;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {"dd.MM.yy", "dd.mm.yy"},
        {"HH:mm:ss", "hh:nn:ss"},
        {"HH:mm:ss t", "hh:nn:ss"},
        {"h:mm:ss AP", "h:nn:ss AM/PM"},
        {"dddd, d MMMM yyyy", "dddd, d mmmm yyyy"},
        {"d 'de' MMMM 'de' yyyy", "d \"de\" mmmm \"de\" yyyy"},
        {"d. MMMM yyyy 'um' HH:mm", "d. mmmm yyyy \"um\" hh:nn"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(date_pattern_from_qt(c.qt), QString(c.expected)) << "Qt format " << c.qt;

    // Through format_date, the converted patterns show what Qt would.
    const QDateTime when(QDate(2026, 1, 5), QTime(14, 7, 9));
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    const DateFormats saved = date_formats();
    date_formats().names = spanish;
    const QString qt_long = spanish.dateFormat(QLocale::LongFormat);
    EXPECT_EQ(format_date(when, date_pattern_from_qt(qt_long)),
              spanish.toString(when.date(), qt_long));
    date_formats() = saved;
}
