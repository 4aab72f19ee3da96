#pragma once
// Number and text conversions with the rules the program's texts and files rely on:
//  - val(): the leading number of a text, "." only, never fails;
//  - the locale conversions show numbers with the user's separators and read them back;
//  - whole-number conversions round halves to the even neighbour and report overflow;
//  - format(): the display patterns the program uses ("0.00", "#0.0", "dd/mm/yyyy hh:nn", ...).

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace platform {

// The separators used by the locale conversions below. Start-up sets them from the system
// information; tests set them per case.
struct NumberSeparators {
    QString decimal = QStringLiteral(".");
    QString thousands = QStringLiteral(",");
};
NumberSeparators& number_separators();

// Leading decimal number of `text`: blanks (space, tab, LF, CR) are skipped anywhere, an optional
// sign, digits with at most one ".", an optional exponent ("E" or "D"), and "&H"/"&O" prefixes
// for hexadecimal and octal. Reading stops at the first character that cannot continue the
// number; a text without a number gives 0.
double val(const QString& text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double round_half_even(double value);

// Rounds `value` to `decimals` places, halves to even as the unit's arithmetic does.
double round_half_even(double value, int decimals);

// Whole-number conversions of a number; nullopt on overflow.
std::optional<int16_t> to_int16(double value);
std::optional<int32_t> to_int32(double value);

// Locale-aware reading of a text as a number (the user's decimal separator, thousands separators
// ignored, surrounding blanks allowed). nullopt when the text is not a number.
std::optional<double> to_double(const QString& text);
// Whole-number reading of a text (to_double, then rounded half to even); nullopt when the text is
// not a number or the value overflows.
std::optional<int16_t> text_to_int16(const QString& text);
std::optional<int32_t> text_to_int32(const QString& text);

// A settings Boolean: "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> to_bool(const QString& text);
// The word True or False.
QString bool_text(bool value);

// True when to_double() would succeed.
bool is_numeric(const QString& text);

// A number as text in the user's locale: up to 15 significant digits, no thousands separators,
// the user's decimal separator ("2,5" in German), "E" notation only for very large or small values.
QString number_text(double value);
// The same with "." as decimal point, whatever the locale (for the unit and the files).
QString number_text_c(double value);

// Formats a number with a display pattern of "0", "#", ".", "," and literal characters:
// "0.00", "#0.0", "#,##0.000", "00". The result uses the user's separators.
QString format_number(double value, const QString& pattern);
// The same with "." and no thousands separators in the output (for files and the unit).
QString format_number_c(double value, const QString& pattern);

// Formats a date/time with the date pattern letters d, dd, ddd, dddd, m, mm, mmm, mmmm, yy, yyyy,
// h, hh, n, nn, s, ss (m after h is minutes), AM/PM; other characters stand as they are. Day and
// month names are English unless `names_locale` gives another language.
QString format_date(const QDateTime& when, const QString& pattern);

} // namespace platform
