#pragma once
// What the log chart shows, as plain data: an ordered list of series (one per charted log
// channel, then the relay series), each with its title, colour and points. The chart widget draws
// from it; loading, retitling and rescaling a log work on it without any widget.

#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

struct LogChartSeries {
    enum class Style { Line, Bar };

    QString title;
    // What the values are measured in, the axis title: taken from the end of the title the series
    // was made with ("Level (mm)"), and kept when the user renames the series.
    QString units;
    Style style = Style::Line;
    int32_t colour = 0;      // red + 256 * green + 65536 * blue
    bool active = true;      // drawn on the chart
    bool show_points = true; // point markers on a line series
    // Points in the order they were added. x is the record's date and time as seconds since
    // 1970-01-01 00:00 of the logged (local) clock, the form the chart's date axis takes.
    std::vector<double> x;
    std::vector<double> y;

    int point_count() const { return static_cast<int>(y.size()); }
    void add_point(double px, double py) {
        x.push_back(px);
        y.push_back(py);
    }
};

// How the chart draws its series, as the legend window sets it.
struct LogChartDisplay {
    bool labels = false;        // value labels on the points
    bool background = false;    // gradient behind the plot
    bool legend = true;         // the chart's own legend
    bool multiple_axes = false; // one band of the height and one vertical axis per active series
    int points_per_page = 0;    // points one chart page shows; 0 shows them all
    int page = 0;               // the page on show, from 0
};

class LogChartModel {
public:
    int series_count() const { return static_cast<int>(series_.size()); }
    // Series k, 0 <= k < series_count().
    LogChartSeries& series(int k) { return series_.at(static_cast<size_t>(k)); }
    const LogChartSeries& series(int k) const { return series_.at(static_cast<size_t>(k)); }

    LogChartSeries& add_series(const QString& title,
                               LogChartSeries::Style style = LogChartSeries::Style::Line);
    // Gives series k the title a log channel's series is made with, and its units with it.
    void set_channel_title(int k, const QString& title);
    void remove_all_series();

    // The chart's header line ("Log data from ... to ..."); empty for none.
    QString header;
    // Least step between the time axis labels in seconds; 0 lets the chart choose.
    double time_step_seconds = 0;
    LogChartDisplay display;

    // Points of the longest series: what a page counts in.
    int point_count() const;
    // Pages of display.points_per_page points (1 when the chart is not paged or empty).
    int page_count() const;

    // Callers that change series in place say so once they are done; the chart redraws then.
    void changed();
    // Counts the changes, so a view can tell whether it is behind.
    uint64_t revision() const { return revision_; }
    // What follows the chart (its view, the legend window's list) is told of every change; one
    // listener per `owner`, which an empty function removes.
    void set_change_listener(const void* owner, std::function<void()> listener);

private:
    std::vector<LogChartSeries> series_;
    uint64_t revision_ = 0;
    std::vector<std::pair<const void*, std::function<void()>>> listeners_;
};

// The units at the end of a channel series' title: the text between its last "(" and the closing
// ")"; empty when the title has none.
QString units_in_title(const QString& title);

// The main window's log chart (LogChartPage::log_chart).
LogChartModel& log_chart_model();
