#pragma once
// One echo trace as the unit sends it: a line of fixed-width fields after a "$" and a kind
// letter (points per distance unit, three gate positions, then three characters per sample),
// and the program-wide trace table the chart, the read-outs and the recorder read. Plain code:
// the exchange that fetches a reply lives in echo_exchange.h.
//
// A reply is read with a cursor over fixed-width fields. Fields are numbers as val() reads them
// ("." whatever the locale, blanks skipped, an empty field is 0).

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

inline constexpr int TRACE_SAMPLES = 6401; // rows of the table: samples 0..6400
inline constexpr int TRACE_KINDS = 4;      // RAW, NORMAL, AVERAGE, KOVEX
inline constexpr int TRACE_HEADER_LENGTH = 19; // "$", the letter, 5 and three times 4

// The trace commands by kind number 1..4 (index 0 unused), without the carriage return.
inline constexpr std::array<const char*, 5> TRACE_COMMANDS = {"", "/ECHORAW1", "/ECHONORM1",
                                                              "/ECHOAVERAGE1", "/ECHOKOVEX1"};

struct EchoTraceHeader {
    double points_per_unit = 0; // samples per distance unit of P104
    double window_1 = 0, window_2 = 0, window_3 = 0; // gate positions, in samples
    int16_t sample_count = 0;
};

// Samples by trace column 0..3 (kind - 1) and sample index 0..6400.
struct EchoTraces {
    std::array<std::array<int16_t, TRACE_SAMPLES>, TRACE_KINDS> column{};
    int16_t& at(int sample, int trace_column) {
        return column[static_cast<size_t>(trace_column)][static_cast<size_t>(sample)];
    }
    void clear() {
        for (auto& c : column)
            c.fill(0);
    }
};

// Field readers. `reply_cursor` is the 1-based position of the next field; each read advances it
// by `width`. A field past the end of the text reads as 0.
double reply_field_real(QStringView text, int width, int& reply_cursor);
// The same value rounded half to even to 16 bits. A value that does not fit reads as 0 and sets
// `overflow`; the cursor still moves on, so the rest of the reply is read where it stands.
int16_t reply_field_int(QStringView text, int width, int& reply_cursor, bool& overflow);

// Takes the first comma-separated field off `text`: the characters before the first ",",
// untrimmed, leaving the rest after the comma; without a comma, Trim(text) and `text` unchanged.
QString pop_csv_field(QString& text);

// What parsing one reply found.
struct TraceParseResult {
    bool is_trace = false;     // false: the reply held "OK" and nothing was read
    bool overflow = false;     // some field did not fit 16 bits and was read as 0
    bool cut = false;          // the reply carried more samples than the table holds
    int dropped_samples = 0;   // how many were left out
};

// Reads a reply into `header` and samples 0..sample_count-1 of `column`. The header starts after
// the first "$" and its letter (at the start when there is none), and the sample count is taken
// from there to the end of the reply, so that text before the "$" adds no phantom samples. More
// than TRACE_SAMPLES samples are cut at TRACE_SAMPLES.
TraceParseResult parse_trace_reply(QStringView reply, EchoTraceHeader& header,
                                   std::array<int16_t, TRACE_SAMPLES>& column);

// The letter after the first "$" of a reply (the kind as the unit names it), or a null QChar.
QChar trace_letter(QStringView reply);
