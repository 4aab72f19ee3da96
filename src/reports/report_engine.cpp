#include "reports/report_engine.h"

#include "logging/log_chart_model.h"
#include "platform/vb.h"
#include "reports/report_time.h"

#include <cmath>

namespace reports {
namespace {

constexpr uint32_t BLUE = 0x0000FF;
constexpr uint32_t DARK_GREEN = 0x008000;
constexpr uint32_t RED = 0xFF0000;
constexpr uint32_t BLACK = 0x000000;
constexpr int RULE_WIDTH_WITH_TOTAL = 129;
constexpr int RULE_WIDTH_WITHOUT_TOTAL = 106;
const QString CRLF = QStringLiteral("\r\n");

QString number(double v) {
    return platform::format_number(v, QStringLiteral("0.0"));
}

QString bracketed(const QString& text) {
    return platform::format_text(text, QStringLiteral("(&&&&&&&&&&&)"));
}

// One report run: the walk over the chart and the pieces it writes.
class ReportWriter {
public:
    ReportWriter(const ReportRequest& r, ReportDocument& doc) : r_(r), doc_(doc) {
        rule_ = QString(r.daily_total_enabled ? RULE_WIDTH_WITH_TOTAL : RULE_WIDTH_WITHOUT_TOTAL,
                        QLatin1Char('-')) +
                CRLF;
    }

    ReportState run(const LogChartModel& chart, const std::function<void(int, int)>& progress);

private:
    QString date(double serial) const { return format_serial(serial, r_.date_format_text); }
    void reset_calculation();
    void write_report_header();
    void write_report_data_line();
    void write_daily_summary();
    void generate_report_body(const LogChartModel& chart,
                              const std::function<void(int, int)>& progress);

    const ReportRequest& r_;
    ReportDocument& doc_;
    ReportState s_;
    QString rule_;
};

void ReportWriter::reset_calculation() {
    s_.day_max = -9999999;
    s_.day_min = 99999999;
    s_.channel_day_max = -9999999;
    s_.channel_day_min = 9999999;
    s_.day_sum = s_.day_count = s_.day_mean = s_.daily_total = 0;
    s_.day_min_time = s_.day_max_time = 0;
}

void ReportWriter::write_report_header() {
    s_.totaliser_unit_text = volume_unit_list().value(r_.units.totaliser_unit).trimmed();
    s_.day_max = -999999999;
    s_.day_min = 999999999;
    s_.channel_day_max = -999999999;
    s_.channel_day_min = 999999999;
    s_.max_daily_total = 0;
    s_.max_daily_total_date = s_.period_start;
    s_.min_daily_total = 99999999;
    s_.min_daily_total_date = s_.period_start;
    s_.period_max = -99999999;
    s_.period_max_datetime = 0;
    s_.period_min = 99999999;
    s_.period_min_datetime = 0;
    s_.period_total = s_.average_daily = s_.day_lines = 0;

    doc_.set_font(QStringLiteral("Times New Roman"));
    doc_.set_bold(true);
    doc_.set_size(16);
    doc_.set_colour(BLUE);
    doc_.write(r_.company_name + CRLF);
    doc_.write(r_.company_address + CRLF);
    doc_.set_size(10);
    doc_.set_bold(false);
    doc_.set_colour(BLACK);
    doc_.write(rule_);
    doc_.set_colour(DARK_GREEN);
    doc_.write(QStringLiteral("Compiled By      : ") + r_.report_author + QStringLiteral(" on ") +
               date(r_.now) + QStringLiteral(" @ ") +
               format_serial(r_.now, QStringLiteral("hh:mm")) + CRLF);
    doc_.write(QStringLiteral("Log File Name   : ") + r_.log_file_name + CRLF);
    doc_.write(QStringLiteral("Machine Name  : ") + r_.computer_name + CRLF);
    doc_.set_size(10);
    doc_.set_bold(false);
    doc_.set_colour(BLACK);
    doc_.write(rule_);

    doc_.set_colour(RED);
    doc_.write(QStringLiteral("Reporting  "));
    doc_.set_bold(true);
    doc_.write(r_.trend_title);
    doc_.set_bold(false);
    doc_.write(QStringLiteral("  for period from "));
    doc_.set_bold(true);
    doc_.write(date(static_cast<double>(r_.from_day)));
    doc_.set_bold(false);
    doc_.write(QStringLiteral(" to "));
    doc_.set_bold(true);
    doc_.write(date(static_cast<double>(r_.to_day)) + CRLF);
    doc_.set_bold(false);
    doc_.write(QStringLiteral("Site Number : ") + r_.site_number + CRLF);
    doc_.write(QStringLiteral("Site Description : ") + r_.site_description + CRLF);
    doc_.write(QStringLiteral("Remarks : ") + r_.remarks + CRLF);

    if (r_.daily_total_enabled) {
        doc_.set_bold(false);
        doc_.write(QStringLiteral("Daily Report Method : "));
        doc_.set_bold(true);
        doc_.write((r_.pumped_volume ? QStringLiteral("Sum of Pumped") : method_text(r_)) + CRLF);
        const QStringList volumes = volume_unit_list();
        if (r_.flow_unit_box_enabled) {
            doc_.set_bold(false);
            doc_.write(r_.pumped_volume ? QStringLiteral("Pumped Volume Unit : ")
                                        : QStringLiteral("Flow Unit : "));
            doc_.set_bold(true);
            doc_.write(volumes.value(r_.units.flow_volume_unit));
            doc_.write(r_.pumped_volume
                           ? CRLF
                           : QStringLiteral("/") + time_unit_list().value(r_.units.flow_time_unit) +
                                 CRLF);
        }
        doc_.set_bold(false);
        doc_.write(QStringLiteral("Totaliser Unit : "));
        doc_.set_bold(true);
        doc_.write(volumes.value(r_.units.totaliser_unit) + CRLF);
    }
    doc_.set_bold(false);
    doc_.set_colour(BLACK);
    doc_.set_size(10);
    doc_.write(rule_);

    doc_.set_bold(true);
    doc_.set_tab_count(7);
    QStringList columns = {QStringLiteral("Date"), QStringLiteral("Mean"), QStringLiteral("Min"),
                           QStringLiteral("Time"), QStringLiteral("Max"), QStringLiteral("Time")};
    if (r_.daily_total_enabled)
        columns << QStringLiteral("Daily Total");
    doc_.write(columns.join(QLatin1Char('\t')) + CRLF);
    QString u = bracketed(r_.trend_units);
    if (!r_.none_unit_word.isEmpty() && u.contains(r_.none_unit_word, Qt::CaseInsensitive))
        u.clear();
    QStringList unit_cells = {bracketed(r_.date_format_text), u, u, QStringLiteral("(24hr)"), u,
                              QStringLiteral("(24hr)")};
    if (r_.daily_total_enabled)
        unit_cells << bracketed(s_.totaliser_unit_text);
    doc_.write(unit_cells.join(QLatin1Char('\t')) + CRLF);
    doc_.set_bold(false);
    doc_.set_size(10);
    doc_.set_colour(BLACK);
    doc_.write(rule_);
}

void ReportWriter::write_report_data_line() {
    s_.day_lines += 1;
    s_.period_total += s_.daily_total;
    s_.average_daily = s_.period_total / s_.day_lines;
    if (s_.daily_total > s_.max_daily_total) {
        s_.max_daily_total = s_.daily_total;
        s_.max_daily_total_date = s_.current_day;
    }
    if (s_.daily_total < s_.min_daily_total) {
        s_.min_daily_total = s_.daily_total;
        s_.min_daily_total_date = s_.current_day;
    }
    if (s_.day_max > s_.period_max) {
        s_.period_max = s_.day_max;
        s_.period_max_datetime = s_.day_max_datetime;
    }
    if (s_.day_min < s_.period_min) {
        s_.period_min = s_.day_min;
        s_.period_min_datetime = s_.day_min_datetime;
    }

    const QString hhmm = QStringLiteral("hh:mm");
    QString line = date(s_.current_day) + QLatin1Char('\t') + number(s_.day_mean) +
                   QLatin1Char('\t') + number(s_.day_min) + QLatin1Char('\t');
    if (r_.daily_total_enabled) {
        line += QStringLiteral("@ ") + format_serial(s_.day_min_time, hhmm) + QLatin1Char('\t') +
                number(s_.day_max) + QLatin1Char('\t') + QStringLiteral("@ ") +
                format_serial(s_.day_max_time, hhmm) + QLatin1Char('\t') + number(s_.daily_total);
    } else {
        line += format_serial(s_.day_min_time, hhmm) + QLatin1Char('\t') + number(s_.day_max) +
                QLatin1Char('\t') + format_serial(s_.day_max_time, hhmm);
    }
    doc_.write(line);
    doc_.write(CRLF);
}

void ReportWriter::write_daily_summary() {
    doc_.set_size(10);
    doc_.set_bold(false);
    doc_.set_colour(BLACK);
    doc_.write(rule_);
    doc_.set_underline(true);
    doc_.set_bold(true);
    doc_.write(QStringLiteral("Report Summary") + CRLF);
    doc_.set_underline(false);
    doc_.set_bold(false);
    const QString u2 = QLatin1Char(' ') + s_.totaliser_unit_text;
    if (r_.daily_total_enabled) {
        doc_.write(QStringLiteral("Average Daily    \t=  ") + number(s_.average_daily) + u2 + CRLF);
        doc_.write(QStringLiteral("Period Total     \t=  ") + number(s_.period_total) + u2 + CRLF);
        doc_.write(QStringLiteral("Max Daily Total \t=  ") + number(s_.max_daily_total) + u2 +
                   QStringLiteral("\t on ") + date(s_.max_daily_total_date) + CRLF);
        doc_.write(QStringLiteral("Min Daily Total \t=  ") + number(s_.min_daily_total) + u2 +
                   QStringLiteral("\t on ") + date(s_.min_daily_total_date) + CRLF);
    }
    const QString title = r_.trend_title.trimmed();
    const QString at_pattern = QStringLiteral("hh:mm, ") + r_.date_format_text;
    doc_.write(QStringLiteral("Period Max. ") + title + QStringLiteral("\t=  ") +
               number(s_.period_max) + QStringLiteral("\t @ ") +
               format_serial(s_.period_max_datetime, at_pattern) + CRLF);
    doc_.write(QStringLiteral("Period Min. ") + title + QStringLiteral("\t=  ") +
               number(s_.period_min) + QStringLiteral("\t @ ") +
               format_serial(s_.period_min_datetime, at_pattern) + CRLF);
}

void ReportWriter::generate_report_body(const LogChartModel& chart,
                                        const std::function<void(int, int)>& progress) {
    const LogChartSeries& trend = chart.series(r_.trend_series);
    const LogChartSeries* total =
        r_.daily_total_enabled ? &chart.series(r_.total_series) : nullptr;
    const int count = trend.point_count();
    const int64_t start = r_.from_day * SECONDS_PER_DAY;
    const int64_t end = r_.to_day * SECONDS_PER_DAY + SECONDS_PER_DAY - 1;
    const bool positive_only =
        !r_.pumped_word.isEmpty() && r_.trend_title.contains(r_.pumped_word, Qt::CaseInsensitive);
    int64_t current_day = r_.from_day;
    double t = 0;
    constexpr int PROGRESS_STEP = 4096;

    for (int i = 0; i < count; ++i) {
        if (progress && i % PROGRESS_STEP == 0)
            progress(i, count);
        const int64_t point_seconds = serial_seconds_from_chart_x(trend.x[static_cast<size_t>(i)]);
        const double y = trend.y[static_cast<size_t>(i)];
        double a = 0;
        bool has_a = false;
        bool adds_area = false;
        if (total) {
            const size_t n = total->y.size();
            has_a = static_cast<size_t>(i) < n;
            a = has_a ? total->y[static_cast<size_t>(i)] : 0.0;
            switch (r_.method) {
            case 0:
            case 1: t = a; break;
            case 2:
                // The last point has no successor and so no interval of its own.
                adds_area = has_a && static_cast<size_t>(i) + 1 < n;
                t = adds_area ? (a + total->y[static_cast<size_t>(i) + 1]) / 2.0 : 0.0;
                break;
            default: break;
            }
        }
        const double t_converted =
            r_.pumped_volume ? convert_flow_to_totaliser_unit(r_.units, t) : t;

        if (point_seconds < start || point_seconds > end)
            continue;
        const int64_t point_day = serial_day(point_seconds);
        const double point_time_of_day =
            static_cast<double>(point_seconds - point_day * SECONDS_PER_DAY) / SECONDS_PER_DAY;
        if (point_day != current_day) {
            write_report_data_line();
            reset_calculation();
            current_day = point_day;
            s_.current_day = static_cast<double>(point_day);
        }
        if (!positive_only || y > 0) {
            s_.day_sum += y;
            s_.day_count += 1;
            s_.day_mean = s_.day_sum / s_.day_count;
            const double point_time = serial_from_seconds(point_seconds);
            if (y < s_.day_min) {
                s_.day_min = y;
                s_.day_min_time = point_time_of_day;
                s_.day_min_datetime = point_time;
            }
            if (y > s_.day_max) {
                s_.day_max = y;
                s_.day_max_time = point_time_of_day;
                s_.day_max_datetime = point_time;
            }
        }
        if (total && has_a) {
            if (a > s_.channel_day_max)
                s_.channel_day_max = a;
            if (a < s_.channel_day_min)
                s_.channel_day_min = a;
            switch (r_.method) {
            case 0:
                if (r_.pumped_volume)
                    s_.daily_total += convert_to_litres(r_.units, a) * s_.totaliser_factor;
                else
                    s_.daily_total = s_.channel_day_max;
                break;
            case 1: s_.daily_total = s_.channel_day_max - s_.channel_day_min; break;
            case 2:
                if (adds_area)
                    s_.daily_total += t_converted * s_.totaliser_factor;
                break;
            default: break;
            }
        }
    }
    if (progress)
        progress(count, count);
    write_report_data_line();
    write_daily_summary();
}

ReportState ReportWriter::run(const LogChartModel& chart,
                              const std::function<void(int, int)>& progress) {
    s_.period_start = static_cast<double>(r_.from_day);
    s_.period_end = serial_from_seconds(r_.to_day * SECONDS_PER_DAY + SECONDS_PER_DAY - 1);
    s_.current_day = static_cast<double>(r_.from_day);
    reset_calculation();
    s_.totaliser_factor = get_totaliser_conversion(r_.units, r_.log_interval,
                                                   r_.daily_total_enabled, r_.pumped_volume);
    write_report_header();
    generate_report_body(chart, progress);
    return s_;
}

} // namespace

QString method_text(const ReportRequest& r) {
    if (!r.daily_total_enabled)
        return QStringLiteral("Use None");
    switch (r.method) {
    case 0: return QStringLiteral("Use Maximum Value of ") + r.total_title;
    case 1: return QStringLiteral("Use Max-Min Value of ") + r.total_title;
    case 2: return QStringLiteral("Integration by Trapezoidal Approximation of ") + r.total_title;
    default: return {};
    }
}

ReportRefusal check_request(const LogChartModel& chart, const ReportRequest& request) {
    if (request.trend_series < 0 || request.trend_series >= chart.series_count())
        return ReportRefusal::NoTrendSeries;
    if (request.daily_total_enabled &&
        (request.total_series < 0 || request.total_series >= chart.series_count()))
        return ReportRefusal::NoTotalSeries;
    return ReportRefusal::None;
}

ReportState generate_report(const LogChartModel& chart, const ReportRequest& request,
                            ReportDocument& doc, const std::function<void(int, int)>& progress) {
    ReportWriter writer(request, doc);
    return writer.run(chart, progress);
}

} // namespace reports
