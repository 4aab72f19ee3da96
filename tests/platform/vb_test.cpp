#include "platform/vb.h"
#include "test_util.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using namespace platform;

namespace {

// Sets the user's separators for the lifetime of the object.
class ScopedSeparators {
public:
    ScopedSeparators(const char* decimal, const QString& thousands) : saved_(number_separators()) {
        number_separators() = {QString::fromUtf8(decimal), thousands};
    }
    ~ScopedSeparators() { number_separators() = saved_; }

private:
    NumberSeparators saved_;
};

const QString english_thousands = ",", german_thousands = ".";
const QString french_thousands(QChar(0x202F));

qsizetype digit_count(const QString& text) {
    const QList<uint> u = text.toUcs4();
    return std::count_if(u.cbegin(), u.cend(), [](uint c) { return QChar::isDigit(c); });
}

} // namespace

TEST(Vb, ValReadsTheLeadingNumberWithAPointOnly) {
    // clang-format off
    const std::pair<const char*, double> cases[] = {
        {"", 0}, {" 12.5abc", 12.5}, {"1.2.3", 1.2}, {"-.5", -0.5}, {"--5", 0}, {"1,5", 1},
        // Blanks are skipped anywhere, even inside the number; exponents with E or D.
        {" - 1 2 . 5 x", -12.5}, {"2e 2", 200}, {"1D2", 100}, {"1e", 1}, {"1e400", 0},
        // Hexadecimal and octal, with the widths of the original's literals.
        {"&h1f", 31}, {"&H8000", -32768}, {"&HFFFFFFFF", -1}, {"&H1FFFFFFFF", 0}, {"&O17", 15},
        {"&H", 0}, {"&H1G", 1}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_DOUBLE_EQ(val(QString::fromUtf8(text)), expected) << "Val of \"" << text << '"';
    EXPECT_EQ(val(QString::fromUtf8("\xd9\xa1\xd9\xa2")), 0) << "Arabic-Indic digits are no number";
}

TEST(Vb, RoundingTakesHalvesToTheEvenNeighbour) {
    const struct {
        double value;
        int decimals; // -1: the whole-number overload
        double expected;
    } cases[] = {{0.5, -1, 0},     {1.5, -1, 2},       {-2.5, -1, -2},
                 {-2.6, -1, -3},   {2.5000001, -1, 3}, {1234.5, 0, 1234},
                 {2.675, 2, 2.68}, {0.125, 2, 0.12},   {1.005, 2, 1.0},
                 {9.995, 2, 10.0}, {1e-20, 2, 0.0},    {123456789.125, 2, 123456789.12}};
    for (const auto& c : cases) {
        const double r =
            c.decimals < 0 ? round_half_even(c.value) : round_half_even(c.value, c.decimals);
        EXPECT_DOUBLE_EQ(r, c.expected) << c.value << " rounded to " << c.decimals << " places";
    }
    EXPECT_FALSE(std::signbit(round_half_even(-0.4))) << "rounding -0.4 gives minus zero";
    EXPECT_EQ(round_half_even(0.1 + 0.2, 20), 0.1 + 0.2)
        << "rounding beyond the shown digits changed the value";
}

TEST(Vb, WholeNumbersRoundHalfEvenAndReportOverflow) {
    // clang-format off
    const std::pair<const char*, std::optional<int16_t>> cases[] = {
        {"32767", 32767}, {"32768", std::nullopt}, {"32767.5", std::nullopt}, {"-32768.5", -32768},
        {"-32768.6", std::nullopt}, {"3.5", 4}, {"&HFFFF", -1}, {"True", -1}, {"abc", std::nullopt}};
    // clang-format on
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(text_to_int16(text), expected) << "16-bit value of \"" << text << '"';

    EXPECT_EQ(to_int16(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    const std::optional<int32_t> none;
    EXPECT_EQ(std::vector({to_int32(2147483647.4), to_int32(2147483647.5), to_int32(-2147483648.5),
                           text_to_int32("100000"), text_to_int32("True"), text_to_int32("3e10")}),
              std::vector({std::optional(2147483647), none, std::optional(-2147483647 - 1),
                           std::optional(100000), std::optional(-1), none}));
}

TEST(Vb, NumberTextShowsFifteenSignificantDigits) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {
        {-0.0, "0"}, {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"}, {0.0001, "0.0001"},
        {0.00001, "1E-05"}, {123456789012345.0, "123456789012345"}, {999999999999999.9, "1E+15"},
        {123456789012345678.0, "1.23456789012346E+17"}, {1e100, "1E+100"}};
    // clang-format on
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(number_text_c(value), QString(expected)) << "text of " << value;

    ScopedSeparators german(",", german_thousands);
    // No thousands separators; the unit's text does not follow the locale.
    EXPECT_EQ(fields(number_text(1234567.25), number_text(1.5e20), number_text_c(2.5)),
              fields("1234567,25", "1,5E+20", "2.5"));
}

TEST(Vb, TextsTheUserTypesReadWithTheLocaleSeparators) {
    const std::nullopt_t no = std::nullopt;
    const QString en = english_thousands, de = german_thousands;
    // clang-format off
    const struct { const char* decimal; QString thousands; const char* text; std::optional<double> expected; }
    cases[] = {
        {".", en, "1,234.5", 1234.5}, {".", en, " 2.5 ", 2.5}, {".", en, "1.2.3", no},
        {".", en, "1e5", 1e5}, {".", en, "&H1F", 31}, {".", en, "&HZZ", no}, {".", en, "", no},
        {".", en, "1 2", no}, {".", en, ".", no}, {".", en, "inf", no}, {".", en, "1e400", no},
        {",", de, "1.234,5", 1234.5}, {",", de, "2.5", 25}, // a point is a thousands separator
        {",", de, "1,5E+20", 1.5e20}, {",", de, "2,5,1", no},
        {",", french_thousands, "1\u202F234,5", 1234.5}};
    // clang-format on
    for (const auto& c : cases) {
        ScopedSeparators seps(c.decimal, c.thousands);
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(to_double(text), c.expected)
            << "reading \"" << c.text << "\" with decimal " << c.decimal;
        EXPECT_EQ(is_numeric(text), c.expected.has_value()) << "IsNumeric of \"" << c.text << '"';
    }

    ScopedSeparators german(",", german_thousands);
    EXPECT_EQ(fields(locale_val("2,5abc"), locale_val("abc"), locale_text_to_c("1.234,5")),
              fields(2.5, 0.0, "1234.5"));
}

TEST(Vb, ANumberInTheOtherNotationIsNoNumberOfTheLocale) {
    const QString en = english_thousands, de = german_thousands;
    const std::nullopt_t no = std::nullopt;
    // clang-format off
    const auto large = OutOfReach::TooLarge, near_zero = OutOfReach::TooNearZero;
    const struct { const char* decimal; QString thousands; const char* text; std::optional<double> read;
                   std::optional<OutOfReach> out = std::nullopt; }
    cases[] = {
        {",", de, "0.35", no}, {",", de, "0,35", 0.35}, {",", de, "1.234,5", 1234.5},
        {",", de, "1,234.5", no}, {",", de, "0.350", no}, {",", de, "12.34", no},
        {",", de, "1234.567", no}, {",", de, ".5", no}, {",", de, "5.", no},
        {",", de, "1.234.567,8", 1234567.8}, {",", de, "-1.000", -1000}, {",", de, "1,5E+20", 1.5e20},
        {",", de, "2,5,1", no}, {",", de, "abc", no}, {",", de, "12abc", no}, {",", de, "", no},
        {",", de, " 7 ", 7},
        {".", en, "0,35", no}, {".", en, "0.35", 0.35}, {".", en, "1,234.5", 1234.5},
        {".", en, "1.234,5", no}, {".", en, "1,23", no}, {".", en, "inf", no}, {".", en, "1e400", no, large},
        // Beyond what the program writes as a number again (its 15 digits 1,79769313486232E+308
        // are no number), or nearer to 0 than any: refused, never read as 0 or "inf".
        {",", de, "1,7976931348623157E308", no, large}, {",", de, "-1,797693134862316E308", no, large},
        {",", de, "1,79769313486231E308", 1.79769313486231e308}, {",", de, "1E308", 1e308},
        {",", de, "-1E308", -1e308}, {",", de, "1E-400", no, near_zero}, {",", de, "-1e-400", no, near_zero},
        {",", de, "0E-400", 0}, {",", de, "4,9E-324", 4.9e-324}, {",", de, "9,99995E4", 99999.5},
        {",", de, "1,5E-400x", no}, {",", de, "E-400", no}, {",", de, "1E-400,5", no},
        {",", french_thousands, "1\u202F234,5", 1234.5}, {",", french_thousands, "0.35", no},
        // Both no-break spaces and a plain one look alike: each stands for the grouping space.
        {",", french_thousands, "1\u00A0234,5", 1234.5}, {",", french_thousands, "1 234,5", 1234.5},
        {",", french_thousands, "12\u00A034,5", no}};
    // clang-format on
    for (const auto& c : cases) {
        ScopedSeparators seps(c.decimal, c.thousands);
        EXPECT_EQ(std::tuple(typed_number(QString::fromUtf8(c.text)),
                             typed_number_out_of_reach(QString::fromUtf8(c.text))),
                  std::tuple(c.read, c.out))
            << "\"" << c.text << "\" with decimal " << c.decimal;
    }
}

TEST(Vb, GroupingMarksAndInvisibleControlsAreTakenOnlyWhereTheLocaleWritesThem) {
    const NumberSeparators saved = number_separators();
    const std::nullopt_t no = std::nullopt;
    // clang-format off
    const struct { const char* locale; const char* text; std::optional<double> read; } cases[] = {
        // Spanish writes 1234,5 and 12.345,5; people also group short numbers.
        {"es_ES", "1.234,5", 1234.5}, {"es_ES", "1.500,25", 1500.25}, {"es_ES", "10.000", 10000},
        {"es_ES", "1.000.000", 1e6}, {"es_ES", "1000000", 1e6}, {"es_ES", "10.00.000", no},
        {"es_ES", "1000.000", no}, {"pl_PL", "1 234,5", 1234.5}, {"pt_PT", "1\u00A0234,5", 1234.5},
        {"hi_IN", "12,34,567.5", 1234567.5}, {"en_IN", "12,34,567.5", 1234567.5},
        {"en_IN", "1,234,567.5", 1234567.5}, {"en_IN", "1,234,56,789", no},
        {"en_IN", "123,45,678", no}, {"de_DE", "1.234.56,5", no},
        {"ar_EG", "\u0665e\u0660\u066C\u0660\u0660\u0662", no}, // a mark in the exponent
        {"sv_SE", "\u22122,5", -2.5}, {"sv_SE", "1\u202F234,5", 1234.5}, {"sv_SE", "1 234,5", 1234.5},
        // Invisible controls are refused; the marks Qt writes before a number and in a sign are
        // taken there only.
        {"de_DE", "12\u200B,5", no}, {"de_DE", "1\uFEFF2,5", no},
        {"ar_EG", "\u061C-\u0661\u0662\u066B\u0665", -12.5}, {"he_IL", "\u200E-12.5", -12.5},
        {"en_US", "12\u200F.345", no}, {"he_IL", "12.5\u200E", no}, {"ar_DZ", "1,5E\u200E-3", 1.5e-3},
        {"en_US", "1.5E\u200F-3", no},
        // Digits outside the basic plane.
        {"ff_Adlm_GN", "\U0001E951\u2E41\U0001E953\U0001E955\U0001E950", 1350}};
    // clang-format on
    for (const auto& c : cases) {
        number_separators() = {".", ",", QString::fromLatin1(c.locale)};
        EXPECT_EQ(typed_number(QString::fromUtf8(c.text)), c.read)
            << c.locale << ": \"" << c.text << "\" read as another number than it shows";
    }
    number_separators() = saved;
}

// Every locale Qt knows: what the locale writes reads back as the number it was written from,
// and what it does not write is refused rather than read as another number.
TEST(Vb, ATypedNumberReadsExactlyAsTheLocaleWritesItInEveryLocale) {
    const NumberSeparators saved = number_separators();
    const double values[] = {0.35, -1234567.25, 12.5, -5, 0, 1e-5, 987654321.125, -0.001};
    const QString marks[] = {",", ".", "'", "\u2019", "\u00A0", "\u202F", " ", "\u066C"};
    const QString spaces[] = {" ", "\u00A0", "\u202F"};
    const QString order_marks[] = {"\u200E", "\u200F", "\u061C"};
    int locales = 0;
    for (const QLocale& l : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                     QLocale::AnyTerritory)) {
        ++locales;
        number_separators() = {l.decimalPoint(), l.groupSeparator(), l.bcp47Name()};
        const std::string where = l.bcp47Name().toStdString();
        const QString dp = l.decimalPoint(), gs = l.groupSeparator();
        for (const double v : values) {
            const double exact = QLocale::c().toString(v, 'f', 3).toDouble();
            for (const auto option : {QLocale::DefaultNumberOptions, QLocale::OmitGroupSeparator}) {
                QLocale writer = l;
                writer.setNumberOptions(option);
                const QString written = writer.toString(v, 'f', 3);
                // Qt writes some locales' first group too long ("1234.567,250" in Spanish): that
                // is the shape of another number, and refused.
                const QStringList groups = written.section(dp, 0, 0).split(gs);
                const bool too_long =
                    groups.size() > 1 && digit_count(groups[0]) > digit_count(groups[1]);
                EXPECT_EQ(typed_number(written), too_long ? std::nullopt : std::optional(exact))
                    << where << ": \"" << written.toStdString() << "\" read as another number";
                EXPECT_EQ(typed_number(QStringLiteral("\u202E") + written), std::nullopt)
                    << where << ": a text turned round by U+202E was read";
                for (const QString& m : order_marks)
                    EXPECT_EQ(typed_number(m + written), typed_number(written))
                        << where << ": an ordering mark changed \"" << written.toStdString() << '"';
                // A key filter that keeps letters out lets every key of the number through.
                const QList<uint> keys = (written + QStringLiteral("e") + l.exponential()).toUcs4();
                EXPECT_TRUE(std::all_of(keys.cbegin(), keys.cend(), belongs_to_a_number))
                    << where << ": a key of \"" << written.toStdString() << "\" would be dropped";
            }
            // The boxes show numbers with the locale's separators and the digits 0-9.
            EXPECT_EQ(typed_number(number_text(v)), v) << where << ": the program's own text";
        }
        for (const char* other : {".", ","}) {
            if (dp == QLatin1String(other))
                continue;
            EXPECT_EQ(typed_number(QStringLiteral("0") + QLatin1String(other) + "35"), std::nullopt)
                << where << ": \"0" << other << "35\" is the other notation";
        }
        // A typed space or either no-break space stands for the space of a locale that groups
        // with one.
        const auto is_space = [&spaces](const QString& m) {
            return std::find(std::begin(spaces), std::end(spaces), m) != std::end(spaces);
        };
        for (const QString& m : marks) {
            if (m == gs || m == dp || (is_space(gs) && is_space(m)))
                continue;
            const QString text = QStringLiteral("1") + m + QStringLiteral("234") + dp + "5";
            EXPECT_EQ(typed_number(text), std::nullopt)
                << where << ": a grouping mark the locale does not use in \"" << text.toStdString()
                << '"';
        }
        for (const QString& m : spaces) {
            if (is_space(gs)) {
                EXPECT_EQ(typed_number(QStringLiteral("12") + m + "345" + dp + "5"), 12345.5)
                    << where << ": a space that looks like the locale's grouping space";
            }
        }
        // Grouping marks a place off, a first group of four, a first group of "0", in the
        // locale's own digits.
        const QString grouped = l.toString(987654321.0, 'f', 0);
        if (const qsizetype mark = grouped.indexOf(gs); !gs.isEmpty() && mark > 0) {
            QString shifted = grouped, merged = grouped;
            shifted.remove(mark, gs.size()).insert(mark + l.zeroDigit().size(), gs);
            merged.remove(mark, gs.size());
            QLocale plain = l;
            plain.setNumberOptions(QLocale::OmitGroupSeparator);
            const QString zero_first = l.zeroDigit() + gs + plain.toString(350);
            for (const QString& text : {shifted, merged, zero_first})
                EXPECT_EQ(typed_number(text), std::nullopt)
                    << where << ": \"" << text.toStdString()
                    << "\" groups where the locale does not";
        }
        EXPECT_EQ(typed_number(l.toString(12.5) + QStringLiteral(" mm")), std::nullopt)
            << where << ": text after the number";
    }
    number_separators() = saved;
    EXPECT_GT(locales, 500) << "Qt knows fewer locales than expected";
}

TEST(Vb, SettingsBooleansAcceptWordsAndNumbers) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"TRUE", true}, {" false ", false}, {"0.0", false}, {"7", true}, {"yes", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(to_bool(text), expected) << "Boolean of \"" << text << '"';
}

TEST(Vb, DisplayPatternsRoundHalvesAwayFromZero) {
    // clang-format off
    const struct { const char* pattern; double value; const char* expected; } cases[] = {
        {"#0.0", -2.25, "-2.3"}, {"#0.0", 39.95, "40.0"}, {"#0.0", -0.04, "0.0"}, {"###", 0, ""},
        {"###", -0.4, ""}, {"##.0", 0.5, ".5"}, {"0000", 12345, "12345"}, {"0000", -5, "-0005"},
        {"0", 2.5, "3"}, {"###############", 123456789012345.0, "123456789012345"},
        {"#.#", 0.25, ".3"}, {"#.#", 5, "5."}, {"#.#", 0, "."}, {"#.##", 1.005, "1.01"},
        {"#.##", -0.5, "-.5"}, {"#.######", 0.0000005, ".000001"}, {"#.######", 0.00000049, "."},
        {"#0.##", 0.005, "0.01"}, {"0.00", 1e20, "100000000000000000000.00"},
        {"0.000", -0.0004, "0.000"}, {"0.000##", 1.234567, "1.23457"}, {"0.000###", 2, "2.000"},
        // Grouping, literals, the general form.
        {"#,##0.000", 1234567.8915, "1,234,567.892"}, {"0.0 min", 1.25, "1.3 min"},
        {"", 2.5, "2.5"}};
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(format_number(c.value, c.pattern), QString(c.expected))
            << "Format(" << c.value << ", \"" << c.pattern << "\")";

    ScopedSeparators german(",", german_thousands);
    EXPECT_EQ(fields(format_number(2.25, "#0.0"), format_number(0.5, "##.##"),
                     format_number(1234567.8915, "#,##0.000"), format_number(2.5, "")),
              fields("2,3", ",5", "1.234.567,892", "2,5"));
    // The unit's text does not follow the locale.
    EXPECT_EQ(fields(format_number_c(2.25, "#0.0"), format_number_c(1234567.8915, "#,##0.000")),
              fields("2.3", "1234567.892"));
    // A value text that is no number is shown as it is.
    EXPECT_EQ(fields(format_number(QString("2,5"), "0.00"), format_number(QString("12"), "000000"),
                     format_number(QString("V1.2"), "000000")),
              fields("2,50", "000012", "V1.2"));
}

TEST(Vb, TextPatternsFillPlaceholdersFromTheRight) {
    const char* cases[][3] = {{"dd/mm/yyyy", "(&&&&&&&&&&&)", "(dd/mm/yyyy)"},
                              {"a very long unit text", "(&&&)", "(a very long unit text)"},
                              {"abc", "@@@@@", "  abc"}};
    for (const auto& [text, pattern, expected] : cases)
        EXPECT_EQ(format_text(text, pattern), QString(expected))
            << "Format(\"" << text << "\", \"" << pattern << "\")";
}

TEST(Vb, DatePatternsOfTheProgram) {
    const QDateTime monday(QDate(2026, 1, 5), QTime(14, 7, 9));
    const QDate zero_date(1899, 12, 30);
    const QDateTime at_0905(monday.date(), QTime(9, 5)), at_0030(monday.date(), QTime(0, 30)),
        midnight(monday.date(), QTime(0, 0));
    // clang-format off
    const struct { QDateTime when; const char *pattern, *expected; } cases[] = {
        // clang-format off
        {monday, "dddd - dd mmm yyyy", "Monday - 05 Jan 2026"}, {at_0905, "hhmm", "0905"},
        {monday, "hh:mm, dd/mm/yyyy", "14:07, 05/01/2026"}, {monday, "mmmm, yyyy", "January, 2026"},
        {monday, "dddddd", "Monday, 5 January 2026"}, {monday, "MMDDYY", "010526"},
        {monday, "mm:ss", "07:09"}, {monday, "d/m/yy", "5/1/26"},
        {monday, "h:mm AM/PM", "2:07 PM"}, {at_0030, "h:mm AM/PM", "12:30 AM"},
        {monday, "\"Date:\" dd", "Date: 05"}, {monday, "\\d dd", "d 05"},
        {monday, "General Date", "05/01/2026 14:07:09"}, {midnight, "General Date", "05/01/2026"},
        {QDateTime(zero_date, QTime(14, 7, 9)), "General Date", "14:07:09"},
        {QDateTime(zero_date, QTime(0, 0)), "dd/mm/yyyy", "30/12/1899"}, {QDateTime(), "dd/mm/yyyy", ""},
        // clang-format on
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(format_date(c.when, c.pattern), QString(c.expected))
            << "Format(" << c.when.toString(Qt::ISODate) << ", \"" << c.pattern << "\")";
    EXPECT_EQ(format_date(QDate(2026, 1, 5), "dd/mm/yyyy hh:nn"), QString("05/01/2026 00:00"));
}
