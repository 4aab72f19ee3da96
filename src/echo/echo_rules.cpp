#include "echo/echo_rules.h"

#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/shell_state.h"

#include <cmath>

std::array<bool, 4> count_down(std::array<int16_t, 4>& countdown) {
    std::array<bool, 4> due{};
    for (size_t k = 0; k < 4; ++k) {
        if (countdown[k] > 0)
            --countdown[k];
        due[k] = countdown[k] == 0;
    }
    return due;
}

bool any_due(const std::array<bool, 4>& due) {
    return due[0] || due[1] || due[2] || due[3];
}

int16_t interval_ticks(double seconds, int16_t previous) {
    return platform::to_int16(seconds).value_or(previous);
}

double trace_distance_max(const EchoTraceHeader& header) {
    return (header.sample_count - 1) / header.points_per_unit;
}

std::array<double, 3> gate_positions(const EchoTraceHeader& header) {
    return {header.window_1 / header.points_per_unit, header.window_2 / header.points_per_unit,
            header.window_3 / header.points_per_unit};
}

std::optional<SpanBands> span_bands(const std::array<double, 4>& span, double axis_max) {
    const double empty = span[0], width = span[1], near = span[2], far_percent = span[3];
    if (empty == 0 || width == 0)
        return std::nullopt;
    const double far = empty * (far_percent + 100) / 100;
    SpanBands b;
    if (near > 0)
        b.near_blank = Band{0, near};
    b.far_blank = {empty, far};
    b.beyond = {far, axis_max};
    return b;
}

QString status_word(double code, const QString& code_text) {
    if (code_text == QLatin1String("NO"))
        return ui_text(2408, QStringLiteral("Not Found"));
    for (int c = 0; c <= 3; ++c)
        if (code == c)
            return ui_text(1374 + c);
    return {};
}

bool status_is_full(const QString& word) {
    return !word.isEmpty() && (word == ui_text(1374) || word == ui_text(1375));
}

QString status_box_text(const QString& word, const StatusValues& v) {
    const auto& label = shell().status_label_texts;
    const QString crlf = QStringLiteral("\r\n");
    QString text = label[0] + word;
    if (!status_is_full(word))
        return text + crlf;
    text += crlf;
    text += label[1] + platform::format_number(v.distance, QStringLiteral("0.000")) + crlf;
    text += label[2] + platform::format_number(v.level, QStringLiteral("0.000")) + crlf;
    text += label[3] + v.confidence + crlf;
    text += label[4] + v.strength + crlf;
    text += label[5] + v.average_noise + crlf;
    text += label[6] + v.peak_noise + crlf;
    text += label[7] + v.temperature;
    return text;
}

std::optional<TemperatureRange> next_temperature_range(TemperatureRange range, double temperature) {
    if (temperature == 0)
        return range;
    const auto tens = platform::to_int16(std::floor(temperature / 10) * 10);
    if (!tens)
        return std::nullopt;
    range.minimum = std::min<double>(range.minimum, *tens);
    range.maximum = std::max<double>(range.maximum, *tens);
    return range;
}

std::pair<double, double> temperature_axis(TemperatureRange range) {
    return {range.minimum - 10, range.maximum + 10};
}

std::pair<double, double> readout_x_range(double last_x) {
    if (last_x <= READOUT_AXIS_SPAN)
        return {0, READOUT_AXIS_SPAN};
    return {last_x - READOUT_AXIS_SPAN, last_x};
}

std::optional<int> status_code_from_m1032(const QString& reply) {
    if (!platform::is_numeric(reply))
        return std::nullopt;
    const double v = platform::val(reply);
    for (int answer = 0; answer <= 3; ++answer)
        if (v == answer)
            return 3 - answer;
    return std::nullopt;
}

ReadoutLefts readout_lefts(int chart_width, int status_width, int level_width,
                           int temperature_width, bool status_on, bool level_on) {
    ReadoutLefts l;
    l.status = chart_width - status_width;
    l.level = chart_width - level_width - (status_on ? status_width : 0);
    l.temperature = chart_width - temperature_width - (status_on ? status_width : 0) -
                    (level_on ? level_width : 0);
    return l;
}

QString echo_error_text(int text_number, const char* fallback, const std::exception& e) {
    return ui_text(text_number, QLatin1String(fallback)) + QStringLiteral("0  : ") +
           QString::fromLocal8Bit(e.what());
}
