#include "platform/sysinfo.h"
#include "platform/vb.h"
#include "test_util.h"

#include <QTemporaryDir>
#include <vector>

using namespace platform;
using testutil::ScopedEnv;

namespace {

// The locale variables of one case; the others are removed so the machine's own do not leak in.
// clang-format off
struct LocaleEnv { std::optional<QByteArray> lc_all{}, lc_numeric{}, lc_messages{}, lang{}; };
// clang-format on

struct ScopedLocaleEnv {
    explicit ScopedLocaleEnv(const LocaleEnv& e)
        : all("LC_ALL", e.lc_all), numeric("LC_NUMERIC", e.lc_numeric), time("LC_TIME", {}),
          messages("LC_MESSAGES", e.lc_messages), lang("LANG", e.lang) {}
    ScopedEnv all, numeric, time, messages, lang;
};

} // namespace

TEST(SystemInfo, LocaleValuesFollowTheEnvironment) {
    struct Case {
        const char* what;
        LocaleEnv env;
        const char* language_upper;
        QString decimal, thousands;
        const char *short_date, *date_separator;
    };
    const QString nnbsp(QChar(0x202F));
    // clang-format off
    const std::vector<Case> cases = {
        {"LC_ALL over LANG", {.lc_all = "de_DE.UTF-8", .lang = "en_GB.UTF-8"}, "GERMAN", ",", ".",
         "dd.mm.yyyy", "."},
        {"French", {.lang = "fr_FR.UTF-8"}, "FRENCH", ",", nnbsp, "dd/mm/yyyy", "/"},
        {"Spanish, a two-digit year", {.lang = "es_ES"}, "SPANISH", ",", ".", "d/m/yyyy", "/"},
        {"American", {.lang = "en_US.UTF-8"}, "ENGLISH", ".", ",", "m/d/yyyy", "/"},
        {"unknown locale", {.lang = "xx_YY"}, "ENGLISH", ".", ",", "dd/mm/yyyy", "/"},
        {"numbers German only", {.lc_numeric = "de_DE.UTF-8", .lang = "en_GB.UTF-8"}, "ENGLISH",
         ",", ".", "dd/mm/yyyy", "/"},
        {"language German only", {.lc_messages = "de_DE.UTF-8", .lang = "en_GB.UTF-8"}, "GERMAN",
         ".", ",", "dd/mm/yyyy", "/"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedLocaleEnv env(c.env);
        const SystemInfo s = query_system_info();
        EXPECT_EQ(
            fields(s.language_name.trimmed().toUpper(), s.decimal_separator, s.thousands_separator,
                   s.short_date_format, s.date_separator, s.time_separator),
            fields(c.language_upper, c.decimal, c.thousands, c.short_date, c.date_separator, ":"));
    }
}

TEST(SystemInfo, GermanLocaleDrivesNumberAndDateTexts) {
    ScopedLocaleEnv env({.lc_all = "de_DE.UTF-8"});
    const NumberSeparators saved_numbers = number_separators();
    const DateFormats saved_dates = date_formats();
    use_system_formats(query_system_info());
    const QDateTime monday(QDate(2026, 1, 5), QTime(14, 7, 9));
    // "/" shows the user's date separator; the unit's date has none.
    EXPECT_EQ(
        fields(number_text(2.5), format_date(monday, "dddd - dd mmmm yyyy"),
               format_date(monday, "General Date"), format_date(monday, "dd/mm/yyyy"),
               format_date(monday, "DDMMYY")),
        fields("2,5", "Montag - 05 Januar 2026", "05.01.2026 14:07:09", "05.01.2026", "050126"));
    EXPECT_EQ(to_double("1.234,5"), std::optional<double>(1234.5));
    number_separators() = saved_numbers;
    date_formats() = saved_dates;
}

// A typed number follows the whole numeric locale, its own digits among them, not only its
// separators.
TEST(SystemInfo, TypedNumbersFollowTheNumericLocale) {
    const NumberSeparators saved_numbers = number_separators();
    for (const auto& [locale, typed, read] :
         {std::tuple{"ar_EG.UTF-8", "\u0661\u0662\u066B\u0665", 12.5},
          {"hi_IN.UTF-8", "12,34,567.5", 1234567.5}}) {
        ScopedLocaleEnv env({.lc_numeric = locale, .lang = "en_GB.UTF-8"});
        use_system_formats(query_system_info());
        EXPECT_EQ(typed_number(QString::fromUtf8(typed)), std::optional<double>(read)) << locale;
    }
    // Without its script the locale is another one, of another decimal separator.
    for (const auto& [locale, writer] : {std::pair{"ks_Deva_IN.UTF-8", "ks_Deva_IN"},
                                         {"ks_IN.UTF-8@devanagari", "ks_Deva_IN"},
                                         {"ff_Adlm_GN.UTF-8", "ff_Adlm_GN"},
                                         {"sr_RS.UTF-8@latin", "sr_Latn_RS"}}) {
        ScopedLocaleEnv env({.lc_numeric = locale, .lang = "en_GB.UTF-8"});
        use_system_formats(query_system_info());
        const QLocale written(QString::fromLatin1(writer));
        EXPECT_EQ(fields(number_separators().decimal,
                         typed_number(written.toString(-12.5)).value_or(NAN)),
                  fields(written.decimalPoint(), -12.5))
            << locale << ": the boxes and the reader disagree on the decimal separator";
    }
    number_separators() = saved_numbers;
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

TEST(SystemInfo, QtDateFormatsInPatternLetters) {
    const std::pair<const char*, const char*> cases[] = {
        {"HH:mm:ss t", "hh:nn:ss"},
        {"h:mm:ss AP", "h:nn:ss AM/PM"},
        {"d. MMMM yyyy 'um' HH:mm", "d. mmmm yyyy \"um\" hh:nn"},
    };
    for (const auto& [qt, expected] : cases)
        EXPECT_EQ(date_pattern_from_qt(qt), QString(expected)) << "Qt format " << qt;

    // Through format_date, the converted patterns show what Qt would.
    const QLocale spanish(QLocale::Spanish, QLocale::Spain);
    const DateFormats saved = date_formats();
    date_formats().names = spanish;
    const QString qt_long = spanish.dateFormat(QLocale::LongFormat);
    const QDateTime when(QDate(2026, 1, 5), QTime(14, 7, 9));
    EXPECT_EQ(format_date(when, date_pattern_from_qt(qt_long)),
              spanish.toString(when.date(), qt_long));
    date_formats() = saved;
}
