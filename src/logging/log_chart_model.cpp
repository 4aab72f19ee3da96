#include "logging/log_chart_model.h"

#include <algorithm>

LogChartSeries& LogChartModel::add_series(const QString& title, LogChartSeries::Style style) {
    LogChartSeries& s = series_.emplace_back();
    s.title = title;
    s.units = units_in_title(title);
    s.style = style;
    changed();
    return s;
}

void LogChartModel::set_channel_title(int k, const QString& title) {
    LogChartSeries& s = series(k);
    s.title = title;
    s.units = units_in_title(title);
}

QString units_in_title(const QString& title) {
    const qsizetype open = title.lastIndexOf(QLatin1Char('('));
    if (open < 0)
        return {};
    return title.mid(open + 1).chopped(title.endsWith(QLatin1Char(')')) ? 1 : 0).trimmed();
}

void LogChartModel::remove_all_series() {
    series_.clear();
    header.clear();
    time_step_seconds = 0;
    changed();
}

void LogChartModel::changed() {
    ++revision_;
    // A listener may come or go while the others are told: each is looked up as its turn comes.
    std::vector<const void*> owners;
    for (const auto& l : listeners_)
        owners.push_back(l.first);
    for (const void* owner : owners) {
        const auto it = std::find_if(listeners_.begin(), listeners_.end(),
                                     [owner](const auto& l) { return l.first == owner; });
        if (it != listeners_.end()) {
            const std::function<void()> listener = it->second;
            listener();
        }
    }
}

void LogChartModel::set_change_listener(const void* owner, std::function<void()> listener) {
    std::erase_if(listeners_, [owner](const auto& l) { return l.first == owner; });
    if (listener)
        listeners_.emplace_back(owner, std::move(listener));
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
