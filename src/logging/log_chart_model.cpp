#include "logging/log_chart_model.h"

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

LogChartModel& log_chart_model() {
    static LogChartModel model;
    return model;
}
