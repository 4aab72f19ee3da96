#include "platform/vb.h"
#include "test_util.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

using namespace platform;

namespace {

// Sets the user's separators for the lifetime of the object.
class ScopedSeparators {
public:
    ScopedSeparators(const char *decimal, const QString &thousands) : saved_(number_separators()) {
        number_separators().decimal = QString::fromUtf8(decimal);
        number_separators().thousands = thousands;
    }
    ~ScopedSeparators() { number_separators() = saved_; }

private:
    NumberSeparators saved_;
};

class ScopedDateFormats {
public:
    explicit ScopedDateFormats(const DateFormats &f) : saved_(date_formats()) {
        date_formats() = f;
    }
    ~ScopedDateFormats() { date_formats() = saved_; }

private:
    DateFormats saved_;
};

const QString english_thousands = QStringLiteral(",");
const QString german_thousands = QStringLiteral(".");
const QString french_thousands = QString(QChar(0x202F));
const QString swiss_thousands = QString(QChar(0x2019));

} // namespace

TEST(Vb, ValReadsTheLeadingNumberWithAPointOnly) {
    struct Case {
        const char *text;
        double expected;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"abc", 0},
        {" 12.5abc", 12.5},
        {"1.2.3", 1.2},
        {"-.5", -0.5},
        {".5", 0.5},
        {"+5", 5},
        {"--5", 0},
        {"1,5", 1},
        {"0x1F", 0},
        // Blanks, tabs and line ends are skipped anywhere, even inside the number.
        {"1 2 3", 123},
        {" - 1 2 . 5 x", -12.5},
        {"2e 2", 200},
        // Exponents, with E or D.
        {"1e3", 1000},
        {"1D2", 100},
        {"1.5E+20", 1.5e20},
        {"1e", 1},
        {"1e400", 0},
        // Hexadecimal and octal, with the widths of the original's literals.
        {"&H1F", 31},
        {"&h1f", 31},
        {"&H 1F", 31},
        {"&HFFFF", -1},
        {"&H8000", -32768},
        {"&HFFFFFFFF", -1},
        {"&H1FFFFFFFF", 0},
        {"&HFFFFFFFFFFFFFFFFFFFF", 0},
        {"&O17", 15},
        {"&H", 0},
        {"&", 0},
        {"&H1G", 1},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(val(QString::fromUtf8(c.text)), c.expected)
            << "Val of \"" << c.text << '"';
    EXPECT_EQ(val(QString::fromUtf8("\xd9\xa1\xd9\xa2")), 0) << "Arabic-Indic digits are no number";
}

TEST(Vb, RoundingTakesHalvesToTheEvenNeighbour) {
    struct Case {
        double value;
        int decimals; // -1: the whole-number overload
        double expected;
    };
    const std::vector<Case> cases = {
        {0.5, -1, 0},
        {1.5, -1, 2},
        {2.5, -1, 2},
        {3.5, -1, 4},
        {-0.5, -1, 0},
        {-1.5, -1, -2},
        {-2.5, -1, -2},
        {-2.6, -1, -3},
        {2.4999, -1, 2},
        {2.5000001, -1, 3},
        {32767.5, -1, 32768},
        {1234.5, 0, 1234},
        {2.675, 2, 2.68},
        {2.665, 2, 2.66},
        {0.125, 2, 0.12},
        {0.135, 2, 0.14},
        {-0.125, 2, -0.12},
        {1.005, 2, 1.0},
        {0.1 + 0.2, 1, 0.3},
        {123.456, 1, 123.5},
        {9.995, 2, 10.0},
        {-9.995, 2, -10.0},
        {0.0004, 3, 0.0},
        {1e-20, 2, 0.0},
        {123456789.125, 2, 123456789.12},
    };
    for (const auto &c : cases) {
        const double r =
            c.decimals < 0 ? round_half_even(c.value) : round_half_even(c.value, c.decimals);
        EXPECT_DOUBLE_EQ(r, c.expected) << c.value << " rounded to " << c.decimals << " places";
    }
    EXPECT_FALSE(std::signbit(round_half_even(-0.4))) << "rounding -0.4 gives minus zero";
    EXPECT_EQ(round_half_even(0.1 + 0.2, 20), 0.1 + 0.2)
        << "rounding beyond the shown digits changed the value";
}

TEST(Vb, WholeNumbersRoundHalfEvenAndReportOverflow) {
    struct Case {
        const char *text;
        std::optional<int16_t> expected;
    };
    const std::vector<Case> cases = {
        {"32767", 32767},
        {"32768", std::nullopt},
        {"-32768", -32768},
        {"32767.4", 32767},
        {"32767.5", std::nullopt},
        {"-32768.5", -32768},
        {"-32768.6", std::nullopt},
        {"2.5", 2},
        {"3.5", 4},
        {"1e3", 1000},
        {"1e5", std::nullopt},
        {"&HFFFF", -1},
        {"True", -1},
        {"false", 0},
        {"abc", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(text_to_int16(c.text), c.expected) << "16-bit value of \"" << c.text << '"';

    EXPECT_EQ(to_int16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(to_int16(1e10), std::nullopt);
    EXPECT_EQ(to_int32(2147483647.4), 2147483647);
    EXPECT_EQ(to_int32(2147483647.5), std::nullopt);
    EXPECT_EQ(to_int32(-2147483648.5), std::optional<int32_t>(-2147483647 - 1));
    EXPECT_EQ(text_to_int32("100000"), 100000);
    EXPECT_EQ(text_to_int32("True"), -1);
    EXPECT_EQ(text_to_int32("3e10"), std::nullopt);
}

TEST(Vb, NumberTextShowsFifteenSignificantDigits) {
    struct Case {
        double value;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {0, "0"},
        {-0.0, "0"},
        {0.1, "0.1"},
        {0.1 + 0.2, "0.3"},
        {-0.5, "-0.5"},
        {2.5, "2.5"},
        {1.0 / 3.0, "0.333333333333333"},
        {0.0001, "0.0001"},
        {0.00001, "1E-05"},
        {1e-7, "1E-07"},
        {1e-300, "1E-300"},
        {123456789012345.0, "123456789012345"},
        {999999999999999.9, "1E+15"},
        {1e15, "1E+15"},
        {123456789012345678.0, "1.23456789012346E+17"},
        {1.5e20, "1.5E+20"},
        {1e100, "1E+100"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(number_text_c(c.value), QString(c.expected)) << "text of " << c.value;

    ScopedSeparators german(",", german_thousands);
    EXPECT_EQ(number_text(2.5), QString("2,5"));
    EXPECT_EQ(number_text(-0.5), QString("-0,5"));
    EXPECT_EQ(number_text(1234567.25), QString("1234567,25")) << "no thousands separators";
    EXPECT_EQ(number_text(1.5e20), QString("1,5E+20"));
    EXPECT_EQ(number_text_c(2.5), QString("2.5")) << "the unit's text follows the locale";
}

TEST(Vb, NumberTextReadsBackInEveryLocale) {
    struct Locale {
        const char *name;
        const char *decimal;
        QString thousands;
    };
    const std::vector<Locale> locales = {{"English", ".", english_thousands},
                                         {"German", ",", german_thousands},
                                         {"French", ",", french_thousands},
                                         {"Swiss", ".", swiss_thousands}};
    const std::vector<double> values = {0,
                                        0.1,
                                        2.5,
                                        -0.5,
                                        1e-7,
                                        1.0 / 3,
                                        1234567.25,
                                        -999999,
                                        1e20,
                                        -1.5e-12,
                                        123456789012345678.0,
                                        0.1 + 0.2};
    for (const auto &l : locales) {
        ScopedSeparators seps(l.decimal, l.thousands);
        for (double v : values) {
            const QString text = number_text(v);
            const auto back = to_double(text);
            ASSERT_TRUE(back.has_value())
                << l.name << " text " << qPrintable(text) << " did not read back";
            EXPECT_NEAR(*back, v, std::fabs(v) * 1e-14) << l.name << " text " << qPrintable(text);
            EXPECT_DOUBLE_EQ(locale_val(text), *back) << l.name << " text " << qPrintable(text);
        }
    }
}

TEST(Vb, TextsTheUserTypesReadWithTheLocaleSeparators) {
    struct Case {
        const char *decimal;
        QString thousands;
        const char *text;
        std::optional<double> expected;
    };
    const std::vector<Case> cases = {
        {".", english_thousands, "1,234.5", 1234.5},
        {".", english_thousands, " 2.5 ", 2.5},
        {".", english_thousands, "1.2.3", std::nullopt},
        {".", english_thousands, "1e5", 1e5},
        {".", english_thousands, "&H1F", 31},
        {".", english_thousands, "&HZZ", std::nullopt},
        {".", english_thousands, "&HFFFF", -1},
        {".", english_thousands, "", std::nullopt},
        {".", english_thousands, "abc", std::nullopt},
        {".", english_thousands, "1 2", std::nullopt},
        {".", english_thousands, ".", std::nullopt},
        {".", english_thousands, "inf", std::nullopt},
        {".", english_thousands, "1e400", std::nullopt},
        {",", german_thousands, "1.234,5", 1234.5},
        {",", german_thousands, "  2,5 ", 2.5},
        {",", german_thousands, "2.5", 25}, // a point is a thousands separator there
        {",", german_thousands, "1,5E+20", 1.5e20},
        {",", german_thousands, "2,5,1", std::nullopt},
        {",", french_thousands,
         "1\xe2\x80\xaf"
         "234,5",
         1234.5},
    };
    for (const auto &c : cases) {
        ScopedSeparators seps(c.decimal, c.thousands);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(to_double(text), c.expected)
            << "reading \"" << c.text << "\" with decimal " << c.decimal;
        EXPECT_EQ(is_numeric(text), c.expected.has_value()) << "IsNumeric of \"" << c.text << '"';
    }
}

TEST(Vb, LocaleValReadsShownNumbersAndGivesZeroForText) {
    ScopedSeparators german(",", german_thousands);
    EXPECT_DOUBLE_EQ(locale_val("1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(locale_val("2,5abc"), 2.5);
    EXPECT_DOUBLE_EQ(locale_val("abc"), 0);
    EXPECT_EQ(locale_text_to_c("1.234,5"), QString("1234.5"));
}

TEST(Vb, SettingsBooleansAcceptWordsAndNumbers) {
    struct Case {
        const char *text;
        std::optional<bool> expected;
    };
    const std::vector<Case> cases = {{"True", true}, {"TRUE", true},        {" false ", false},
                                     {"0", false},   {"7", true},           {"-1", true},
                                     {"0.0", false}, {"yes", std::nullopt}, {"", std::nullopt}};
    for (const auto &c : cases)
        EXPECT_EQ(to_bool(c.text), c.expected) << "Boolean of \"" << c.text << '"';
    EXPECT_EQ(bool_text(true), QString("True"));
    EXPECT_EQ(bool_text(false), QString("False"));
}

TEST(Vb, DisplayPatternsRoundHalvesAwayFromZero) {
    struct Case {
        const char *pattern;
        double value;
        const char *expected;
    };
    const std::vector<Case> cases = {
        // Countdown and progress.
        {"#0.0", 0.04, "0.0"},
        {"#0.0", 0.05, "0.1"},
        {"#0.0", -2.25, "-2.3"},
        {"#0.0", 39.95, "40.0"},
        {"#0.0", -0.04, "0.0"},
        {"###", 0, ""},
        {"###", -0.4, ""},
        {"###", 0.5, "1"},
        {"###", 12.5, "13"},
        {"###", -12.5, "-13"},
        {"##0.0", 0, "0.0"},
        {"##0.0", 1234.56, "1234.6"},
        {"##.0", 5, "5.0"},
        {"##.0", 0.5, ".5"},
        {"##.0", 99.95, "100.0"},
        {"##.0", 0, ".0"},
        // Whole numbers with leading zeros.
        {"0000", 5, "0005"},
        {"0000", 12345, "12345"},
        {"0000", -5, "-0005"},
        {"0000", 4.5, "0005"},
        {"000000", 123, "000123"},
        {"000", 5, "005"},
        {"0", 2.5, "3"},
        {"###############", 123456789012345.0, "123456789012345"},
        {"###############", 0, ""},
        {"###############", 1.5, "2"},
        // Parameter decimals, optional digits.
        {"#", 0, ""},
        {"#", 0.5, "1"},
        {"#.#", 0.25, ".3"},
        {"#.#", 5, "5."},
        {"#.#", 0, "."},
        {"#.##", 2.675, "2.68"},
        {"#.##", 1.005, "1.01"},
        {"#.##", 0.5, ".5"},
        {"#.##", -0.5, "-.5"},
        {"#.###", 1.23456789, "1.235"},
        {"#.######", 1.23456789, "1.234568"},
        {"#.######", 0.0000005, ".000001"},
        {"#.######", 0.00000049, "."},
        {"#0.##", 2, "2."},
        {"#0.##", 2.5, "2.5"},
        {"#0.##", 0, "0."},
        {"#0.##", 0.005, "0.01"},
        {"##.##", 0.5, ".5"},
        {"##.##", 12.345, "12.35"},
        // Parameter decimals, fixed digits.
        {"0.0", 0.05, "0.1"},
        {"0.00", 0.125, "0.13"},
        {"0.00", 1e20, "100000000000000000000.00"},
        {"0.00", 1e-20, "0.00"},
        {"0.000", 1.0005, "1.001"},
        {"0.000", -0.0004, "0.000"},
        {"0.000#", 1.23456, "1.2346"},
        {"0.000##", 1.234567, "1.23457"},
        {"0.000###", 1.23456789, "1.234568"},
        {"0.000###", 2, "2.000"},
        {"####0.00", 1234.5, "1234.50"},
        {"####0.00", 123456.789, "123456.79"},
        // Grouping, literals, the general form.
        {"#,##0.000", 1234567.8915, "1,234,567.892"},
        {"0.0 min", 1.25, "1.3 min"},
        {"", 2.5, "2.5"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(format_number(c.value, c.pattern), QString(c.expected))
            << "Format(" << c.value << ", \"" << c.pattern << "\")";

    ScopedSeparators german(",", german_thousands);
    EXPECT_EQ(format_number(2.25, "#0.0"), QString("2,3"));
    EXPECT_EQ(format_number(0.5, "##.##"), QString(",5"));
    EXPECT_EQ(format_number(1234567.8915, "#,##0.000"), QString("1.234.567,892"));
    EXPECT_EQ(format_number(2.5, ""), QString("2,5"));
    EXPECT_EQ(format_number_c(2.25, "#0.0"), QString("2.3"))
        << "the unit's text follows the locale";
    EXPECT_EQ(format_number_c(1234567.8915, "#,##0.000"), QString("1234567.892"));
    EXPECT_EQ(format_number(QString("2,5"), "0.00"), QString("2,50"));
    EXPECT_EQ(format_number(QString("12"), "000000"), QString("000012"));
    EXPECT_EQ(format_number(QString("V1.2"), "000000"), QString("V1.2"))
        << "a value text that is no number is shown as it is";
}

TEST(Vb, TextPatternsFillPlaceholdersFromTheRight) {
    struct Case {
        const char *text;
        const char *pattern;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {"dd/mm/yyyy", "(&&&&&&&&&&&)", "(dd/mm/yyyy)"},
        {"", "(&&&&&&&&&&&)", "()"},
        {"a very long unit text", "(&&&)", "(a very long unit text)"},
        {"abc", "@@@@@", "  abc"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(format_text(c.text, c.pattern), QString(c.expected))
            << "Format(\"" << c.text << "\", \"" << c.pattern << "\")";
}

TEST(Vb, DatePatternsOfTheProgram) {
    const QDateTime monday(QDate(2026, 1, 5), QTime(14, 7, 9));
    struct Case {
        QDateTime when;
        const char *pattern;
        const char *expected;
    };
    const std::vector<Case> cases = {
        {monday, "dddd - dd mmm yyyy", "Monday - 05 Jan 2026"},
        {monday, "ddmmmyy hh:mm", "05Jan26 14:07"},
        {monday, "hh:mm", "14:07"},
        {monday, "hhmm", "1407"},
        {QDateTime(QDate(2026, 1, 5), QTime(9, 5)), "hhmm", "0905"},
        {monday, "dd/mm/yyyy", "05/01/2026"},
        {monday, "hh:mm, dd/mm/yyyy", "14:07, 05/01/2026"},
        {monday, "mmmm, yyyy", "January, 2026"},
        {monday, "ddd", "Mon"},
        {monday, "dddddd", "Monday, 5 January 2026"},
        {monday, "DDMMYY", "050126"},
        {monday, "MMDDYY", "010526"},
        {monday, "hh:nn:ss", "14:07:09"},
        {monday, "mm:ss", "07:09"},
        {monday, "d/m/yy", "5/1/26"},
        {QDateTime(QDate(2009, 11, 30), QTime(0, 0)), "yy", "09"},
        {monday, "h:mm AM/PM", "2:07 PM"},
        {QDateTime(QDate(2026, 1, 5), QTime(0, 30)), "h:mm AM/PM", "12:30 AM"},
        {monday, "\"Date:\" dd", "Date: 05"},
        {monday, "\\d dd", "d 05"},
        {monday, "General Date", "05/01/2026 14:07:09"},
        {QDateTime(QDate(2026, 1, 5), QTime(0, 0)), "General Date", "05/01/2026"},
        {QDateTime(QDate(1899, 12, 30), QTime(14, 7, 9)), "General Date", "14:07:09"},
        {monday, "Long Date", "Monday, 5 January 2026"},
        {monday, "Long Time", "14:07:09"},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0)), "dd/mm/yyyy", "30/12/1899"},
        {QDateTime(), "dd/mm/yyyy", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(format_date(c.when, c.pattern), QString(c.expected))
            << "Format(" << qPrintable(c.when.toString(Qt::ISODate)) << ", \"" << c.pattern
            << "\")";
    EXPECT_EQ(format_date(QDate(2026, 1, 5), "dd/mm/yyyy hh:nn"), QString("05/01/2026 00:00"));
}

TEST(Vb, DatePatternsFollowTheUserLocale) {
    DateFormats german;
    german.date_separator = ".";
    german.short_date = "dd.mm.yyyy";
    german.long_date = "dddd, d. mmmm yyyy";
    german.names = QLocale(QLocale::German, QLocale::Germany);
    ScopedDateFormats scoped(german);
    const QDateTime monday(QDate(2026, 1, 5), QTime(14, 7, 9));
    EXPECT_EQ(format_date(monday, "dd/mm/yyyy"), QString("05.01.2026"))
        << "\"/\" shows the user's date separator";
    EXPECT_EQ(format_date(monday, "dddd"), QString("Montag"));
    EXPECT_EQ(format_date(monday, "mmmm"), QString("Januar"));
    EXPECT_EQ(format_date(monday, "dddddd"), QString("Montag, 5. Januar 2026"));
    EXPECT_EQ(format_date(monday, "General Date"), QString("05.01.2026 14:07:09"));
    EXPECT_EQ(format_date(monday, "DDMMYY"), QString("050126"))
        << "the unit's date has no separators";
}
