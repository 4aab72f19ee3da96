#pragma once
// Small operations on the parameter records of the definitions table: limits, defaults in display
// units, relay set point unit codes, option list lengths, version numbers and unit words.

#include "shell/definitions_table.h"

#include <QString>
#include <cstdint>

// min_text := min, max_text := max (texts with "." as decimal point), units_code := units, and the
// parameter becomes present.
void set_param_limits(int P, double min, double max, const QString& units);

// Limits, default and units of an analogue output parameter (P836..P839, by the record's number)
// from the system type in P99: voltage output for 1 and 4, current output for 2 and 3.
void set_analog_param_limits(DefinitionRecord& rec);

// The default of P in display units: lengths scaled by `scale` (the factor from metres to the
// unit of P104) and rounded to the parameter's decimals.
double get_param_default_value(double scale, int P);

// 1 or 2 for the first or second set point of a temperature relay (relay type 1, function 2), 11
// or 9 for those of a relay without a function (function 0), 0 for any other parameter: a
// non-zero code means the set point is not a length.
int16_t get_param_unit_code(int P);

namespace parameters {
// What the number of valid option list entries depends on besides the table.
struct LookupCountContext {
    bool p61_is_1 = false;
    bool p61_is_2 = false;
    int software_version = 0;
    QString p100_box_text; // what the P100 box shows right now
};
} // namespace parameters

// How many entries of the record's option list are valid now.
int16_t get_lookup_entry_count(const DefinitionRecord& rec,
                               const parameters::LookupCountContext& context);

// A unit's software version text ("2.0.5", "Prot.1.0.2", "2.05b") as the three-digit number
// (205, 102, 999); 0 when the text can't be converted.
int16_t version_to_number(const QString& text);

// 0 "Off", 1 "Modbus", 2 "Profibus", anything else "".
QString fieldbus_name(double value);

// Volume word of P706, "/", time word of P707, in the current language.
QString get_flow_units_text();
// Quantity word of P605 in the current language.
QString get_totaliser_units_text();
