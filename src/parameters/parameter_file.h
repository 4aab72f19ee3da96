#pragma once
// The parameter files. The ".par" file is one line, the value text of every parameter P20..P999
// in order, each followed by ",", numbers with "." as decimal point: a download saves the unit's
// set in it and opening one puts the set back on the screen. The ".csv" and ".txt" listings are
// for people and are never read back.

#include "parameters/edit_validation.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

inline constexpr int PAR_FIRST = 20;
inline constexpr int PAR_LAST = 999;
inline constexpr int PAR_FIELDS = PAR_LAST - PAR_FIRST + 1; // 980

// The ".par" line of the table. A value text that holds no value ("-999999", empty, or the
// placeholder "Text", see carries_marker) is first replaced in the record itself: by the value when
// the parameter is present, else by "NO"; a text of the unit's without a value by "NO". A clock
// time is written with its four digits (file_value_text), as its row shows it.
QByteArray par_line();

// Writes par_line() to `path` through a temporary file renamed over it; false (the old file
// untouched) when that fails.
bool write_par_file(const QString& path);

// ---- Listings

// A parameter goes into a listing when its value text holds a value and its record a text.
bool listed_in_file(int P);
// The ".csv" listing of the table (CR LF line ends). The separator is "," for English and German,
// ";" for the other languages; a description holding the separator, a quote or a line end is
// quoted.
QString csv_listing(const QString& path, const QDateTime& saved_on, int language_index);
// The ".txt" listing: descriptions from column 10, values from column 50 (40 in the heading);
// what already reaches a column continues on the next line at that column.
QString txt_listing(const QString& path, const QDateTime& saved_on);

// ---- Reading a ".par" line back

struct ParField {
    int number = 0;
    QString text;         // the field as it stands in the file
    bool in_line = false; // the line reached this parameter
    // The field holds the parameter's value (holds_unit_value): it starts with a number, or it is
    // the text of a parameter whose value is a text. A "NO" marker holds none, nor does the
    // placeholder "Text" of a text, a damaged field or one the line did not reach.
    bool holds_value = false;
};
struct ParParse {
    std::vector<ParField> fields; // P20..P999
    // A field was empty, held "OK" or no number, or the line was short.
    bool rejected = false;
    QStringList rejected_fields; // " P25 = \"\"," for each empty or "OK" field
    int missing = 0;             // fields the line did not reach
};
// The fields of a ".par" line for P20..P999. Reads nothing but the line.
ParParse parse_par_line(const QString& line);
// Puts a parsed line into the table: presence, value text and value of every parameter, and the
// unit flags that follow from P61, P87 and P96. A parameter whose field holds no value loads as
// one the file marks "NO": not present, no value.
ParParse parse_parameter_line(const QString& line);

// At most this many parameters are named in one part of a load's message; the rest are counted.
inline constexpr int PAR_MESSAGE_NAMED = 20;
// The first PAR_MESSAGE_NAMED entries of a list, joined as they stand, then how many more there
// are.
QString named_entries(const QStringList& entries);
// The message of a load, empty when the file holds nothing to report: the empty and "OK" fields,
// the fields without a number and how many fields the line lacks (the set is damaged; those
// parameters are left out), and values of settings that are not plain numbers or lie outside
// their limits in the set now in the table (they load all the same). Read-only values such as the
// version texts are the unit's own and not judged. What the rows' checks refused while the set
// was put on the screen (`refusals`) is told here as well, once: a value refused on its limits
// among those outside the limits, any other refusal on a line of its own.
QString par_load_message(const ParParse& parse, const RefusalsWhileOpening& refusals = {});

// The last line of a text file's contents (a final line end makes no extra empty line).
QString last_line(const QString& text);
