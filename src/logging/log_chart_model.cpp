#include "logging/log_chart_model.h"

#include <algorithm>

LogChartSeries& LogChartModel::add_series(const QString& title, LogChartSeries::Style style) {
    LogChartSeries& s = series_.emplace_back();
    s.title = title;
    s.style = style;
    changed();
    return s;
}

void LogChartModel::remove_all_series() {
    series_.clear();
    header.clear();
    time_step_seconds = 0;
    changed();
}

void LogChartModel::changed() {
    ++revision_;
    if (listener_)
        listener_();
}

int LogChartModel::point_count() const {
    int n = 0;
    for (const LogChartSeries& s : series_)
        n = std::max(n, s.point_count());
    return n;
}

int LogChartModel::page_count() const {
    const int per_page = display.points_per_page;
    const int n = point_count();
    if (per_page <= 0 || n == 0)
        return 1;
    return (n + per_page - 1) / per_page;
}

LogChartModel& log_chart_model() {
    static LogChartModel model;
    return model;
}
