#include "logging/log_chart_view.h"

#include "logging/chart_units.h"
#include "logging/legend_rules.h"
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
    rects_.push_back(plot_->axisRect());
    auto* margins = new QCPMarginGroup(plot_);
    plot_->axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
    plot_->setProperty("margins", QVariant::fromValue(static_cast<QObject*>(margins)));
    connect(plot_->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            [this](const QCPRange& r) {
                if (syncing_)
                    return;
                syncing_ = true;
                for (QCPAxisRect* rect : rects_)
                    rect->axis(QCPAxis::atBottom)->setRange(r);
                syncing_ = false;
            });
    connect(plot_, &QCustomPlot::legendClick, this,
            [this](QCPLegend*, QCPAbstractLegendItem* item, QMouseEvent*) {
                auto* pi = qobject_cast<QCPPlottableLegendItem*>(item);
                if (pi)
                    legend_clicked(pi->plottable()->property("series").toInt());
            });
    connect(plot_, &QCustomPlot::beforeReplot, this, [this] { place_point_markers(); });
    model_.set_change_listener(this, [this] { refresh(); });
    set_texts();
    refresh();
}

LogChartView::~LogChartView() {
    model_.set_change_listener(this, {});
}

void LogChartView::set_texts() {
    for (QCPAxisRect* rect : rects_)
        rect->axis(QCPAxis::atBottom)->setLabel(QString());
    rects_.back()->axis(QCPAxis::atBottom)->setLabel(ui_text(2312, QStringLiteral("Date and time")));
    refresh();
}

void LogChartView::build_bands(int count) {
    count = std::max(1, count);
    auto* margins = qobject_cast<QCPMarginGroup*>(plot_->property("margins").value<QObject*>());
    while (static_cast<int>(rects_.size()) > count) {
        plot_->plotLayout()->remove(rects_.back());
        rects_.pop_back();
    }
    plot_->plotLayout()->simplify();
    while (static_cast<int>(rects_.size()) < count) {
        auto* rect = new QCPAxisRect(plot_);
        plot_->plotLayout()->addElement(static_cast<int>(rects_.size()) + 1, 0, rect);
        rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        QCPAxis* x = rect->axis(QCPAxis::atBottom);
        x->setTicker(ticker_);
        // The bands read like the first one.
        const QCPAxisRect* first = rects_.front();
        for (auto type : {QCPAxis::atBottom, QCPAxis::atLeft, QCPAxis::atRight}) {
            rect->axis(type)->setTickLabelFont(first->axis(QCPAxis::atBottom)->tickLabelFont());
            rect->axis(type)->setLabelFont(first->axis(QCPAxis::atBottom)->labelFont());
        }
        x->setRange(first->axis(QCPAxis::atBottom)->range());
        x->grid()->setVisible(true);
        connect(x, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
                [this](const QCPRange& r) {
                    if (syncing_)
                        return;
                    syncing_ = true;
                    for (QCPAxisRect* other : rects_)
                        other->axis(QCPAxis::atBottom)->setRange(r);
                    syncing_ = false;
                });
        rects_.push_back(rect);
    }
    for (size_t k = 0; k < rects_.size(); ++k) {
        QCPAxisRect* rect = rects_[k];
        const bool right = k % 2 == 1;
        rect->axis(QCPAxis::atLeft)->setVisible(!right || rects_.size() == 1);
        rect->axis(QCPAxis::atRight)->setVisible(right);
        rect->axis(QCPAxis::atRight)->setTickLabels(right);
        const bool last = k + 1 == rects_.size();
        rect->axis(QCPAxis::atBottom)->setTickLabels(last);
        rect->axis(QCPAxis::atBottom)->setLabel(
            last ? ui_text(2312, QStringLiteral("Date and time")) : QString());
        plot_->plotLayout()->setRowStretchFactor(static_cast<int>(k) + 1, 1.0);
    }
}

void LogChartView::legend_clicked(int index) {
    if (index < 0 || index >= model_.series_count())
        return;
    model_.series(index).active = !model_.series(index).active;
    model_.changed();
}

void LogChartView::place_point_markers() {
    // Markers on points closer than a few pixels hide the line and cost most of a replot: they
    // show once the zoom spreads the points out. Value labels follow the same rule, more strictly.
    const double width = std::max(1, rects_.front()->width());
    const QCPRange range = rects_.front()->axis(QCPAxis::atBottom)->range();
    for (QCPItemText* label : labels_)
        plot_->removeItem(label);
    labels_.clear();
    int labels_left = 200;
    for (int i = 0; i < plot_->graphCount(); ++i) {
        QCPGraph* graph = plot_->graph(i);
        const auto data = graph->data();
        const auto begin = data->findBegin(range.lower);
        const auto end = data->findEnd(range.upper);
        const auto visible = end - begin;
        const bool labels = model_.display.labels && visible * 40 <= width;
        const bool markers = labels || (graph->property("points").toBool() && visible * 4 <= width);
        const QCPScatterStyle::ScatterShape shape =
            markers ? QCPScatterStyle::ssDisc : QCPScatterStyle::ssNone;
        if (graph->scatterStyle().shape() != shape)
            graph->setScatterStyle(QCPScatterStyle(shape, graph->pen().color(), 4));
        if (!labels)
            continue;
        for (auto it = begin; it != end && labels_left > 0; ++it, --labels_left) {
            auto* text = new QCPItemText(plot_);
            text->setClipAxisRect(graph->keyAxis()->axisRect());
            text->position->setAxes(graph->keyAxis(), graph->valueAxis());
            text->position->setCoords(it->key, it->value);
            text->setPositionAlignment(Qt::AlignHCenter | Qt::AlignBottom);
            text->setPadding(QMargins(0, 0, 0, 4));
            text->setText(platform::number_text(it->value).trimmed());
            text->setColor(graph->pen().color().darker(150));
            labels_.push_back(text);
        }
    }
}

void LogChartView::show_page() {
    const LogChartDisplay& d = model_.display;
    int longest = -1;
    for (int k = 0; k < model_.series_count(); ++k)
        if (longest < 0 || model_.series(k).point_count() > model_.series(longest).point_count())
            longest = k;
    if (longest < 0 || model_.series(longest).x.empty()) {
        rects_.front()->axis(QCPAxis::atBottom)->setRange(0, 1);
        return;
    }
    const std::vector<double>& x = model_.series(longest).x;
    const int n = static_cast<int>(x.size());
    int first = 0, last = n - 1;
    if (d.points_per_page > 0) {
        const int page = std::clamp(d.page, 0, model_.page_count() - 1);
        first = page * d.points_per_page;
        last = std::min(n - 1, first + d.points_per_page - 1);
    }
    const auto [lo, hi] = std::minmax_element(x.begin() + first, x.begin() + last + 1);
    double lower = *lo, upper = *hi;
    if (upper <= lower) {
        lower -= 1800;
        upper += 1800;
    }
    for (QCPAxisRect* rect : rects_)
        rect->axis(QCPAxis::atBottom)->setRange(lower, upper);
}

void LogChartView::reset_zoom() {
    show_page();
    for (QCPAxisRect* rect : rects_)
        for (QCPAxis* y : {rect->axis(QCPAxis::atLeft), rect->axis(QCPAxis::atRight)}) {
            bool found = false;
            QCPRange all;
            for (QCPAbstractPlottable* p : y->plottables()) {
                bool ok = false;
                const QCPRange r = p->getValueRange(ok);
                if (ok) {
                    all = found ? QCPRange(std::min(all.lower, r.lower), std::max(all.upper, r.upper))
                                : r;
                    found = true;
                }
            }
            if (!found)
                continue;
            // A flat line sits inside the chart, not on its frame.
            const double margin = std::max(all.size() * 0.05, 1e-3);
            y->setRange(all.lower - margin, all.upper + margin);
        }
    plot_->replot(QCustomPlot::rpQueuedReplot);
}

void LogChartView::refresh() {
    for (QCPItemText* label : labels_)
        plot_->removeItem(label);
    labels_.clear();
    plot_->clearPlottables();
    const LogChartDisplay& d = model_.display;
    int active = 0;
    for (int k = 0; k < model_.series_count(); ++k)
        active += model_.series(k).active ? 1 : 0;
    const auto bands = legend::axis_bands(d.multiple_axes ? active : 1);
    build_bands(static_cast<int>(std::max<size_t>(1, bands.size())));

    bool any_points = false;
    std::vector<QString> units(rects_.size());
    std::vector<bool> same_units(rects_.size(), true);
    std::vector<bool> has_units(rects_.size(), false);
    double bar_width = 60;
    int band = 0;
    for (int k = 0; k < model_.series_count(); ++k) {
        const LogChartSeries& s = model_.series(k);
        const size_t r = s.active && rects_.size() > 1 ? static_cast<size_t>(band++) : 0;
        QCPAxisRect* rect = rects_[std::min(r, rects_.size() - 1)];
        QCPAxis* x_axis = rect->axis(QCPAxis::atBottom);
        QCPAxis* y_axis = rect->axis(r % 2 == 1 ? QCPAxis::atRight : QCPAxis::atLeft);
        const QColor colour = windows_colour(s.colour);
        QCPAbstractPlottable* p = nullptr;
        const bool draw = s.active && s.point_count() > 0;
        const size_t n = std::min(s.x.size(), s.y.size());
        if (s.style == LogChartSeries::Style::Bar) {
            auto* bars = new QCPBars(x_axis, y_axis);
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
            auto* graph = plot_->addGraph(x_axis, y_axis);
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
            const QString& u = s.units;
            const size_t i = std::min(r, rects_.size() - 1);
            if (!has_units[i])
                units[i] = u;
            else if (units[i] != u)
                same_units[i] = false;
            has_units[i] = true;
        }
    }
    ticker_->least_step = model_.time_step_seconds;
    // An empty chart says so instead of showing a time axis of no log.
    header_->setText(any_points ? model_.header : ui_text(1151, QStringLiteral("No Log Data")));
    header_->setVisible(!header_->text().isEmpty());
    for (size_t i = 0; i < rects_.size(); ++i) {
        QCPAxisRect* rect = rects_[i];
        const bool last = i + 1 == rects_.size();
        rect->axis(QCPAxis::atBottom)->setTickLabels(any_points && last);
        for (QCPAxis* y : {rect->axis(QCPAxis::atLeft), rect->axis(QCPAxis::atRight)}) {
            y->setTickLabels(any_points && y->visible());
            y->setLabel(any_points && same_units[i] ? units[i].trimmed() : QString());
        }
        if (d.background) {
            QLinearGradient gradient(0, 0, 0, 1);
            gradient.setCoordinateMode(QGradient::ObjectMode);
            gradient.setColorAt(0, QColor(235, 242, 252));
            gradient.setColorAt(1, Qt::white);
            rect->setBackground(QBrush(gradient));
        } else {
            rect->setBackground(Qt::NoBrush);
        }
    }
    plot_->legend->setVisible(d.legend && model_.series_count() > 0);
    if (any_points) {
        reset_zoom();
    } else {
        for (QCPAxisRect* rect : rects_) {
            rect->axis(QCPAxis::atBottom)->setRange(0, 1);
            rect->axis(QCPAxis::atLeft)->setRange(0, 1);
        }
        plot_->replot(QCustomPlot::rpQueuedReplot);
    }
}

int LogChartView::drawn_series() const {
    int n = 0;
    for (int i = 0; i < plot_->plottableCount(); ++i)
        if (plot_->plottable(i)->interface1D() && plot_->plottable(i)->interface1D()->dataCount() > 0)
            ++n;
    return n;
}

bool LogChartView::time_labels_shown() const {
    return rects_.back()->axis(QCPAxis::atBottom)->tickLabels();
}
