#pragma once
// Draws the log chart model on the log chart control: one line (or bar) series per active model
// series, the inactive ones listed greyed in the legend, where a click switches a series on or
// off. The model's display settings (set by the legend window) add value labels, a gradient
// background, the legend, one band of the height per active series, and paging. The time axis
// shows the logged clock's dates in the user's date format and never steps finer than the log's
// interval asks; an empty chart shows no dates at all. Zoom with the wheel, pan by dragging.

#include <QObject>
#include <QSharedPointer>
#include <QString>
#include <vector>

class LogChartModel;
class QCustomPlot;
class QCPAxisRect;
class QCPItemText;
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
    // The time range of the page on show (all points when the chart is not paged).
    void show_page();
    // Back to the whole page: the zoom and pan undone.
    void reset_zoom();

    // What the chart shows, for tests: the plottables drawn with points, the time axis' labels,
    // and the bands of the height (one axis rect each).
    int drawn_series() const;
    bool time_labels_shown() const;
    int bands() const { return static_cast<int>(rects_.size()); }

private:
    void legend_clicked(int index);
    void place_point_markers();
    void build_bands(int count);

    QCustomPlot* plot_;
    LogChartModel& model_;
    QCPTextElement* header_ = nullptr;
    QSharedPointer<LogTimeTicker> ticker_;
    std::vector<QCPAxisRect*> rects_;
    std::vector<QCPItemText*> labels_;
    bool syncing_ = false;
};
