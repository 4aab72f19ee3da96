// The log chart as the user sees it: no dates without a log, the active series drawn, a legend
// click switching a series, markers only where points are apart.
#include "qt_print.h"

#include "logging/log_chart_model.h"
#include "logging/log_chart_page.h"
#include "logging/log_chart_view.h"

#include <QPushButton>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

LogChartSeries& add(LogChartModel& model, const QString& title, int points, bool active) {
    LogChartSeries& s = model.add_series(title);
    s.active = active;
    for (int i = 0; i < points; ++i)
        s.add_point(1.78e9 + 900.0 * i, i % 7);
    return s;
}

} // namespace

TEST(LogChartView, AnEmptyChartShowsNoDatesActiveSeriesAreDrawnAndALegendClickSwitchesOne) {
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    LogChartPage page;
    page.resize(800, 500);
    EXPECT_FALSE(page.chart_view->time_labels_shown()) << "an empty chart shows 1970 dates";
    EXPECT_EQ(page.chart_view->drawn_series(), 0);
    for (QPushButton* b : {page.legend_button, page.report_button})
        EXPECT_TRUE(!b->text().isEmpty() || !b->icon().isNull()) << b->objectName().toStdString();
    add(model, "Level (mm)", 50, true);
    add(model, "Distance (mm)", 50, false);
    model.changed();
    EXPECT_TRUE(page.chart_view->time_labels_shown() && page.chart_view->drawn_series() == 1);
    EXPECT_EQ(page.log_chart->plottableCount(), 2) << "an inactive series stays in the legend";

    QCPAbstractLegendItem* item = page.log_chart->legend->item(1);
    ASSERT_NE(item, nullptr);
    emit page.log_chart->legendClick(page.log_chart->legend, item, nullptr);
    EXPECT_TRUE(model.series(1).active && page.chart_view->drawn_series() == 2);

    model.remove_all_series();
    EXPECT_FALSE(page.chart_view->time_labels_shown());
}

TEST(LogChartView, PointMarkersShowOnlyWhereThePointsAreApart) {
    LogChartModel& model = log_chart_model();
    model.remove_all_series();
    LogChartPage page;
    page.resize(800, 500);
    add(model, "Dense", 5000, true);
    add(model, "Sparse", 20, true);
    model.changed();
    page.log_chart->replot();
    EXPECT_EQ(page.log_chart->graph(0)->scatterStyle().shape(), QCPScatterStyle::ssNone);
    // Zoomed in to the first points both series are sparse enough for markers.
    page.log_chart->xAxis->setRange(1.78e9, 1.78e9 + 900.0 * 10);
    page.log_chart->replot();
    EXPECT_EQ(page.log_chart->graph(0)->scatterStyle().shape(), QCPScatterStyle::ssDisc);
    model.remove_all_series();
}
