#include "logging/chart_units.h"

#include "logging/log_chart_model.h"
#include "logging/log_setup_page.h"
#include "logging/logging_constants.h"
#include "platform/dialogs.h"
#include "platform/program_folder.h"
#include "platform/text_file.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/shell_state.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

QString word(const QStringList& words, int index) {
    return index >= 0 && index < words.size() ? words[index] : QString();
}

int16_t clamp_index(double value, int count) {
    return static_cast<int16_t>(std::clamp<double>(value, 0, count - 1));
}

// A trailer field: the program writes "." but a trailer written under a regional format may hold
// a decimal comma.
std::optional<double> trailer_number(const QString& field) {
    QString t = field.trimmed();
    if (t.count(QLatin1Char(',')) + t.count(QLatin1Char('.')) > 1)
        return std::nullopt;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    return platform::read_number_c(t);
}

// The shortest text that reads back as the same double: the 15 digits of the general format
// turn the largest offsets into a number beyond the double range, and the trailer into noise.
QString offset_text(double offset) {
    if (!std::isfinite(offset))
        offset = 0;
    if (offset == 0)
        return QStringLiteral("0");
    return QString::number(offset, 'g', QLocale::FloatingPointShortest).toUpper();
}

// Where a log file's lines start and end: [start, end) of each line's text, line ends apart.
std::vector<std::pair<qsizetype, qsizetype>> line_spans(const QByteArray& bytes) {
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        spans.emplace_back(start, end);
        start = end + 1;
    }
    return spans;
}

// A line that holds the chart settings: a whole trailer the reader takes, and not the log's data
// line (the first line, unless it is a trailer itself), where a "~" is noise in the records.
bool is_trailer_line(const QByteArray& bytes, std::pair<qsizetype, qsizetype> span, bool first) {
    const QByteArray line = bytes.mid(span.first, span.second - span.first);
    if (first && !line.startsWith('~'))
        return false;
    return line.contains('~') &&
           logsetup::parse_chart_settings_trailer(QString::fromLatin1(line)).has_value();
}

// The whole number a unit's reply gives, or -1 when it gives none.
int whole_reply(const QString& reply) {
    const auto v = platform::read_number_c(reply);
    if (!v || std::fabs(*v) > 1e9)
        return -1;
    return static_cast<int>(platform::round_half_even(*v));
}

// The channels the chart holds a series for, in series order.
template <typename Visit> void for_each_charted_channel(Visit visit) {
    const auto& enabled = log_setup().log_channel_table.enabled;
    int k = 0;
    for (int c = 0; c < LOG_CHANNEL_COUNT; ++c) {
        if (c == TIME_STAMP_CHANNEL || !enabled[static_cast<size_t>(c)])
            continue;
        if (!visit(c, k))
            return;
        ++k;
    }
}

} // namespace

namespace logsetup {

ChartUnitSettings clamp_chart_units(ChartUnitSettings s) {
    s.distance_unit_index = clamp_index(s.distance_unit_index, DISTANCE_UNIT_COUNT);
    s.flow_volume_unit_index = clamp_index(s.flow_volume_unit_index, VOLUME_UNIT_COUNT);
    s.flow_time_unit_index = clamp_index(s.flow_time_unit_index, TIME_UNIT_COUNT);
    s.volume_unit_index = clamp_index(s.volume_unit_index, QUANTITY_UNIT_COUNT);
    s.totaliser_unit_index = clamp_index(s.totaliser_unit_index, VOLUME_UNIT_COUNT);
    s.totaliser_multiplier_index = clamp_index(s.totaliser_multiplier_index, MULTIPLIER_COUNT);
    return s;
}

QString chart_settings_trailer(const ChartUnitSettings& s) {
    const QChar bar = QLatin1Char('|');
    return QLatin1Char('~') + QString::number(s.distance_unit_index) + bar +
           QString::number(s.flow_volume_unit_index) + bar +
           QString::number(s.flow_time_unit_index) + bar + QString::number(s.volume_unit_index) +
           bar + QString::number(s.totaliser_unit_index) + bar +
           QString::number(s.totaliser_multiplier_index) + bar + offset_text(s.level_offset);
}

std::optional<ChartUnitSettings> parse_chart_settings_trailer(const QString& line) {
    const qsizetype tilde = line.indexOf(QLatin1Char('~'));
    if (tilde < 0)
        return std::nullopt;
    const QStringList fields = line.mid(tilde + 1).split(QLatin1Char('|'));
    if (fields.size() < 7)
        return std::nullopt;
    double v[7];
    for (int i = 0; i < 7; ++i) {
        const auto n = trailer_number(fields[i]);
        if (!n)
            return std::nullopt;
        v[i] = *n;
    }
    auto whole = [](double x) {
        return static_cast<int16_t>(std::clamp(platform::round_half_even(x), -32768.0, 32767.0));
    };
    ChartUnitSettings s;
    s.distance_unit_index = whole(v[0]);
    s.flow_volume_unit_index = whole(v[1]);
    s.flow_time_unit_index = whole(v[2]);
    s.volume_unit_index = whole(v[3]);
    s.totaliser_unit_index = whole(v[4]);
    s.totaliser_multiplier_index = whole(v[5]);
    s.level_offset = v[6];
    return clamp_chart_units(s);
}

int16_t distance_unit_from_reply(const QString& reply) {
    const int v = whole_reply(reply);
    return static_cast<int16_t>(v >= 1 && v <= DISTANCE_UNIT_COUNT ? v - 1 : 2);
}

int16_t volume_unit_from_reply(const QString& reply) {
    const int v = whole_reply(reply);
    return static_cast<int16_t>(v >= 0 && v < QUANTITY_UNIT_COUNT ? v : 0);
}

int16_t pumped_totaliser_unit_from_reply(const QString& reply) {
    const int v = whole_reply(reply);
    return static_cast<int16_t>(v >= 0 && v < VOLUME_UNIT_COUNT ? v : 0);
}

int16_t flow_volume_unit_from_reply(const QString& reply) {
    const int v = whole_reply(reply);
    return static_cast<int16_t>(v >= 0 && v < VOLUME_UNIT_COUNT ? v : 0);
}

int16_t flow_time_unit_from_reply(const QString& reply) {
    // The raw value is compared with the last index, so 4.4 is out of range though it rounds to 4.
    const auto raw = platform::read_number_c(reply);
    const int v = whole_reply(reply);
    return static_cast<int16_t>(raw && *raw <= TIME_UNIT_COUNT - 1 && v >= 0 ? v : 0);
}

std::optional<ChartUnitSettings> chart_settings_in_log(const QByteArray& bytes) {
    std::optional<ChartUnitSettings> last;
    const auto spans = line_spans(bytes);
    for (size_t i = 0; i < spans.size(); ++i)
        if (is_trailer_line(bytes, spans[i], i == 0))
            last = parse_chart_settings_trailer(
                QString::fromLatin1(bytes.mid(spans[i].first, spans[i].second - spans[i].first)));
    return last;
}

std::optional<QByteArray> log_with_trailer(const QByteArray& bytes, const QString& trailer) {
    if (!parse_chart_settings_trailer(trailer) || trailer.contains(QLatin1Char('\r')) ||
        trailer.contains(QLatin1Char('\n')))
        return std::nullopt;
    // Keep every byte before the first trailer line, line ends as they were.
    qsizetype cut = bytes.size();
    const auto spans = line_spans(bytes);
    for (size_t i = 0; i < spans.size(); ++i)
        if (is_trailer_line(bytes, spans[i], i == 0)) {
            cut = spans[i].first;
            break;
        }
    QByteArray out = bytes.left(cut);
    if (!out.isEmpty() && !out.endsWith('\r') && !out.endsWith('\n'))
        out += "\r\n";
    out += trailer.toLatin1() + "\r\n";
    return out;
}

int16_t totaliser_multiplier_from_reply(const QString& reply) {
    const int v = whole_reply(reply);
    return static_cast<int16_t>(v >= 1 && v <= MULTIPLIER_COUNT ? v - 1 : 3);
}

} // namespace logsetup

void reset_chart_settings() {
    log_setup().chart_units = ChartUnitSettings{};
}

void confirm_level_offset() {
    auto& units = log_setup().chart_units;
    if (units.level_offset == 0)
        return;
    const QString crlf = QStringLiteral("\r\n");
    const QString prompt =
        ui_text(1462, QStringLiteral("The chart uses a level offset of ")) +
        platform::number_text(units.level_offset).trimmed() + crlf +
        ui_text(1463, QStringLiteral("It is added to the downloaded level values.")) + crlf +
        ui_text(1464, QStringLiteral("Keep this offset?"));
    const platform::Answer answer = platform::msg_box(
        prompt, platform::mb::YesNo | platform::mb::Question, QStringLiteral("Level Offset"));
    if (answer == platform::Answer::No)
        units.level_offset = 0;
}

bool read_chart_settings(const QString& path) {
    const auto bytes = platform::read_file_bytes(path);
    if (!bytes)
        return false;
    if (const auto last = logsetup::chart_settings_in_log(*bytes))
        log_setup().chart_units = *last;
    return true;
}

bool save_chart_settings(const QString& path, const QString& trailer) {
    const auto bytes = platform::read_file_bytes(path);
    if (!bytes)
        return false;
    const auto out = logsetup::log_with_trailer(*bytes, trailer);
    return out && platform::write_file_atomically(path, *out);
}

QString get_trace_units(int channel) {
    const ShellState& sh = shell();
    const ChartUnitSettings& u = log_setup().chart_units;
    switch (channel) {
    case 0:
    case 1:
    case 8:
    case 9:
    case 22:
    case 23:
        return word(sh.distance_unit_names, u.distance_unit_index);
    case 2:
    case 10:
        return QStringLiteral("%");
    case 3:
    case 4:
    case 5:
    case 6:
    case 11:
    case 12:
    case 13:
    case 14:
        return QStringLiteral("dB");
    case 7:
    case 15:
        return QString(QChar(176)) + QLatin1Char('C');
    case 16:
    case 17:
    case 18:
        return QStringLiteral("mA");
    case 27:
    case 28:
    case 37:
    case 38:
    case 39:
        return word(sh.quantity_unit_names, u.volume_unit_index);
    case 29:
    case 30:
    case 40:
    case 41:
    case 42:
    case 43:
        return word(sh.volume_unit_names, u.flow_volume_unit_index) + QLatin1Char('/') +
               word(sh.time_unit_names, u.flow_time_unit_index);
    case 44:
        return QStringLiteral("m/s");
    case 24:
    case 25:
    case 26:
    case 34:
    case 35:
    case 36:
    case 45:
    case 46:
    case 47:
        return word(sh.volume_unit_names, u.totaliser_unit_index) +
               word(sh.totaliser_multiplier_names, u.totaliser_multiplier_index);
    default:
        return {};
    }
}

QString get_trace_title(int channel) {
    QString title = channel_box_caption(channel);
    if (log_setup().unit_type == 13) {
        if ((channel >= 0 && channel <= 7) || (channel >= 24 && channel <= 30))
            title += QStringLiteral(" 1");
        else if ((channel >= 8 && channel <= 15) || (channel >= 34 && channel <= 41))
            title += QStringLiteral(" 2");
        else if (channel == 42 || channel == 43)
            title += QStringLiteral(" 1&2");
    }
    QString units = get_trace_units(channel);
    const QStringList& volumes = shell().volume_unit_names;
    if (!volumes.isEmpty() && !volumes[0].isEmpty() &&
        units.contains(volumes[0], Qt::CaseInsensitive))
        units.clear();
    return title + QStringLiteral(" (") + units + QLatin1Char(')');
}

QString get_enabled_trace_units(int n) {
    QString units;
    for_each_charted_channel([&](int channel, int k) {
        if (k < n)
            return true;
        units = get_trace_units(channel);
        return false;
    });
    return units.isEmpty() ? QStringLiteral("no units") : units;
}

void update_series_titles() {
    LogChartModel& chart = log_chart_model();
    for_each_charted_channel([&](int channel, int k) {
        if (k >= chart.series_count())
            return false;
        chart.set_channel_title(k, get_trace_title(channel));
        return true;
    });
    chart.changed();
}

void apply_level_offset() {
    const LogSetupState& s = log_setup();
    const int from = clamp_index(s.setup_start_distance_unit, logsetup::DISTANCE_UNIT_COUNT);
    const int to = clamp_index(s.chart_units.distance_unit_index, logsetup::DISTANCE_UNIT_COUNT);
    const double factor = length_unit_factor(from + 1, to + 1);
    const double shift = s.chart_units.level_offset - s.setup_start_level_offset;
    if (factor == 1 && shift == 0)
        return;
    LogChartModel& chart = log_chart_model();
    for_each_charted_channel([&](int channel, int k) {
        if (k >= chart.series_count())
            return false;
        std::vector<double>& y = chart.series(k).y;
        switch (channel) {
        case 0:
        case 8:
            for (double& v : y)
                v = v * factor + shift;
            break;
        case 1:
        case 9:
        case 22:
        case 23:
            for (double& v : y)
                v *= factor;
            break;
        default:
            break;
        }
        return true;
    });
    chart.changed();
}

void apply_chart_unit_changes(const QString& trailer_when_opened) {
    update_series_titles();
    const LogSetupState& s = log_setup();
    const QString line = logsetup::chart_settings_trailer(s.chart_units);
    const QString temp_log = platform::join_path(shell().data_folder, logging_files::TEMP_LOG);
    if (!s.chart_log_file.isEmpty() && s.chart_log_file != temp_log &&
        line != trailer_when_opened && !save_chart_settings(s.chart_log_file, line))
        platform::msg_box(
            ui_text(1467,
                    QStringLiteral("The chart settings could not be saved in the log file.")) +
                QStringLiteral("\r\n") + s.chart_log_file,
            platform::mb::Exclamation);
    apply_level_offset();
}
