// The log chart as the user sees it and its window events: no dates without a log, the active
// series drawn, a legend click switching a series, markers only where points are apart; the
// logging tabs bring the legend window up or tuck it away, Timer4 keeps it tucked, the command
// bar's first use keeps it up, the page navigator, the re-layout rule, the cursor line, and the
// print key's page in its preview and on paper.
#include "logging_test.h"
#include "printed_chart.h"

#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

namespace {

LogChartSeries& add(LogChartModel& model, const QString& title, int points, bool active) {
    LogChartSeries& s = model.add_series(title);
    s.active = active;
    for (int i = 0; i < points; ++i)
        s.add_point(1.78e9 + 900.0 * i, i % 7);
    return s;
}

class LogChartEventsTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogChartModel& model = fresh_log_chart();
        log_setup().log_records = 100;
        model.add_series("Level (mm)");
        for (int i = 0; i < 100; ++i)
            model.series(0).add_point(1.78e9 + 900.0 * i, i);
        tabs = std::make_unique<QTabWidget>();
        tabs->addTab(new QWidget, "Log Setup");
        tabs->addTab(new QWidget, "Log Info");
        page = new LogChartPage;
        tabs->addTab(page, "Charts");
        tabs->resize(900, 600);
        events = install_log_chart_events(tabs.get(), page, &timer, nullptr);
        model.changed();
    }
    void TearDown() override {
        timer.stop();
        unload_legend_window();
        tabs.reset();
        log_chart_model().remove_all_series();
    }
    bool legend_up() const { return legend_window_loaded() && !legend_window().tucked_away(); }

    QTimer timer;
    std::unique_ptr<QTabWidget> tabs;
    LogChartPage* page = nullptr;
    LogChartEvents* events = nullptr;
};

} // namespace

TEST(LegendRules, RelayoutOnlyWithMultipleAxesShownSeriesAndAChangedCount) {
    struct Case {
        bool multiple;
        int active, bands;
        bool relayout;
    };
    const Case cases[] = {{false, 3, 1, false},
                          {true, 0, 1, false},
                          {true, 2, 2, false},
                          {true, 2, 3, true},
                          {true, 1, 2, true}};
    for (const Case& c : cases)
        EXPECT_EQ(legend::needs_relayout(c.multiple, c.active, c.bands), c.relayout)
            << c.multiple << " " << c.active << " " << c.bands;
}

TEST_F(LogChartEventsTest, TheChartTabBringsTheLegendWindowUpAndOtherTabsTuckItAway) {
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(legend_up() && log_setup().legend_window_shown && log_setup().legend_tuck_pending &&
                !page->TeeCommander1->isHidden());
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(!legend_up() && !log_setup().legend_window_shown &&
                page->TeeCommander1->isHidden() && page->log_chart->isHidden());

    // Restored by hand with another tab in front: the timer tucks it away again.
    legend_window().showNormal();
    events->Timer4_Timer();
    EXPECT_FALSE(legend_up());
    tabs->setCurrentIndex(2);
    events->Timer4_Timer();
    EXPECT_TRUE(legend_up()) << "the timer leaves the window alone on the chart tab";
}

TEST_F(LogChartEventsTest, FirstCommandBarUseKeepsTheLegendUpLaterUsesTuckItAway) {
    tabs->setCurrentIndex(2);
    events->zoom_in->click();
    EXPECT_TRUE(legend_up() && !log_setup().legend_tuck_pending &&
                log_setup().legend_refresh_pending);
    events->zoom_out->click();
    EXPECT_FALSE(legend_up() || log_setup().legend_window_shown);

    // The legend button brings it back, with the settings re-applied.
    page->legend_button->click();
    EXPECT_TRUE(legend_up() && !log_setup().legend_refresh_pending);
    page->legend_button->click();
    EXPECT_FALSE(legend_up());
}

TEST_F(LogChartEventsTest, ResetZoomGivesTheWholePageAgainAndTucksTheLegend) {
    tabs->setCurrentIndex(2);
    QCPAxis* x = page->log_chart->xAxis;
    const QCPRange whole = x->range();
    events->zoom_in->click();
    EXPECT_LT(x->range().size(), whole.size());
    page->reset_zoom_button->click();
    EXPECT_DOUBLE_EQ(x->range().size(), whole.size());
    EXPECT_FALSE(legend_up());
}

TEST_F(LogChartEventsTest, ThePageNavigatorStepsThroughPagesOfPoints) {
    LogChartModel& model = log_chart_model();
    model.display.points_per_page = 30;
    model.changed();
    events->update_navigator();
    EXPECT_TRUE(events->page_counter->text() == "Page 1\nof 4" &&
                !events->previous_page->isEnabled());
    events->next_page->click();
    EXPECT_EQ(model.display.page, 1);
    QCPAxis* x = page->log_chart->xAxis;
    EXPECT_EQ(std::tuple(x->range().lower, x->range().upper),
              std::tuple(1.78e9 + 900.0 * 30, 1.78e9 + 900.0 * 59));
    events->last_page->click();
    EXPECT_TRUE(events->page_counter->text() == "Page 4\nof 4" && !events->next_page->isEnabled());
    EXPECT_DOUBLE_EQ(x->range().upper, 1.78e9 + 900.0 * 99);
    events->first_page->click();
    EXPECT_EQ(model.display.page, 0);
}

TEST_F(LogChartEventsTest, TheCursorLineShowsOnlyInsideTheData) {
    QCPItemStraightLine* cursor = nullptr;
    for (int i = 0; i < page->log_chart->itemCount(); ++i)
        if (auto* line = qobject_cast<QCPItemStraightLine*>(page->log_chart->item(i)))
            cursor = line;
    ASSERT_NE(cursor, nullptr);
    events->TChart1_MouseMove(1.78e9 + 900.0 * 50, 50);
    EXPECT_TRUE(cursor->visible());
    events->TChart1_MouseMove(1.78e9 + 900.0 * 150, 50);
    EXPECT_FALSE(cursor->visible()) << "beyond the last record";
    events->TChart1_MouseMove(1.78e9 + 900.0 * 50, 1e6);
    EXPECT_FALSE(cursor->visible()) << "above the axis";
}

// The print key opens the preview; what the preview's Print sends to paper is read back. The
// texts of the chart are all on the page, whole and apart, with one band or with three.
TEST_F(LogChartEventsTest, ThePrintKeysPageShowsEveryTextOfTheChartWholeAndApart) {
    platform::ScopedScriptedDialogs dialogs;
    LogChartModel& model = log_chart_model();
    add(model, "Flow (l/s)", 100, true);
    add(model, "Temperature (C)", 100, true);
    tabs->show();
    tabs->setCurrentIndex(2);
    QTemporaryDir dir;
    for (const bool bands : {false, true}) {
        SCOPED_TRACE(bands ? "three bands" : "one band");
        model.display.multiple_axes = bands;
        model.changed();
        page->log_chart->replot();
        const QRect shown = page->log_chart->axisRect()->rect();
        const QString pdf = dir.filePath(bands ? "bands.pdf" : "chart.pdf");
        int preview_pages = 0;
        QRectF area;
        QTimer::singleShot(0, [&] {
            QPrintPreviewDialog* preview = nullptr;
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* d = qobject_cast<QPrintPreviewDialog*>(w); d && d->isVisible())
                    preview = d;
            ASSERT_NE(preview, nullptr);
            preview_pages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            QPrinter paper(QPrinter::HighResolution);
            paper.setOutputFormat(QPrinter::PdfFormat);
            paper.setOutputFileName(pdf);
            paper.setPageLayout(preview->printer()->pageLayout());
            area = paper.pageLayout().paintRect(QPageLayout::Point);
            emit preview->paintRequested(&paper);
            preview->reject();
        });
        events->print->click();
        EXPECT_EQ(preview_pages, 1);
        EXPECT_EQ(page->log_chart->axisRect()->rect(), shown)
            << "the screen keeps the page's layout";
        const auto pages = printed_pages(pdf);
        ASSERT_EQ(pages.size(), 1u);
        EXPECT_GT(pages[0].size.width(), pages[0].size.height()) << "not landscape";
        const QStringList words = chart_words(*page->log_chart);
        EXPECT_GE(words.size(), bands ? 30 : 15) << words.join(' ').toStdString();
        EXPECT_EQ(unreadable_words(pages[0], words, area), QStringList());
    }
    EXPECT_EQ(page->chart_view->bands(), 3);
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // A printer that cannot be started, and a file that takes nothing, are told.
    const QStringList failing{dir.filePath("missing/folder/chart.pdf"), "/dev/full"};
    for (const QString& path : failing) {
        QPrinter nowhere(QPrinter::HighResolution);
        nowhere.setOutputFormat(QPrinter::PdfFormat);
        nowhere.setOutputFileName(path);
        EXPECT_FALSE(events->print_page(nowhere)) << path;
    }
    const QString told = ui_text(2910, "The chart could not be printed:") + ' ';
    EXPECT_EQ(dialogs.messages(), QStringList({told + failing[0], told + failing[1]}));
}

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
