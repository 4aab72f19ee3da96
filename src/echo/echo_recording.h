#pragma once
// The trace recording file without widgets: the line the recorder writes once per interval
// (date, time, status and level values, then the last trace reply or span text), how the player
// reads such a line back, and the interval rule both share, on a time of day that follows the
// program's clock so that tests can run it fast and across midnight.
//
// A line: eleven fields joined by "," - date, time, P900, P105, level, P901, P902, P903, P904,
// temperature, and "T1" with a trace reply or "T1$R" with P105..P108. Numbers use "." whatever
// the locale; the date and time never hold "," or "T", so the ten leading fields are always the
// text before the first "T".

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

// Seconds since midnight, on the program's clock: the wall clock's time of day when the program
// started, advanced by platform::seconds(). Tests move the origin (to just before midnight, say).
double echo_time_of_day();
void set_time_of_day_origin(double seconds_since_midnight);
// The date that goes with echo_time_of_day().
QDateTime echo_now();

// The shared interval rule: a clock that went past midnight (the last time later than now)
// restarts from now; more than `interval` seconds since `last_time` makes a line due and
// restarts the interval. Returns whether a line fell due.
bool interval_due(double& last_time, double now, double interval);

struct RecordLineValues {
    QDateTime when;
    double status = 0, empty_distance = 0, level = 0;
    double confidence = 0, strength = 0, average_noise = 0, peak_noise = 0;
    double temperature = 0;
    QString trace_text; // recorded_trace_text
};
// The date and time fields: the user's short date with a four-digit year, and HH:mm:ss.
QString record_date_text(const QDate& date);
QString record_time_text(const QTime& time);
// One line without its line end.
QString record_line(const RecordLineValues& values);

struct PlayedLine {
    enum class Kind { Ignored, Span, Trace };
    Kind kind = Kind::Ignored;
    int trace = 0; // 1..4 for a trace line
    bool has_fields = false; // the line held a "T": `fields` are its ten leading fields
    bool unreadable = false; // the first "T" leaves no room for the leading fields
    std::array<QString, 10> fields;
    std::optional<std::array<double, 4>> span; // a span line with exactly four values
    QString reply; // a trace line from its first "$"
};
PlayedLine read_played_line(const QString& line);

struct EchoState;
class QIODevice;

// What a played line puts in memory, without drawing it: its leading fields, the span values of a
// span line, the header and the kind's column of the trace table for a trace line. An unreadable
// line puts nothing there.
void apply_played_line(const PlayedLine& p, EchoState& e);

// The next line of a played file, without its line end: a line ends at CR, LF or CR LF, so files
// from any editor or system play as they were written.
QByteArray next_played_line(QIODevice& file);

// The saved copy of a recording: its lines as the player reads them, each ended by CR LF, byte
// for byte (no text decoding that could change what the unit sent).
QByteArray saved_recording(const QByteArray& recording);

// The progress bar's end for a file of `bytes`: about one step per recorded line.
int playback_progress_maximum(qint64 bytes);
