// The echo page driven as a user would, without a unit: traces from the table with the zoom held
// and undone, the gate and bands with their boxes, the read-outs and their keys, the light.
#include "echo/echo_display.h"
#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "echo/live_monitor.h"
#include "platform/dialogs.h"
#include "platform/profile.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include "fields.h"
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <gtest/gtest.h>
#include <qcustomplot.h>

namespace {

class EchoDisplayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        reset_shell_state();
        reset_echo_state();
        platform::number_separators() = {};
        shell().ini_path = dir.filePath("general.ini");
        page = std::make_unique<EchoPage>();
        page->resize(1100, 600);
        display = std::make_unique<EchoDisplay>(*page);
        display->press_indicator = [this](int i, bool on) { pressed[static_cast<size_t>(i)] = on; };
        monitor = std::make_unique<LiveEchoMonitor>(*page, *display, EchoFrameHooks{});
        page->set_trace_box_handler([this](int i) { monitor->trace_box_changed(i); });
        QObject::connect(page->gate_box, &QCheckBox::toggled, [this] { monitor->gate_box_changed(); });
        QObject::connect(page->range_box, &QCheckBox::toggled, [this] { monitor->range_box_changed(); });
        QObject::connect(page->gradient_box, &QCheckBox::toggled, [this] { monitor->gradient_box_changed(); });
    }
    void TearDown() override {
        monitor.reset();
        display.reset();
        page.reset();
    }

    // A RAW trace of `count` samples at `ppu` in the table, as the exchange leaves it.
    void fetched(int count, double ppu) {
        EchoState& e = echo_state();
        e.header.points_per_unit = ppu;
        e.header.sample_count = static_cast<int16_t>(count);
        e.header.window_1 = 10;
        e.header.window_2 = 20;
        e.header.window_3 = 30;
        for (int i = 0; i < count; ++i)
            e.traces.at(i, 0) = static_cast<int16_t>(i % 500);
    }
    QString ini_value(const QString& section, const QString& key) {
        return platform::read_profile_string(shell().ini_path, section, key).value_or(QStringLiteral("?"));
    }
    QCPRange x() const { return page->echo_chart->xAxis->range(); }
    QCPRange y() const { return page->echo_chart->yAxis->range(); }
    double band(int tool, bool end) const {
        auto* r = page->span_band[static_cast<size_t>(tool)];
        return (end ? r->bottomRight : r->topLeft)->coords().x();
    }

    QTemporaryDir dir;
    platform::ScopedScriptedDialogs dialogs;
    std::unique_ptr<EchoPage> page;
    std::unique_ptr<EchoDisplay> display;
    std::unique_ptr<LiveEchoMonitor> monitor;
    std::array<bool, 3> pressed{};
};

TEST_F(EchoDisplayTest, ATraceResetsTheAxesUnlessTheUserZoomedAndClearingEmptiesIt) {
    fetched(101, 10);
    display->update_trace(1, 1);
    EXPECT_EQ(std::tuple(page->echo_chart->graph(0)->dataCount(), x().upper, y().upper),
              std::tuple(101, 10.0, 999.0));

    page->echo_chart->xAxis->setRange(2, 4);
    page->echo_chart->yAxis->setRange(100, 300);
    display->hold_echo_axes(0);
    fetched(201, 10);
    display->update_trace(1, 1);
    EXPECT_EQ(page->echo_chart->graph(0)->dataCount(), 201);
    EXPECT_DOUBLE_EQ(x().upper, 4) << "a new trace threw the user's zoom away";
    EXPECT_DOUBLE_EQ(y().upper, 300);

    echo_state().span_read_done = true;
    display->release_echo_axes(0);
    EXPECT_FALSE(echo_state().span_read_done) << "the span must be read again after an undo";
    display->update_trace(1, 1);
    EXPECT_EQ(std::tuple(x().upper, y().upper), std::tuple(20.0, 999.0));

    // No points per unit keeps the trace; clearing empties it and forgets the span.
    echo_state().header.points_per_unit = 0;
    display->update_trace(1, 1);
    display->drawwindow();
    EXPECT_EQ(page->echo_chart->graph(0)->dataCount(), 201)
        << "a trace without a scale cleared the chart";
    echo_state().header.points_per_unit = 10;
    echo_state().span_values = {6, 5, 0.3, 20};
    display->drawspan();
    page->status_box->setText("x");
    display->clear_all_accessories();
    EXPECT_EQ(std::tuple(page->echo_chart->graph(0)->dataCount(), int(echo_state().traces.at(5, 0))),
              std::tuple(0, 0));
    EXPECT_EQ(echo_state().span_values, (std::array<double, 4>{0, 0, 0.3, 20}));
    EXPECT_TRUE(band(3, true) == 0 && page->status_box->text().isEmpty());
}

// Gate bars stand at the windows as high as the axis; the range box collapses and restores the
// bands without a new read.
TEST_F(EchoDisplayTest, GateBarsAndTheRangeBoxesBands) {
    shell().show_gate = true;
    shell().show_span = true;
    page->range_box->setChecked(true);
    fetched(101, 10);
    display->update_trace(1, 1);
    for (size_t i = 0; i < 3; ++i) {
        auto* bar = page->gate_bars[i];
        EXPECT_TRUE(bar->visible());
        EXPECT_NEAR((bar->topLeft->coords().x() + bar->bottomRight->coords().x()) / 2,
                    1.0 + static_cast<double>(i), 1e-9);
        EXPECT_DOUBLE_EQ(bar->topLeft->coords().y(), 999);
    }
    page->gate_box->setChecked(true);
    page->gate_box->setChecked(false);
    EXPECT_FALSE(page->gate_bars[0]->visible());
    echo_state().span_values = {6, 5, 0.3, 20};
    display->drawspan();
    EXPECT_EQ(std::tuple(band(1, true), band(2, false), band(2, true), band(3, true)),
              std::tuple(0.3, 6.0, 7.2, 10.0));

    page->range_box->setChecked(false);
    for (int tool = 1; tool <= 3; ++tool)
        EXPECT_DOUBLE_EQ(band(tool, true) - band(tool, false), 0) << "band " << tool;
    EXPECT_EQ(ini_value("General", "ShowGate") + ini_value("General", "ShowSpan"), "FalseFalse");
    page->range_box->setChecked(true);
    EXPECT_DOUBLE_EQ(band(2, true), 7.2);

    echo_state().span_values[2] = 0;
    echo_state().span_values[0] = 5;
    display->drawspan();
    EXPECT_DOUBLE_EQ(band(1, true), 0.3) << "band 1 keeps its extent while P107 is 0";
    EXPECT_DOUBLE_EQ(band(2, false), 5);
}

TEST_F(EchoDisplayTest, SavedViewComesBackAndTraceBoxesSaveTheirChoice) {
    shell().trace_enabled = {1, 0, 1, 0};
    shell().trace_interval = {3, 20, 7, 20};
    shell().show_gate = true;
    shell().show_span = false;
    shell().chart_gradient = true;
    monitor->apply_saved_view_settings();
    EXPECT_EQ(std::tuple(page->trace_boxes[0]->isChecked(), page->trace_boxes[2]->isChecked(),
                         page->gate_box->isChecked(), page->range_box->isChecked(),
                         page->trace_intervals[2]->value()),
              std::tuple(true, true, true, false, 7));
    EXPECT_EQ(ini_value("Echo Control", "Get Trace 3") + ini_value("Echo Control", "Get Trace 2"),
              "10");

    fetched(101, 10);
    page->trace_boxes[0]->setChecked(false);
    EXPECT_EQ(page->echo_chart->graph(0)->dataCount(), 0);
    EXPECT_FALSE(page->gate_bars[1]->visible()) << "unticking RAW leaves the gate bars";
    EXPECT_EQ(ini_value("Echo Control", "Get Trace 1"), "0");
    page->trace_boxes[0]->setChecked(true);
    EXPECT_EQ(page->echo_chart->graph(0)->dataCount(), 101);
    EXPECT_TRUE(page->gate_bars[1]->visible());

    page->trace_intervals[1]->setValue(9);
    EXPECT_EQ(fields(ini_value("Echo Control", "Trace 2 Interval"), shell().trace_interval[1]),
              fields("9", 9));
}

// A trace interval typed with a fraction is refused in its box (a box of whole numbers, as the
// number boxes' own tests have it) rather than read with a key dropped ("2,5" as 25 seconds).
TEST_F(EchoDisplayTest, ATraceIntervalTypedAsNoWholeNumberIsRefusedNotReadAsAnother) {
    platform::number_separators() = {",", ".", "de_DE"};
    QSpinBox* box = page->trace_intervals[1];
    box->setValue(9);
    auto* edit = box->findChild<QLineEdit*>();
    edit->selectAll();
    edit->del();
    for (const QChar key : QStringLiteral("2,5")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(edit, &press);
    }
    dialogs.prompts.clear();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    QApplication::processEvents(); // the message comes once the leaving event has finished
    EXPECT_EQ(fields(shell().trace_interval[1], dialogs.messages().size()), fields(9, 1))
        << "\"2,5\" was taken as another interval";
}

TEST_F(EchoDisplayTest, ReadoutKeysSaveTheirChoiceAndLineUpTheReadouts) {
    ShellState& s = shell();
    s.show_status_overlay = s.show_level_overlay = s.show_temperature_overlay = true;
    for (int i = 0; i < 3; ++i)
        display->indicator_click(i);
    EXPECT_EQ(pressed, (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(ini_value("Echo Control", "Level"), "True");
    const int w = page->echo_chart->width();
    EXPECT_EQ(page->temperature_readout->x() + 1,
              w - page->temperature_readout->width() - page->status_box->width() - page->level_readout->width());
    EXPECT_FALSE(page->status_box->isHidden());

    s.show_status_overlay = false;
    display->indicator_click(0);
    EXPECT_TRUE(page->status_box->isHidden() && !pressed[0]);
    EXPECT_EQ(ini_value("Echo Control", "Status"), "False");
    EXPECT_EQ(page->level_readout->x() + 1, w - page->level_readout->width());

    // A played line that is due brings the status box back and presses its key again, while the
    // saved choice stays off.
    echo_state().play_line_due = true;
    display->show_status();
    EXPECT_TRUE(!page->status_box->isHidden() && pressed[0]);
    EXPECT_EQ(ini_value("Echo Control", "Status"), "False");
}

TEST_F(EchoDisplayTest, SmallChartsKeepABoundedNumberOfPointsAndScroll) {
    echo_state().temperature_min = 40;
    echo_state().temperature_max = -10;
    for (int i = 0; i < 1000; ++i) {
        display->update_level(6, 2 + (i % 10) / 10.0);
        display->update_temperature(20 + i % 3);
    }
    for (QCustomPlot* c : {page->temperature_readout, page->level_readout}) {
        EXPECT_EQ(
            std::tuple(c->graph(0)->dataCount(), c->xAxis->range().lower, c->xAxis->range().upper),
            std::tuple(READOUT_POINTS, double(999 - READOUT_AXIS_SPAN), 999.0));
    }
    EXPECT_EQ(std::tuple(page->level_readout->yAxis->range().upper,
                         page->temperature_readout->yAxis->range().lower,
                         page->temperature_readout->yAxis->range().upper),
              std::tuple(6.0, 10.0, 30.0));

    display->clear_all_accessories();
    EXPECT_EQ(page->temperature_readout->graph(0)->dataCount(), 0);
    EXPECT_DOUBLE_EQ(page->level_readout->xAxis->range().upper, 25);
}

TEST_F(EchoDisplayTest, CursorReadoutFollowsTheMouseInsideThePlotOnly) {
    echo_state().echo_unit_text = "m";
    page->echo_chart->xAxis->setRange(0, 10);
    page->echo_chart->yAxis->setRange(0, 999);
    display->echo_chart_mouse_move(0, 2.345, 0);
    EXPECT_EQ(page->cursor_readout[0]->text() + "|" + page->cursor_readout[1]->text(), "2.35 m| mV");
    EXPECT_TRUE(page->cursor_x->visible());
    display->echo_chart_mouse_move(0, 12, 100);
    EXPECT_FALSE(page->cursor_x->visible());
    EXPECT_EQ(page->cursor_readout[0]->text(), "2.35 m") << "leaving the plot keeps the last read-out";
}

TEST_F(EchoDisplayTest, LightOffHidesTheGradientAndAChosenChartColourIsSaved) {
    shell().echo_light_on = true;
    page->show();
    display->show_light();
    EXPECT_TRUE(page->gradient_box->isVisible());
    display->toggle_light();
    EXPECT_FALSE(shell().echo_light_on || page->gradient_box->isVisible());
    EXPECT_EQ(ini_value("Echo Control", "Light On"), "False");
    EXPECT_EQ(page->echo_chart->toPixmap(200, 150).toImage().pixelColor(1, 1), QColor(0xC0, 0xC0, 0xC0));
    display->toggle_light();
    EXPECT_TRUE(page->gradient_box->isVisible());

    dialogs.colours.push_back(QColor(0x10, 0x20, 0x30));
    display->choose_chart_colour();
    EXPECT_EQ(fields(shell().chart_back_color, ini_value("General", "BackColor")),
              fields(0x302010, QString::number(0x302010)));
    dialogs.colours.push_back(std::nullopt);
    display->choose_chart_colour();
    EXPECT_EQ(shell().chart_back_color, 0x302010) << "a cancelled colour dialog changed the chart";
}

} // namespace
