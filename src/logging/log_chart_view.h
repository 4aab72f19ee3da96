#pragma once
// Draws the log chart model on the log chart control: one line (or bar) series per active model
// series, the inactive ones listed greyed in the legend, where a click switches a series on or
// off. The time axis shows the logged clock's dates in the user's date format and never steps
// finer than the log's interval asks; an empty chart shows no dates at all. Zoom with the wheel,
// pan by dragging.

#include <QObject>
#include <QSharedPointer>
#include <QString>

class LogChartModel;
class QCustomPlot;
class QCPTextElement;
class LogTimeTicker;

class LogChartView : public QObject {
public:
    LogChartView(QCustomPlot* plot, LogChartModel& model, QObject* parent = nullptr);
    ~LogChartView() override;

    // Rebuilds the chart from the model (the model's change listener calls it).
    void refresh();
    // Texts of the axes in the current language.
    void set_texts();
    // The legend inside the chart, shown while the chart has series.
    void set_legend_shown(bool shown);
    bool legend_shown() const { return legend_shown_; }

    // What the chart shows, for tests: the plottables drawn with points, and the time axis' labels.
    int drawn_series() const;
    bool time_labels_shown() const;

private:
    void legend_clicked(int index);
    void place_point_markers();

    QCustomPlot* plot_;
    LogChartModel& model_;
    QCPTextElement* header_ = nullptr;
    QSharedPointer<LogTimeTicker> ticker_;
    bool legend_shown_ = true;
};
