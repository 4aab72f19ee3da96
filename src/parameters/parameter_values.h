#pragma once
// How parameter values turn into text and back: the boxes show the user's locale, the records,
// the files and the unit take "." as decimal point whatever the locale.

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
// What row P shows for its record's stored value text: a number in the locale's form, any other
// text as it is.
QString stored_box_text(int P);

// Record P holds a length in the unit of P104 (not a relay set point in other units).
bool is_length_record(int P);

// P96 shows its protocol by name: "Off", "Modbus" and "Profibus" as "0", "1" and "2"; any other
// text as it is.
QString fieldbus_code_text(const QString& text);
