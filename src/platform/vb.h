#pragma once
// Number, text and date conversions with the rules the program's texts and files rely on:
//  - val(): the leading number of a text, "." only, never fails;
//  - the locale conversions show numbers with the user's separators and read them back;
//  - whole-number conversions round halves to the even neighbour and report overflow;
//  - the display patterns ("0.00", "#0.0", "###", "dd/mm/yyyy hh:nn", "dddd - dd mmm yyyy", ...)
//    round halves away from zero on the number as shown (15 significant digits), so 2.675 shown
//    with two decimals is 2.68 although the double is a little below it.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <cstdint>
#include <optional>
#include <utility>

namespace platform {

// The separators used by the locale conversions below. Start-up sets them from the system
// information (use_system_formats in sysinfo.h); tests set them per case.
struct NumberSeparators {
    NumberSeparators(QString decimal_ = QStringLiteral("."),
                     QString thousands_ = QStringLiteral(","), QString locale_ = {})
        : decimal(std::move(decimal_)), thousands(std::move(thousands_)),
          locale(std::move(locale_)) {}
    QString decimal;
    QString thousands;
    // The locale whose notation a typed number must follow (its digits, signs and grouping),
    // e.g. "de_CH"; empty: a locale that writes the separators above.
    QString locale;
};
NumberSeparators& number_separators();

// The user's date and time conventions for format_date. Patterns use format_date's letters.
struct DateFormats {
    QString date_separator = QStringLiteral("/"); // what "/" in a pattern shows
    QString time_separator = QStringLiteral(":"); // what ":" in a pattern shows
    QString short_date = QStringLiteral("dd/mm/yyyy");
    QString long_date = QStringLiteral("dddd, d mmmm yyyy");
    QString long_time = QStringLiteral("hh:nn:ss");
    QLocale names = QLocale(QLocale::English, QLocale::UnitedKingdom); // day and month names
};
DateFormats& date_formats();

// Leading decimal number of `text`: blanks (space, tab, LF, CR) are skipped anywhere, an optional
// sign, digits with at most one ".", an optional exponent ("E" or "D"). "&H" and "&O" start a
// hexadecimal or octal number, read as a 16-bit value when it fits in four hex digits (so
// "&HFFFF" is -1) and as a 32-bit value otherwise. Reading stops at the first character that
// cannot continue the number; a text without a number, or one too large for a double, gives 0.
double val(const QString& text);

// The text with the user's thousands separators removed and the user's decimal separator turned
// into ".", so that val() reads a number the user typed or was shown.
QString locale_text_to_c(const QString& text);
// val(locale_text_to_c(text)): a number as shown in the user's locale; no number gives 0.
double locale_val(const QString& text);
// The locale that typed numbers are read in (see NumberSeparators::locale).
QLocale number_locale();
// The number a user typed, read as the locale writes numbers: the whole text (blanks around it
// aside) is one number in the locale's digits, signs, decimal separator and grouping, and reads
// as exactly that number. Grouping marks are taken in groups of the locale's sizes or in plain
// groups of three, led by a group of one to three digits that is not "0" ("1.234,5" in Spanish,
// "1,234,567.5" in Indian English). nullopt for anything else: the other notation ("0.35" where
// the decimal separator is ","), a grouping mark the locale does not use, text before or after
// the number, an empty text, grouping marks elsewhere ("1000.000", "0.350", "5e0,002"), an
// invisible control other than the marks that keep a sign in order (U+200E, U+200F, U+061C), and
// one of those marks anywhere but before the number or in the locale's own sign. Removing
// separators from such a text would read another number than the user wrote, so it is refused
// instead. Where the locale groups with a space, a plain space and either no-break space all
// stand for it.
// A number that the program could not write again as a number is nullopt as well: from
// 1.797693134862315E+308 up its 15 significant digits are beyond the largest number a double
// holds, and it would be kept, shown, saved or sent as another number (0, or "inf").
std::optional<double> typed_number(const QString& text);
// Where a text that typed_number refuses lies although it is one number in the locale's notation:
// beyond the largest number the program keeps ("1E309", "1,7976931348623157E308" in German), or
// nearer to 0 than the smallest ("1E-400"). nullopt for a text that typed_number takes, and for
// one that is no number of the locale.
enum class OutOfReach { TooLarge, TooNearZero };
std::optional<OutOfReach> typed_number_out_of_reach(const QString& text);
// typed_number where only whole numbers are taken: a number with a fraction is nullopt too.
std::optional<double> typed_whole_number(const QString& text);

// True for a locale that groups digits with a space. Its numbers are typed with a plain space or
// either no-break space alike (typed_number), and a refusal names the mark in words: the spaces
// look alike.
bool groups_with_a_space(const QLocale& locale);

// True for a character that some locale writes numbers with: a digit of any script, a decimal or
// grouping mark, a sign, an exponent, a space, an ordering mark. A key filter lets these through
// to typed_number, which refuses a text in another notation with a message; a key dropped
// silently would make another number of what the user typed ("0,35" becoming 35).
bool belongs_to_a_number(char32_t c);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double round_half_even(double value);

// Rounds `value` to `decimals` places, halves to the even neighbour, judged on the number's
// 15-digit decimal form (2.675 -> 2.68, 2.665 -> 2.66).
double round_half_even(double value, int decimals);

// Whole-number conversions of a number, halves to even; nullopt on overflow or not a number.
std::optional<int16_t> to_int16(double value);
std::optional<int32_t> to_int32(double value);

// Locale-aware reading of a text as a number (the user's decimal separator, thousands separators
// ignored, surrounding blanks allowed, "&H" hexadecimal). nullopt when the text is not a number.
std::optional<double> to_double(const QString& text);
// Whole-number reading of a text (to_double, then rounded half to even; True is -1, False 0);
// nullopt when the text is not a number or the value overflows.
std::optional<int16_t> text_to_int16(const QString& text);
std::optional<int32_t> text_to_int32(const QString& text);

// A settings Boolean: "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> to_bool(const QString& text);
// The word True or False.
QString bool_text(bool value);

// True when to_double() would succeed.
bool is_numeric(const QString& text);

// A number as text in the user's locale: up to 15 significant digits, no thousands separators,
// the user's decimal separator ("2,5" in German). "E" notation (1E-05, 1.5E+20) when the decimal
// exponent is below -4 or above 14.
QString number_text(double value);
// The same with "." as decimal point, whatever the locale (for the unit and the files).
QString number_text_c(double value);
// The number in a text the unit or the program wrote (number_text_c): the whole text, blanks
// around it aside, one number with "." as decimal point and no grouping, whatever the locale.
// nullopt for anything else ("OK", "NO", "1,5", "inf", line noise): such a text gives no value.
std::optional<double> read_number_c(const QString& text);
// A number the program stored in its settings: written with "." (read_number_c); a text in the
// locale's notation, as earlier versions stored what was typed, is read as typed (typed_number).
// nullopt when it is neither.
std::optional<double> stored_number(const QString& text);

// Formats a number with a display pattern of "0", "#", ".", "," and literal characters:
// "0.00", "#0.0", "#,##0.000", "00", "###". "0" always shows a digit, "#" only a significant one;
// a "." in the pattern always shows the decimal separator ("#.##" gives "5." for 5 and ".5" for
// 0.5); "," in the whole part groups thousands. Halves round away from zero; a value that rounds
// to zero shows no minus sign. An empty pattern gives number_text. The result uses the user's
// separators.
QString format_number(double value, const QString& pattern);
// The same with "." and no thousands separators in the output (for files and the unit).
QString format_number_c(double value, const QString& pattern);
// A text formatted as the number it holds in the user's locale (to_double); a text that holds no
// number is returned as it is, as the original's Format did with a text argument.
QString format_number(const QString& text, const QString& pattern);

// Formats a text with "@" (a character or a blank) and "&" (a character or nothing) placeholders,
// filled from the right; characters beyond the placeholders go before them. "(&&&&&)" puts a
// text between round brackets.
QString format_text(const QString& text, const QString& pattern);

// Formats a date/time with the pattern letters, in any case: d, dd, ddd, dddd (day, names),
// dddddd (long date), m, mm, mmm, mmmm (month, names; minutes right after an hour or before
// seconds), yy, yyyy, h, hh, n, nn, s, ss, AM/PM or am/pm (12-hour clock). "/" and ":" show the
// user's date and time separators; text in double quotes and a character after "\" stand as they
// are, as do other characters. The named formats "General Date", "Long Date", "Short Date" and
// "Long Time" give the user's own; the general date leaves out a midnight time and the zero date
// 30/12/1899.
QString format_date(const QDateTime& when, const QString& pattern);
QString format_date(const QDate& when, const QString& pattern);

} // namespace platform
