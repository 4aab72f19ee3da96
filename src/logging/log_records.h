#pragma once
// Reading a log file (.vlg): the header of the unit's "/getlog" answer, the layout of its records
// as the header's channel masks give it, the decoding of one record into the values the chart
// draws, and the whole file decoded at once into one column of points per chart series. Plain
// logic: no widgets, no link, no program state; the chart loader feeds it the settings it needs.

#include "logging/log_setup_state.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace logfile {

// The largest record: every channel of the width table logged at once.
inline constexpr int MAX_RECORD_BYTES = 93;
// Values of one record: day count, HHMM, one per channel except the time stamp, six relays.
inline constexpr int MAX_RECORD_VALUES = 2 + LOG_CHANNEL_COUNT - 1 + 6;
inline constexpr int RELAY_BITS = 6;

// The eleven header fields of a log file.
struct LogHeader {
    QString log_type;  // 1 marks a CSO log (unless the unit type is 43)
    int16_t unit_type = 0;
    double ma_input = 0;
    QString start_date; // D(D)MMYY as the unit wrote it
    int32_t channel_mask_1 = 0;
    int32_t channel_mask_2 = 0;
    int32_t channel_mask_3 = 0;
    double log_interval = 0; // minutes
    double log_wrapping = 0;
    double log_records = 0;
    QString serial_number; // field 11 before its first "$"
};

// D(D)MMYY: the last two digits the year (00-29 are 2000-2029, 30-99 1930-1999), the two
// before them the month, the rest the day; a month or day beyond its range rolls over into the
// next month or year. nullopt unless the text (trimmed) is five or six digits.
std::optional<QDate> start_date_from_text(const QString& text);

// Field 11 up to its first "$" (the whole field when it has none).
QString serial_number_of(const QString& field11);

// Where each value of a record sits.
struct RecordLayout {
    struct Field {
        int channel = 0;
        int width = 0;    // bytes; a width-0 channel reads the next byte without taking it
        int decimals = 0;
    };
    std::vector<Field> fields; // logged channels 0..47 except the time stamp, in channel order
    bool relays = false;       // channel 19 logged: six relay values follow the channels
    int record_bytes = 3;      // the time stamp and every field
};

// The layout the three mask words give with the table's widths and decimals. The time stamp is
// always part of a record, whether or not the mask names it.
RecordLayout record_layout(int32_t mask1, int32_t mask2, int32_t mask3,
                           const LogChannelTable& table);

// How decoded values are put into the chart's terms.
struct DecodeSettings {
    int distance_unit_index = 2; // the chart's length unit (0 m .. 4 in); raw lengths are mm
    double level_offset = 0;     // in the chart's length unit, added to channels 0 and 8
    int16_t unit_type = 0;       // 17: flows 29 and 30 are signed
};

// Two hexadecimal digits (either case) to 0..255; a character that is not a hex digit counts 0.
int hex2int(char high, char low);

// A record is "$" and exactly 2 * record_bytes hex digits (either case); false (and nothing
// written) otherwise or when record_bytes is beyond MAX_RECORD_BYTES. A digit that is not hex
// makes the whole record unreadable: read as 0 it would chart a value the unit never logged.
bool hex_record_to_bytes(QByteArrayView record, int record_bytes,
                         std::array<uint8_t, MAX_RECORD_BYTES>& bytes);

// The record's values: [0] day count, [1] HHMM, then one per layout field, then the relays.
// Returns how many values were written.
int decode_record_values(const std::array<uint8_t, MAX_RECORD_BYTES>& bytes,
                         const RecordLayout& layout, const DecodeSettings& settings,
                         std::array<double, MAX_RECORD_VALUES>& values);

// The date `days` after (forward) or before `base`; nullopt when `base` is no date or the result
// leaves the calendar.
std::optional<QDate> AdjustDays(bool forward, int days, const std::optional<QDate>& base);

// What the reading of a file came to.
enum class LogProblem {
    None,
    NotALog,       // fewer than eleven header fields, or a numeric field that is no number
    NoRecords,     // the header counts no records
    BadStartDate,  // the start date cannot be read: the records cannot be dated
    RecordTooLong, // the masks give a record larger than any the unit makes
};

// A whole log file decoded: the header, then the points of every value column (layout fields,
// then relays), all columns sharing one x per drawn record.
struct DecodedLog {
    LogProblem problem = LogProblem::None;
    LogHeader header;
    std::optional<QDate> start_date;
    RecordLayout layout;
    // x: the record's date and time as seconds since 1970-01-01 00:00 of the logged clock.
    std::vector<double> x;
    std::vector<std::vector<double>> columns; // layout.fields.size() (+ 6 relays) columns
    // Counters of the records met
    int valid_date_count = 0;
    int invalid_date_count = 0;
    // Fields that are neither a record of the layout nor the trailer (a record with a digit that
    // is not hex among them)
    int malformed_records = 0;
    int duplicate_records = 0; // same date and time as the record drawn before
    int invalid_times = 0;     // HHMM beyond 23:59
    bool stopped_at_count = false; // more records than the header counts: the rest were left

    // Records of the layout the file holds (dated or not, drawn or not), up to the count rule:
    // fewer than the header counts means the file lost some.
    int records_read() const { return valid_date_count + invalid_date_count; }
};

// Told of each field after the first record, before it is decoded, with the counters so far:
// the chart loader shows its progress from here.
using FieldObserver = std::function<void(QByteArrayView field, const DecodedLog& so_far)>;

// Decodes a log file held in memory. Relays are decoded only when `relay_columns` > 0 (at most
// six); the record count rule admits the header's count and one more.
DecodedLog decode_log(QByteArrayView file, const LogChannelTable& table,
                      const DecodeSettings& settings, int relay_columns,
                      const FieldObserver& observer = {});

// Only the header and layout (no records): what the set-up page needs of a file, and every
// problem the header alone shows.
DecodedLog decode_log_header(QByteArrayView file, const LogChannelTable& table);

// The date-time step of the chart's time axis for a log interval in minutes, in seconds.
double axis_step_seconds(double log_interval_minutes);

// The 18 colours the chart's series take in turn (red + 256 * green + 65536 * blue).
int32_t series_colour(int n);

} // namespace logfile
