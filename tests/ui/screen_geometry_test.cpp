// Start-up scaling and the main window's layout rules, as geometry and on real widgets.
#include "ui/screen_geometry.h"
#include "ui/screen_scaling.h"

#include "fields.h"
#include <QGroupBox>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

TEST(ScreenFactors, TheSmallerOfWorkAreaAndScreenCounts) {
    // A docked taskbar: the work area is smaller than the screen.
    const ScreenFactors docked = screen_factors(1280, 984, 1280, 1024, 640, 480);
    EXPECT_DOUBLE_EQ(docked.x, 2.0);
    EXPECT_DOUBLE_EQ(docked.y, 984.0 / 480.0);
    // A work area reported larger than the screen does not stretch the window off it.
    const ScreenFactors odd = screen_factors(2000, 1200, 1280, 1024, 640, 480);
    EXPECT_DOUBLE_EQ(odd.x, 2.0);
    EXPECT_DOUBLE_EQ(odd.y, 1024.0 / 480.0);
}

TEST(ScreenFactors, UnscaleInAnyCaseOrEqualFactorsScaleNothing) {
    EXPECT_FALSE(scaling_applies("unscale", {2, 2}));
    EXPECT_FALSE(scaling_applies("SIM /UnScale", {0.5, 3}));
    EXPECT_FALSE(scaling_applies("", {1.0, 1.0}));
    EXPECT_TRUE(scaling_applies("", {1.0, 1.2}));
    EXPECT_TRUE(scaling_applies("SIM", {2, 2}));
}

TEST(ScaleGeometry, PositionsAndSizesFollowTheFactorsAndParkedControlsStayParked) {
    // clang-format off
    const struct { Geometry before; ScreenFactors f; Geometry after; } cases[] = {
        {{100, 200, 300, 400}, {2, 2}, {200, 400, 600, 800}},
        {{100, 200, 300, 400}, {1.5, 0.5}, {150, 100, 450, 200}},
        {{-75000, 10, 100, 100}, {2, 3}, {-75000, 30, 200, 300}},
        {{-1000, 0, 0, 0}, {2, 1}, {74000 * 2 - 75000, 0, 0, 0}},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_EQ(scale_geometry(c.before, c.f), c.after) << c.before.left;
}

TEST(ScaleGeometry, FontsGrowByHalfAtMostAndShrinkWithTheScreen) {
    // Only the horizontal factor sizes a font.
    EXPECT_EQ(fields(scaled_font_size(8, {2.0, 2.0}), scaled_font_size(8, {1.4, 3.0}),
                     scaled_font_size(10, {0.8, 0.8}), scaled_panel_width(2000, {1, 1}),
                     scaled_panel_width(2000, {2, 5})),
              fields(12, 8 * 1.4, 8, 1200, 2400));
}

TEST(Layout, ProgressAndCancelSitAtFortyFivePercentCentred) {
    MainWindowLayout l;
    l.window = {0, 0, 9600, 7210};
    l.progress_text = {0, 0, 4000, 800};
    l.progress_bar = {0, 0, 4000, 300};
    l.cancel_button = {0, 0, 1200, 400};
    l.term = {500, 5000, 8000, 1600};
    l.busy_frame = {0, 0, 3000, 1000};
    l.animation = {0, 0, 100, 500};
    l.toolbar = {0, 0, 9600, 600};
    const MainWindowLayout a = arrange_main_window(l);
    // The window keeps 10 twips free; Cancel sits a quarter of the progress text lower; the busy
    // frame is centred over the terminal box, its animation inside it; the recorder sits under
    // the toolbar.
    EXPECT_EQ(fields(a.window.height, a.progress_text.left, a.progress_text.top, a.progress_bar.top,
                     a.cancel_button.left, a.cancel_button.top),
              fields(7200, (9600 - 4000) / 2.0, (7200 - 800) * 0.45, (7200 - 300) * 0.45,
                     (9600 - 1200) / 2.0, (7200 - 400) * 0.45 + 800 / 4.0));
    EXPECT_EQ(fields(a.busy_frame.left + a.busy_frame.width / 2,
                     a.busy_frame.top + a.busy_frame.height / 2, a.animation.width,
                     a.animation.left, a.recorder_frame.top, a.recorder_frame.left),
              fields(500 + 8000 / 2.0, 5000 + 1600 / 2.0, 2800, 100, 600, 0));
}

TEST(Layout, ChartColumnGridAndToolbarFollowTheirNeighbours) {
    MainWindowLayout l;
    l.toolbar = {0, 0, 19200, 600};
    l.square_button = {999, 300, 600, 100};
    l.report_button = {0, 0, 600, 400};
    l.logging_tabs = {0, 0, 19000, 12000};
    l.cso_tabs = {45, 700, 18000, 11000};
    l.grid = {0, 0, 4600, 100};
    l.spacer_left = 8000;
    l.last_button_width = 500;
    const MainWindowLayout a = arrange_main_window(l);
    // The button above the column is square; the command bar ends 140 twips and the log chart
    // 100 twips short of the tab set; the grid is 350 twips wider than designed, right-aligned.
    EXPECT_EQ(fields(a.square_button.height, a.square_button.left, a.report_button.top,
                     a.command_bar.top, a.command_bar.height, a.log_chart.left,
                     a.log_chart.left + a.log_chart.width),
              fields(600, 150, 300 + 600 + 10, 910 + 400 + 50, 12000 - 1360 - 140, 150 + 600 + 150,
                     19000 - 100));
    EXPECT_EQ(
        fields(a.grid.width, a.grid.left + a.grid.width, a.grid.top, a.grid.height, a.spacer_width),
        fields(4950, 18000, 600, 700 + 11000 - 600 - 60, 19200 - 8000 - 500 - 100));
}

namespace {

struct Form {
    QWidget window;
    QTabWidget* first_tabs = new QTabWidget(&window);
    QTabWidget* second_tabs = new QTabWidget(&window);
    QLabel* label = new QLabel(&window);
    QLabel* kept = new QLabel(&window);
    QTableWidget* grid = new QTableWidget(&window);
    QGroupBox* copy_options = new QGroupBox(QStringLiteral("Copy Options"), &window);
    QLabel* copy_label = new QLabel(copy_options);
    QStatusBar* bar = new QStatusBar(&window);
    QLabel* panel = new QLabel(bar);

    Form() {
        window.setGeometry(0, 0, 640, 480);
        for (auto [w, points] : {std::pair<QWidget*, double>{&window, 8},
                                 {first_tabs, 9},
                                 {second_tabs, 7},
                                 {label, 10},
                                 {kept, 10},
                                 {grid, 10}}) {
            QFont f = w->font();
            f.setPointSizeF(points);
            w->setFont(f);
        }
        label->setGeometry(30, 40, 100, 20);
        kept->setGeometry(30, 80, 100, 20);
        kept->setProperty(NOSCALE_PROPERTY, QStringLiteral("NOSCALE"));
        bar->addWidget(panel);
        panel->setMinimumWidth(100);
    }
};

} // namespace

TEST(ScaleForm, EveryControlGrowsOnceExceptTheTaggedGridAndCopyOptions) {
    Form form;
    scale_form(form.window, {2.0, 1.5}, QString());
    EXPECT_EQ(form.window.size(), QSize(1280, 720));
    EXPECT_EQ(form.label->geometry(), QRect(60, 60, 200, 30));
    EXPECT_EQ(form.kept->geometry(), QRect(30, 80, 100, 20));
    // The Copy Options frame scales once, its controls not at all; a NOSCALE control and the grid
    // keep their fonts; the tab sets share the first one's font; status panels take 0.6 of the
    // factor.
    EXPECT_EQ(fields(form.label->font().pointSizeF(), form.copy_label->font().pointSizeF(),
                     form.copy_options->font().pointSizeF(), form.kept->font().pointSizeF(),
                     form.grid->font().pointSizeF(), form.first_tabs->font().pointSizeF(),
                     form.second_tabs->font().pointSizeF(), form.panel->minimumWidth()),
              fields(15, 8, 12, 10, 10, 13.5, 13.5, 120));
}

TEST(ScaleForm, UnscaleOrEqualFactorsLeaveEverythingAsDesigned) {
    Form form;
    scale_form(form.window, {2.0, 2.0}, QStringLiteral("unscale"));
    EXPECT_EQ(fields(form.window.width(), form.label->geometry() == QRect(30, 40, 100, 20),
                     form.label->font().pointSizeF()),
              fields(640, true, 10));
    scale_form(form.window, {1.0, 1.0}, QString());
    EXPECT_EQ(fields(form.window.width(), form.label->font().pointSizeF()), fields(640, 10));
}
