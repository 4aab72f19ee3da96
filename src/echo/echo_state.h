#pragma once
// Program-wide state of the echo traces and the live monitor: the trace table and the header of
// the last reply, the span and status values last read, the countdowns of the live tick, the
// zoom holds and the running temperature range. One instance for the run; tests reset it.

#include "echo/echo_trace.h"

#include <QString>
#include <array>
#include <cstdint>

struct EchoState {
    EchoTraces traces;
    EchoTraceHeader header;

    QString recorded_trace_text;           // what the recorder writes as a line's last field
    std::array<double, 4> span_values{};   // P105, P106, P107, P108
    double level_value = 0;                // last "/LEVEL"
    double temperature_value = 0;          // last "/TEMP"
    QString echo_unit_text = QStringLiteral("m"); // unit of P104
    bool echo_recording = false;           // a recording file is open

    std::array<bool, 3> echo_axis_hold{}; // per chart: the user zoomed, new traces keep the axes
    bool span_read_done = false;          // the span was read since the start (or undo-zoom)
    bool status_read_done = false;        // the status block was read since the start
    std::array<int16_t, 4> trace_countdown{}; // ticks left before each kind is due
    int16_t echo_chart_number = 1;

    double temperature_min = 0; // lowest tens-rounded temperature shown since the live start
    double temperature_max = 0;
    // The recorder and the player (time of day in seconds, echo_recording.h)
    double record_last_time = 0;
    bool record_line_due = false;
    QString echo_file_name; // the file "play" plays; empty: ask
    bool playback_running = false;
    bool playback_paused = false;
    bool playback_stopped = false;
    bool playback_file_open = false;
    double play_last_time = 0;
    bool play_line_due = false;
    bool status_from_playback = false;
    std::array<QString, 10> playback_fields; // the leading fields of the last played line
};

EchoState& echo_state();
void reset_echo_state();
