#pragma once
// The ".par" parameter file: one line, the value text of every parameter P20..P999 in order,
// each followed by ",", numbers with "." as decimal point. A download saves the unit's set in it;
// opening one puts the set back on the screen.

#include <QByteArray>
#include <QString>

inline constexpr int PAR_FIRST = 20;
inline constexpr int PAR_LAST = 999;
inline constexpr int PAR_FIELDS = PAR_LAST - PAR_FIRST + 1; // 980

// The ".par" line of the table. A value text that holds no value ("-999999", empty, or a
// placeholder containing "Text") is first replaced in the record itself: by the value when the
// parameter is present, else by "NO".
QByteArray par_line();

// Writes par_line() to `path` through a temporary file renamed over it; false (the old file
// untouched) when that fails.
bool write_par_file(const QString& path);
