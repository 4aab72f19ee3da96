#pragma once
// The option lists of the coded parameters and the unit words, built into the program in each
// language, and the length unit helpers.

#include <QString>

// Installs the option lists and unit word arrays of shell().language_index into shell(): 0
// English, 1 German, 2 French, 3 Italian, 4 Spanish (the English set). Another index changes
// nothing.
void load_language_lists();

// The single list of lookup code `code` ("C_LUK<n>"); empty for codes with variants or without a
// list.
QString option_list(const QString& code);

// Length unit codes (the values of P104): 1 metres, 2 centimetres, 3 millimetres, 4 feet,
// 5 inches.

// "m", "cm", "mm", "ft" or "in" for the numeric value of `code`; "m" for any other value.
QString length_unit_abbrev(const QString& code);

// The number by which a length in `from_unit` is multiplied to give it in `to_unit`. An unknown
// `from_unit` gives 0; a known `from_unit` with an unknown `to_unit` gives the millimetres of one
// `from_unit`.
double length_unit_factor(int from_unit, int to_unit);
