#pragma once
// Times of the report as day serials: whole days since 30/12/1899 plus the fraction of the day,
// taken straight from the logged clock's wall time. No time zone is ever applied, so a change to
// or from daylight saving can neither shift a point into another day nor drop one.

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace reports {

inline constexpr int64_t SECONDS_PER_DAY = 86400;
// The serial of 01/01/1970, where the log chart's time axis starts.
inline constexpr int64_t CHART_EPOCH_DAY = 25569;

// A log chart x (seconds since 01/01/1970 00:00 on the logged clock) as whole seconds since
// 30/12/1899 00:00, rounded to the nearest second as the chart's time text shows it.
int64_t serial_seconds_from_chart_x(double x);
// Whole day of a second count (rounds towards the earlier day for times before 1899).
int64_t serial_day(int64_t serial_seconds);
double serial_from_seconds(int64_t serial_seconds);

// Wall time of a serial, with the UTC spec so no conversion ever applies to it.
QDateTime datetime_from_serial(double serial);
double serial_from_datetime(const QDateTime& when);
// The serial formatted with the program's date patterns ("dd/mm/yyyy", "hh:mm", "dddddd").
QString format_serial(double serial, const QString& pattern);

// The user's short date pattern with a four-digit year, for the date boxes and the calendar.
QString box_date_pattern();
QString date_box_text(double serial);

// A date typed into a date box, read in the order of the user's short date (day, month and year
// in any order, any separator), or as yyyy-mm-dd. Two-digit years are 1930 to 2029; a year
// before 1000 is no date. A time after the date is ignored. nullopt when the text names no real
// date.
std::optional<int64_t> parse_date_text(const QString& text);

} // namespace reports
