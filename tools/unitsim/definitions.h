#pragma once
// The simulated unit's own reader of the program's definition files (access_vars.def and
// Def<version>.def), so that the unit and the program's catalogue start from the same
// parameters, limits and defaults. Kept free of the program's libraries: the unit is a peer,
// not a part of the program.

#include <QString>
#include <QStringList>
#include <map>
#include <optional>

namespace unitsim {

struct ParameterDefinition {
    int number = 0;
    QString name;
    bool read_only = false;
    QString lookup_code;
    int decimals = 0;
    int entries = 0;
    QString units_code;
    QString min_text = "-999999";
    QString max_text = "-999999";
    // As the files write it: thousandths of a metre (millimetres) for length units.
    double default_value = 0;
    bool present = true;
};

using DefinitionMap = std::map<int, ParameterDefinition>;

struct DefinitionSet {
    DefinitionMap parameters;
    QString source;       // folder read, or "built-in"
    int version_used = 0; // the Def<version>.def found, 0 when none
    bool section_found = false;
};

// Leading-number rule of the files: blanks skipped, digits with "." as decimal point; text that
// does not start with a number reads as 0.
double leading_number(const QString& text);

// A number as the unit writes it: whole numbers without a point, others with at most six decimals
// and no trailing zeros.
QString number_text(double v);

// "2.0.5" -> 205, "1.9" -> 19000 ... (the program's version arithmetic, so file names agree).
int version_to_number(QString text);

// Parses the text of access_vars.def. Lines that don't carry ten fields or name a number outside
// 0..1500 are skipped.
DefinitionMap parse_access_vars(const QString& text);

// Applies the section of a Def<version>.def text that matches the version (a three-digit number)
// and system type: marks the listed parameters present (every other one of 20..999 absent) and
// takes over name, units, limits and default. Returns false, changing nothing, when the text has
// no such section.
bool apply_version_section(DefinitionMap& map, const QString& text, int version, int system_type);

// Reads both files from `folder`. A missing or unreadable access_vars.def is an error (nullopt
// and `error` set). Without a Def<version>.def for the version or any below it down to 100, or
// without a matching section, every parameter of access_vars.def stays present: the unit must
// still answer.
std::optional<DefinitionSet> read_definitions(const QString& folder, int version, int system_type,
                                              QString* error);

// The unit's own small catalogue, used when no folder is given.
DefinitionSet builtin_definitions(int version, int system_type);

// The built-in files' texts (also handy for writing a fixture folder).
QString builtin_access_vars_text();
QString builtin_version_def_text();
int builtin_version_def_number();

} // namespace unitsim
