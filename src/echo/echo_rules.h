#pragma once
// The arithmetic of the echo display without widgets: which trace kinds a live tick fetches,
// where the axes, gate bars and span bands go, the status box's lines, the temperature chart's
// range, and where the read-outs sit over the echo chart.

#include "echo/echo_trace.h"

#include <QString>
#include <array>
#include <cstdint>
#include <exception>
#include <optional>

// The message for a failure nobody expected: the text numbered `text_number` with code 0 and the
// failure's own description.
QString echo_error_text(int text_number, const char* fallback, const std::exception& e);

// ---- The live tick's countdowns

// One tick: every countdown above 0 goes down by one; the kinds whose countdown is then 0 are due.
// The monitor reloads a due kind's countdown from its interval once it has dealt with it.
std::array<bool, 4> count_down(std::array<int16_t, 4>& countdown);
bool any_due(const std::array<bool, 4>& due);
// An interval as the box gives it (seconds; 0 and 1 both mean every tick). A value that does not
// fit a 16-bit whole number keeps `previous`.
int16_t interval_ticks(double seconds, int16_t previous);

// ---- Axes, gate and span on the echo chart (distances in the unit of P104)

inline constexpr double ECHO_AMPLITUDE_MAX = 999;

// The bottom axis end for a trace: the distance of its last sample.
double trace_distance_max(const EchoTraceHeader& header);
// The gate bars' distances, in reply order.
std::array<double, 3> gate_positions(const EchoTraceHeader& header);

struct Band {
    double start = 0, end = 0;
    bool operator==(const Band&) const = default;
};
struct SpanBands {
    std::optional<Band> near_blank; // band 1; unset: keeps its previous extent
    Band far_blank;                 // band 2: from the empty level to the far blanking end
    Band beyond;                    // band 3: from there to the axis end
};
// The bands for P105..P108 (`span`) with the bottom axis ending at `axis_max`; nothing when P105
// or P106 is 0 (the span was not read).
std::optional<SpanBands> span_bands(const std::array<double, 4>& span, double axis_max);

// ---- The status box

// The status word of a status code (UI texts 1374..1377 for 0..3; empty for any other value),
// "Not Found" when the unit lacks P900.
QString status_word(double code, const QString& code_text);

// The values of the status box's lines 2..8 as they are shown.
struct StatusValues {
    double distance = 0;
    double level = 0;
    QString confidence, strength, average_noise, peak_noise, temperature;
};
// The box's text: the status line, and for the words of codes 0 and 1 seven value lines.
QString status_box_text(const QString& word, const StatusValues& values);
// True when the text is the full (eight-line) form.
bool status_is_full(const QString& word);

// ---- The small charts

// The temperature chart's running range: the lowest and highest tens-rounded reading shown.
struct TemperatureRange {
    double minimum = 0, maximum = 0;
};
// The range after a reading; nullopt when the reading's tens do not fit 16 bits (the reading is
// then dropped). A reading of exactly 0 leaves the range alone.
std::optional<TemperatureRange> next_temperature_range(TemperatureRange range, double temperature);
// The left axis the range gives: 10 below its minimum to 10 above its maximum.
std::pair<double, double> temperature_axis(TemperatureRange range);

// The small charts show the last READOUT_POINTS readings and scroll; older points are dropped.
inline constexpr int READOUT_AXIS_SPAN = 25;
inline constexpr int READOUT_POINTS = READOUT_AXIS_SPAN + 1;
// The bottom axis for the newest reading at x = `last_x` (0 to 25 until the chart is full).
std::pair<double, double> readout_x_range(double last_x);

// "/m1032" answers 0..3 for a status code 3..0; nullopt for any other reply.
std::optional<int> status_code_from_m1032(const QString& reply);

// ---- Read-out places over the echo chart: they line up leftwards from its right edge, status
// box, level chart, temperature chart, each leaving room only for those before it that are on.
struct ReadoutLefts {
    int status = 0, level = 0, temperature = 0;
};
ReadoutLefts readout_lefts(int chart_width, int status_width, int level_width,
                           int temperature_width, bool status_on, bool level_on);
