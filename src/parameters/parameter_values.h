#pragma once
// How parameter values turn into text and back: the boxes show the user's locale, the records,
// the files and the unit take "." as decimal point whatever the locale.

#include "shell/definitions_table.h"

#include <QString>

// A number written with "." as decimal point and nothing else ("2.5", "-3", "1E-05").
bool is_plain_number(const QString& text);
// The text starts with a number written with "." as decimal point ("0.3x", "-.5"): the leading
// number that platform::val() reads is really there, not the 0 it gives for no number.
bool starts_with_number(const QString& text);

// "#", "#.#", ... "#.######" for 0..6 decimals (`digit` '0' gives "0", "0.0", ...); another
// count gives the empty (general) pattern.
QString decimals_pattern(int decimals, QChar digit = QLatin1Char('#'));

// The value as a box shows it: the locale's form of the number, no thousands separator.
QString value_as_box_text(double value);
// What row P shows for its record's stored value text: a number in the locale's form (a clock
// time with its four digits), any other text as it is.
QString stored_box_text(int P);

// ---- Clock times
// The unit takes a clock time (takes_whole_number: P932, P971, P972, P976, P996, P997) as four
// digits, HHMM. Its row shows, a save writes and an upload sends a whole number from 0 to 9999 as
// those four digits ("0930"), so that what the user sees is what the unit gets.

// The four digits of a clock time P holding `value`; empty when P is no clock time or the value is
// no whole number from 0 to 9999 (it is then written as the number it is).
QString four_digit_time(int P, double value);
// Row P's text for `value`: four digits for a clock time, else the locale's form of the number.
QString box_text(int P, double value);
// The text that carries `value` of P to the unit: four digits for a clock time, else the number
// with "." as decimal point.
QString unit_value_text(int P, double value);
// The value text a file gets for P: a clock time's number with its four digits, any other text as
// it stands.
QString file_value_text(int P, const QString& value_text);

// ---- What the unit or a file gives for a parameter

// The text holds a value of parameter P. A text of the unit's (holds_text_value) holds one unless
// it is empty or one of the markers "NO" (the unit lacks it) and "Text" (a value never filled in):
// "OK" is a site's name there like any other. A number's text holds one when it starts with a
// number and carries no marker: not "NO", not "Text", nor the unit's acknowledgement "OK".
bool holds_unit_value(int P, const QString& text);

// What a read keeps of the unit's answer to parameter P, the same from the "/sendall" block as
// from "/p<n>" one by one: the answer trimmed and its number when it holds a value, else "NO" and
// no value (NO_VALUE), as for a parameter the unit lacks. The table's own no-value number,
// -999999, is no value either.
struct UnitAnswer {
    bool holds_value = false;
    double value = NO_VALUE;
    QString text = QStringLiteral("NO");
};
UnitAnswer unit_answer(int P, const QString& answer);

// Record P holds a length in the unit of P104 (not a relay set point in other units).
bool is_length_record(int P);

// P96 shows its protocol by name: "Off", "Modbus" and "Profibus" as "0", "1" and "2"; any other
// text as it is.
QString fieldbus_code_text(const QString& text);
