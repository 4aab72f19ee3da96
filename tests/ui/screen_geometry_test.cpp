// Start-up scaling and the main window's layout rules, as geometry and on real widgets.
#include "ui/screen_geometry.h"
#include "ui/screen_scaling.h"

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
    EXPECT_DOUBLE_EQ(scaled_font_size(8, {2.0, 2.0}), 12);
    EXPECT_DOUBLE_EQ(scaled_font_size(8, {1.4, 3.0}), 8 * 1.4)
        << "the vertical factor sized a font";
    EXPECT_DOUBLE_EQ(scaled_font_size(10, {0.8, 0.8}), 8);
    EXPECT_DOUBLE_EQ(scaled_panel_width(2000, {1, 1}), 1200);
    EXPECT_DOUBLE_EQ(scaled_panel_width(2000, {2, 5}), 2400);
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
    EXPECT_DOUBLE_EQ(a.window.height, 7200) << "the window keeps 10 twips free";
    EXPECT_DOUBLE_EQ(a.progress_text.left, (9600 - 4000) / 2.0);
    EXPECT_DOUBLE_EQ(a.progress_text.top, (7200 - 800) * 0.45);
    EXPECT_DOUBLE_EQ(a.progress_bar.top, (7200 - 300) * 0.45);
    EXPECT_DOUBLE_EQ(a.cancel_button.left, (9600 - 1200) / 2.0);
    EXPECT_DOUBLE_EQ(a.cancel_button.top, (7200 - 400) * 0.45 + 800 / 4.0)
        << "Cancel is not a quarter of the progress text lower";
    // The busy frame is centred over the terminal box, its animation inside it.
    EXPECT_DOUBLE_EQ(a.busy_frame.left + a.busy_frame.width / 2, 500 + 8000 / 2.0);
    EXPECT_DOUBLE_EQ(a.busy_frame.top + a.busy_frame.height / 2, 5000 + 1600 / 2.0);
    EXPECT_DOUBLE_EQ(a.animation.width, 2800);
    EXPECT_DOUBLE_EQ(a.animation.left, 100);
    EXPECT_DOUBLE_EQ(a.recorder_frame.top, 600) << "the recorder is not under the toolbar";
    EXPECT_DOUBLE_EQ(a.recorder_frame.left, 0);
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
    EXPECT_DOUBLE_EQ(a.square_button.height, 600) << "the square button is not square";
    EXPECT_DOUBLE_EQ(a.square_button.left, 150);
    EXPECT_DOUBLE_EQ(a.report_button.top, 300 + 600 + 10);
    EXPECT_DOUBLE_EQ(a.command_bar.top, 910 + 400 + 50);
    EXPECT_DOUBLE_EQ(a.command_bar.height, 12000 - 1360 - 140)
        << "the command bar does not end 140 twips short of the tab set";
    EXPECT_DOUBLE_EQ(a.log_chart.left, 150 + 600 + 150);
    EXPECT_DOUBLE_EQ(a.log_chart.left + a.log_chart.width, 19000 - 100)
        << "the log chart does not end 100 twips short of the tab set";
    EXPECT_DOUBLE_EQ(a.grid.width, 4950) << "the grid is not 350 twips wider than designed";
    EXPECT_DOUBLE_EQ(a.grid.left + a.grid.width, 18000) << "the grid is not right-aligned";
    EXPECT_DOUBLE_EQ(a.grid.top, 600);
    EXPECT_DOUBLE_EQ(a.grid.height, 700 + 11000 - 600 - 60);
    EXPECT_DOUBLE_EQ(a.spacer_width, 19200 - 8000 - 500 - 100);
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
    EXPECT_EQ(form.window.width(), 1280);
    EXPECT_EQ(form.window.height(), 720);
    EXPECT_EQ(form.label->geometry(), QRect(60, 60, 200, 30));
    EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 15);
    EXPECT_DOUBLE_EQ(form.copy_label->font().pointSizeF(), 8)
        << "a control of the Copy Options frame was scaled";
    EXPECT_DOUBLE_EQ(form.copy_options->font().pointSizeF(), 12)
        << "the frame itself scales (or grew twice through the window)";
    EXPECT_EQ(form.kept->geometry(), QRect(30, 80, 100, 20));
    EXPECT_DOUBLE_EQ(form.kept->font().pointSizeF(), 10) << "a NOSCALE control's font changed";
    EXPECT_DOUBLE_EQ(form.grid->font().pointSizeF(), 10) << "the grid's font changed";
    EXPECT_DOUBLE_EQ(form.first_tabs->font().pointSizeF(), 13.5);
    EXPECT_DOUBLE_EQ(form.second_tabs->font().pointSizeF(), 13.5)
        << "the tab sets do not share the first one's font";
    EXPECT_EQ(form.panel->minimumWidth(), 120) << "status panels take 0.6 of the factor";
}

TEST(ScaleForm, UnscaleOrEqualFactorsLeaveEverythingAsDesigned) {
    Form form;
    scale_form(form.window, {2.0, 2.0}, QStringLiteral("unscale"));
    EXPECT_EQ(form.window.width(), 640);
    EXPECT_EQ(form.label->geometry(), QRect(30, 40, 100, 20));
    EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 10);
    scale_form(form.window, {1.0, 1.0}, QString());
    EXPECT_EQ(form.window.width(), 640);
    EXPECT_DOUBLE_EQ(form.label->font().pointSizeF(), 10);
}
