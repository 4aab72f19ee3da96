#pragma once
// The definitions table: record N holds UI text N of the current language and the definition and
// values of parameter P N. It lives for the whole run.

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

inline constexpr double NO_VALUE = -999999.0; // a value the unit lacks or does not support

// The parameters the unit takes as a clock time of four digits, HHMM (its clock P932, the day
// and night starts P971 and P972, the clock synchronisation P976, the call times P996 and P997):
// whole numbers only, since a fraction would reach the unit rounded.
bool takes_whole_number(int P);
// The number typed for parameter P, read as every typed number: platform::typed_whole_number
// where the unit takes whole numbers only (takes_whole_number), platform::typed_number elsewhere;
// taken as P keeps it (kept_value), so that the row shows, a save writes and an upload sends what
// the unit will hold. A number too large for the program to write again as a number
// (platform::typed_number) is nullopt, never kept as another.
std::optional<double> typed_parameter_value(int P, const QString& typed);
// Parameter P's value is a code of an option list (its lookup code names one, "C_LUK14"): a whole
// number of that list, never a fraction.
bool takes_codes(int P);
// The value parameter P keeps of `value`: a number at its record's decimals, halves away from zero
// as the rows show numbers (0.12345 at three decimals is 0.123); a code, and the value of a
// parameter the definitions file does not name, as it is.
double kept_value(int P, double value);

// Parameters whose value is a text of the unit's (the software version, its date, the site tag):
// any text is their value.
bool holds_text_value(int P);
// The text carries the unit's `marker` ("NO": the unit lacks the parameter; "OK": an
// acknowledgement where a value belongs; "Text": the placeholder of a value never filled in). A
// number's text carries it anywhere; in a parameter whose value is a text only as the whole text,
// so that a site named "NORTH TANK" or "Textile mill" is a value.
bool carries_marker(int P, const QString& text, const char* marker);

// A fresh record holds the values that clear_definitions_table writes, so a table that was never
// cleared reads the same as one that was.
struct DefinitionRecord {
    QString text;
    int16_t number = 0;
    QString name = QStringLiteral("UNKNOWN");
    bool read_only = true;
    QString lookup_code;
    int16_t decimals = 0;
    int16_t attribute6 = 0;
    double unit_value = NO_VALUE; // value read from the unit
    QString value_text;
    double program_value = NO_VALUE; // value loaded or edited in the program
    double default_value = NO_VALUE;
    QString units_code;
    QString min_text = QStringLiteral("-999999");
    QString max_text = QStringLiteral("-999999");
    bool send_failed = false;
    bool present = true;
};

inline constexpr int DEFINITIONS_UPPER = 1500;
using DefinitionsTable = std::array<DefinitionRecord, DEFINITIONS_UPPER + 1>;

DefinitionsTable& definitions_table();

// Resets records 0..n to their start values. `number`, `lookup_code`, `decimals` and `attribute6`
// keep what they hold: they are the static definitions, read once per run. An n above the table's
// upper bound stops at the bound.
void clear_definitions_table(int16_t n);

// Texts the program added to the design's own numbering live in lang.def from ADDED_TEXTS_FIRST
// to ADDED_TEXTS_LAST. They have no parameter beside them, so they are kept apart from the table.
inline constexpr int ADDED_TEXTS_FIRST = 2000;
inline constexpr int ADDED_TEXTS_LAST = 2999;
using AddedTexts = std::array<QString, ADDED_TEXTS_LAST - ADDED_TEXTS_FIRST + 1>;
AddedTexts& added_texts();

// True for a number lang.def may hold: a record of the table or an added text.
bool is_text_number(int n);
// The text slot of number N, or nullptr when N is no text number.
QString* text_slot(int n);

// UI text N in the current language; empty when N is no text number or the language file lacks
// it. The second form shows `fallback` (the built-in English caption) when the text is empty.
const QString& ui_text(int n);
QString ui_text(int n, const QString& fallback);
