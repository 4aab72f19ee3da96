#include "logging/log_chart_view.h"

#include "logging/chart_units.h"
#include "logging/log_chart_model.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"

#include <QDateTime>
#include <QTimeZone>
#include <algorithm>
#include <qcustomplot.h>

// Date-time labels in the user's own date format and language; the step never goes below the
// log's own axis step unless the visible range is too short for it.
class LogTimeTicker : public QCPAxisTickerDateTime {
public:
    double least_step = 0;

protected:
    double getTickStep(const QCPRange& range) override {
        double step = QCPAxisTickerDateTime::getTickStep(range);
        if (least_step > 0)
            step = std::max(step, std::min(least_step, range.size() / 3));
        return step;
    }
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        const QDateTime t =
            QDateTime::fromMSecsSinceEpoch(qint64(std::llround(tick * 1000)), QTimeZone::utc());
        return platform::format_date(t, date_pattern()) + QLatin1Char('\n') +
               platform::format_date(t, QStringLiteral("hh:nn"));
    }

private:
    static QString date_pattern() {
        // The short date without a four-digit year keeps the labels narrow.
        QString p = platform::date_formats().short_date;
        p.replace(QLatin1String("yyyy"), QLatin1String("yy"));
        return p;
    }
};

namespace {

QColor windows_colour(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

} // namespace

LogChartView::LogChartView(QCustomPlot* plot, LogChartModel& model, QObject* parent)
    : QObject(parent), plot_(plot), model_(model) {
    ticker_ = QSharedPointer<LogTimeTicker>::create();
    plot_->xAxis->setTicker(ticker_);
    plot_->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot_->setNoAntialiasingOnDrag(true);
    plot_->legend->setVisible(true);
    plot_->legend->setFont(plot_->font());
    // The curves stay readable behind the legend.
    plot_->legend->setBrush(QColor(255, 255, 255, 210));
    plot_->axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignLeft);
    plot_->plotLayout()->insertRow(0);
    header_ = new QCPTextElement(plot_, QString());
    plot_->plotLayout()->addElement(0, 0, header_);
    connect(plot_, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
                auto* pi = qobject_cast<QCPPlottableLegendItem*>(item);
                if (pi)
                    legend_clicked(pi->plottable()->property("series").toInt());
            });
    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { place_point_markers(); });
    model_.set_change_listener([this] { refresh(); });
    set_texts();
    refresh();
}

LogChartView::~LogChartView() {
    model_.set_change_listener({});
}

void LogChartView::set_texts() {
    plot_->xAxis->setLabel(ui_text(2312, QStringLiteral("Date and time")));
    refresh();
}

void LogChartView::place_point_markers() {
    // Markers on points closer than a few pixels hide the line and cost most of a replot: they
    // show once the zoom spreads the points out.
    const double width = std::max(1, plot_->axisRect()->width());
    const QCPRange range = plot_->xAxis->range();
    for (int i = 0; i < plot_->graphCount(); ++i) {
        QCPGraph* graph = plot_->graph(i);
        bool markers = graph->property("points").toBool();
        if (markers) {
            const auto data = graph->data();
            const auto visible = data->findEnd(range.upper) - data->findBegin(range.lower);
            markers = visible * 4 <= width;
        }
        const QCPScatterStyle::ScatterShape shape =
            markers ? QCPScatterStyle::ssDisc : QCPScatterStyle::ssNone;
        if (graph->scatterStyle().shape() != shape)
            graph->setScatterStyle(QCPScatterStyle(shape, graph->pen().color(), 4));
    }
}

void LogChartView::set_legend_shown(bool shown) {
    legend_shown_ = shown;
    plot_->legend->setVisible(legend_shown_ && model_.series_count() > 0);
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void LogChartView::legend_clicked(int index) {
    if (index < 0 || index >= model_.series_count())
        return;
    model_.series(index).active = !model_.series(index).active;
    model_.changed();
}

void LogChartView::refresh() {
    plot_->clearPlottables();
    bool any_points = false;
    QString units;
    bool same_units = true;
    double bar_width = 60;
    for (int k = 0; k < model_.series_count(); ++k) {
        const LogChartSeries& s = model_.series(k);
        const QColor colour = windows_colour(s.colour);
        QCPAbstractPlottable* p = nullptr;
        const bool draw = s.active && s.point_count() > 0;
        const size_t n = std::min(s.x.size(), s.y.size());
        if (s.style == LogChartSeries::Style::Bar) {
            auto* bars = new QCPBars(plot_->xAxis, plot_->yAxis);
            if (n > 1)
                bar_width = std::max(1.0, (s.x[n - 1] - s.x[0]) / double(n - 1) * 0.8);
            bars->setWidth(bar_width);
            bars->setPen(QPen(colour.darker(130)));
            bars->setBrush(colour);
            if (draw) {
                QVector<QCPBarsData> data(static_cast<qsizetype>(n));
                for (size_t i = 0; i < n; ++i)
                    data[static_cast<qsizetype>(i)] = QCPBarsData(s.x[i], s.y[i]);
                bars->data()->set(data, std::is_sorted(s.x.begin(), s.x.begin() + n));
            }
            p = bars;
        } else {
            auto* graph = plot_->addGraph();
            graph->setPen(QPen(colour, 1.5));
            graph->setProperty("points", s.show_points);
            graph->setAdaptiveSampling(true);
            if (draw) {
                QVector<QCPGraphData> data(static_cast<qsizetype>(n));
                for (size_t i = 0; i < n; ++i)
                    data[static_cast<qsizetype>(i)] = QCPGraphData(s.x[i], s.y[i]);
                graph->data()->set(data, std::is_sorted(s.x.begin(), s.x.begin() + n));
            }
            p = graph;
        }
        p->setName(s.title);
        p->setProperty("series", k);
        if (!s.active) {
            // Listed, greyed, so that a click can bring it back.
            if (auto* item = plot_->legend->itemWithPlottable(p))
                item->setTextColor(Qt::gray);
        }
        if (draw) {
            any_points = true;
            // The title ends with the units in parentheses.
            const qsizetype open = s.title.lastIndexOf(QLatin1Char('('));
            const QString u = open >= 0 ? s.title.mid(open + 1).chopped(
                                              s.title.endsWith(QLatin1Char(')')) ? 1 : 0)
                                        : QString();
            if (units.isNull())
                units = u;
            else if (units != u)
                same_units = false;
        }
    }
    ticker_->least_step = model_.time_step_seconds;
    // An empty chart says so instead of showing a time axis of no log.
    header_->setText(any_points ? model_.header : ui_text(1151, QStringLiteral("No Log Data")));
    header_->setVisible(!header_->text().isEmpty());
    plot_->xAxis->setTickLabels(any_points);
    plot_->yAxis->setTickLabels(any_points);
    plot_->yAxis->setLabel(any_points && same_units ? units.trimmed() : QString());
    plot_->legend->setVisible(legend_shown_ && model_.series_count() > 0);
    if (any_points) {
        plot_->rescaleAxes(true);
        // A flat line sits inside the chart, not on its frame.
        const QCPRange y = plot_->yAxis->range();
        const double margin = std::max(y.size() * 0.05, 1e-3);
        plot_->yAxis->setRange(y.lower - margin, y.upper + margin);
    } else {
        plot_->xAxis->setRange(0, 1);
        plot_->yAxis->setRange(0, 1);
    }
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

int LogChartView::drawn_series() const {
    int n = 0;
    for (int i = 0; i < plot_->plottableCount(); ++i)
        if (plot_->plottable(i)->interface1D() && plot_->plottable(i)->interface1D()->dataCount() > 0)
            ++n;
    return n;
}

bool LogChartView::time_labels_shown() const {
    return plot_->xAxis->tickLabels();
}
