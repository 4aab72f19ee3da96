#pragma once
// The daily report over the log chart's data: per-day mean, minimum and maximum of a trend
// series, a daily total of a second series by one of three methods, the period figures, and
// the report text they are written into. Plain code over LogChartModel; the report window
// gathers the request from its boxes and shows the document in the preview.

#include "reports/report_document.h"
#include "reports/report_units.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class LogChartModel;

namespace reports {

// What Generate takes from the report window and the program.
struct ReportRequest {
    QString company_name, company_address, report_author;
    QString computer_name;
    QString log_file_name; // the log file on the chart
    QString site_number, site_description, remarks;
    QString date_format_text = QStringLiteral("dd/mm/yyyy");
    int64_t from_day = 0; // day serials of the From and To boxes
    int64_t to_day = 0;
    double now = 0; // serial of the moment the report is compiled

    int trend_series = 0;
    QString trend_title;        // the trend box's entry
    QString trend_units;        // units text of the trend channel ("no units" when none)
    QString none_unit_word;     // the quantity list's word for none
    QString pumped_word;        // a trend title holding it counts only values above 0

    bool daily_total_enabled = false;
    int total_series = 0;
    QString total_title;
    int16_t method = 0; // 0 maximum, 1 max-min, 2 integration
    bool pumped_volume = false;
    bool flow_unit_box_enabled = false;
    UnitChoice units;
    double log_interval = 0; // minutes
};

// The report's working figures. Times are day serials.
struct ReportState {
    double period_start = 0, period_end = 0, current_day = 0;
    double day_sum = 0, day_count = 0, day_mean = 0;
    double day_min = 0, day_max = 0;
    double day_min_time = 0, day_max_time = 0;
    double day_min_datetime = 0, day_max_datetime = 0;
    double channel_day_min = 0, channel_day_max = 0;
    double daily_total = 0;
    double totaliser_factor = 1;
    QString totaliser_unit_text;
    double day_lines = 0;
    double period_total = 0, average_daily = 0;
    double max_daily_total = 0, max_daily_total_date = 0;
    double min_daily_total = 0, min_daily_total_date = 0;
    double period_max = 0, period_max_datetime = 0;
    double period_min = 0, period_min_datetime = 0;
};

enum class ReportRefusal {
    None,
    NoTrendSeries, // the trend box names no series of the chart
    NoTotalSeries, // the daily total is on and its box names no series
};

// Why a request cannot make a complete report, judged before anything is written.
ReportRefusal check_request(const LogChartModel& chart, const ReportRequest& request);

// Makes the whole report into `doc`. `progress(points_done, points_total)` is told now and then.
// Returns the final figures. The request must have passed check_request.
ReportState generate_report(const LogChartModel& chart, const ReportRequest& request,
                            ReportDocument& doc,
                            const std::function<void(int, int)>& progress = {});

// "Use Maximum Value of <title>" and the like; "Use None" with the daily total off.
QString method_text(const ReportRequest& request);

} // namespace reports
