#include "echo/echo_display.h"

#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "link/link_view.h"
#include "platform/dialogs.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QCheckBox>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <cmath>
#include <qcustomplot.h>

namespace {

constexpr int PANEL_GREY = 0xC0C0C0;
constexpr int LIGHT_YELLOW = 0x80FFFF;
constexpr int GATE_MIDDLE = 0xFFFF00; // cyan
constexpr int STATUS_WIDTH = 190;
constexpr int SMALL_CHART_WIDTH = 170;

// Colours in the program's settings are 0xBBGGRR.
QColor bgr(int value) {
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

QPixmap light_picture(bool on) {
    QPixmap p(28, 28);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(14, 11, 11);
    glow.setColorAt(0, on ? QColor(255, 255, 210) : QColor(200, 200, 200));
    glow.setColorAt(1, on ? QColor(255, 200, 0) : QColor(110, 110, 110));
    g.setBrush(glow);
    g.setPen(QPen(QColor(80, 80, 80), 1));
    g.drawEllipse(QRectF(5, 2, 18, 18));
    g.setBrush(QColor(120, 120, 120));
    g.drawRect(QRectF(10, 20, 8, 6));
    return p;
}

QPixmap colour_picture(const QColor& c) {
    QPixmap p(28, 28);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(Qt::black, 1));
    g.setBrush(c);
    g.drawRect(QRect(4, 4, 20, 20));
    return p;
}

std::array<QCustomPlot*, 3> charts(EchoPage& p) {
    return {p.echo_chart, p.temperature_readout, p.level_readout};
}

void set_box_colour(QWidget* w, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    pal.setColor(QPalette::Base, c);
    pal.setColor(QPalette::WindowText, Qt::black);
    w->setPalette(pal);
}

} // namespace

EchoDisplay::EchoDisplay(EchoPage& page, QObject* parent) : QObject(parent), page_(page) {
    QCustomPlot* c = page_.echo_chart;
    connect(c, &QCustomPlot::mouseMove, this, [this, c](QMouseEvent* e) {
        echo_chart_mouse_move(0, c->xAxis->pixelToCoord(e->position().x()),
                              c->yAxis->pixelToCoord(e->position().y()));
    });
    connect(c, &QCustomPlot::mouseWheel, this, [this] { hold_echo_axes(0); });
    connect(c->selectionRect(), &QCPSelectionRect::accepted, this,
            [this] { hold_echo_axes(0); });
    connect(c, &QCustomPlot::mouseDoubleClick, this, [this] { release_echo_axes(0); });
    connect(&page_, &EchoPage::echo_chart_resized, this, [this] { place_readouts(); });
    page_.light_button->setIcon(light_picture(shell().echo_light_on));
    page_.colour_button->setIcon(colour_picture(bgr(shell().chart_back_color)));
    page_.status_box->setFixedSize(STATUS_WIDTH, readout_height());
    page_.temperature_readout->setFixedSize(SMALL_CHART_WIDTH, readout_height());
    page_.level_readout->setFixedSize(SMALL_CHART_WIDTH, readout_height());
}

int EchoDisplay::readout_height() const {
    return 8 * page_.status_box->fontMetrics().lineSpacing() + 2 * page_.status_box->margin() + 6;
}

// ---- The echo chart

void EchoDisplay::update_trace(int trace, int chart) {
    EchoState& e = echo_state();
    const EchoTraceHeader& h = e.header;
    if (h.points_per_unit == 0 || trace < 1 || trace > 4)
        return;
    QCustomPlot* c = page_.echo_chart;
    try {
        if (chart >= 1 && chart <= 3 && !e.echo_axis_hold[static_cast<size_t>(chart - 1)]) {
            c->xAxis->setRangeUpper(trace_distance_max(h));
            c->yAxis->setRangeUpper(ECHO_AMPLITUDE_MAX);
        }
        QVector<QCPGraphData> points(h.sample_count);
        const auto& column = e.traces.column[static_cast<size_t>(trace - 1)];
        for (int i = 0; i < h.sample_count; ++i)
            points[i] = QCPGraphData(i / h.points_per_unit, column[static_cast<size_t>(i)]);
        c->graph(trace - 1)->data()->set(points, true);
        if (shell().show_gate)
            drawwindow();
        if (shell().show_span)
            drawspan();
        c->replot(QCustomPlot::rpQueuedReplot);
    } catch (const std::exception& ex) {
        platform::msg_box(echo_error_text(1287, "Error ", ex), platform::mb::Critical);
    }
}

void EchoDisplay::drawwindow() {
    const EchoTraceHeader& h = echo_state().header;
    if (h.points_per_unit == 0)
        return;
    QCustomPlot* c = page_.echo_chart;
    const auto x = gate_positions(h);
    const double height = c->yAxis->range().upper;
    const double half = c->xAxis->range().size() / 200; // bars one percent of the axis wide
    for (size_t i = 0; i < 3; ++i) {
        QCPItemRect* bar = page_.gate_bars[i];
        bar->topLeft->setCoords(x[i] - half, height);
        bar->bottomRight->setCoords(x[i] + half, 0);
        bar->setBrush(i == 1 ? bgr(GATE_MIDDLE) : QColor(Qt::white));
        bar->setVisible(true);
    }
    c->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::drawspan() {
    QCustomPlot* c = page_.echo_chart;
    const auto bands = span_bands(echo_state().span_values, c->xAxis->range().upper);
    if (!bands)
        return;
    auto set = [&](int tool, const Band& b) {
        QCPItemRect* r = page_.span_band[static_cast<size_t>(tool)];
        r->topLeft->setCoords(b.start, 0);
        r->bottomRight->setCoords(b.end, 1);
    };
    if (bands->near_blank)
        set(1, *bands->near_blank);
    set(2, bands->far_blank);
    set(3, bands->beyond);
    c->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::collapse_bands() {
    for (int tool = 1; tool <= 3; ++tool) {
        QCPItemRect* r = page_.span_band[static_cast<size_t>(tool)];
        r->topLeft->setCoords(0, 0);
        r->bottomRight->setCoords(0, 1);
    }
    page_.echo_chart->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::clear_trace(int index) {
    page_.echo_chart->graph(index)->data()->clear();
    if (index == 0)
        clear_gate();
    page_.echo_chart->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::clear_gate() {
    for (QCPItemRect* bar : page_.gate_bars)
        bar->setVisible(false);
    page_.echo_chart->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::apply_axis_shadow() {
    const QColor shadow = QApplication::palette().color(QPalette::Dark);
    for (QCustomPlot* c : charts(page_))
        for (QCPAxis* a : {c->xAxis, c->yAxis})
            a->setBasePen(QPen(shadow, 1));
}

void EchoDisplay::getchartbackground() {
    const ShellState& s = shell();
    const QColor back = bgr(s.chart_back_color);
    for (QCustomPlot* c : charts(page_)) {
        if (s.echo_light_on && s.chart_gradient) {
            QLinearGradient g(0, 0, 0, 1);
            g.setCoordinateMode(QGradient::ObjectMode);
            g.setColorAt(0, Qt::white);
            g.setColorAt(1, back);
            c->setBackground(QBrush(g));
        } else {
            c->setBackground(s.echo_light_on && !s.chart_gradient ? back : bgr(PANEL_GREY));
        }
        c->replot(QCustomPlot::rpQueuedReplot);
    }
    apply_axis_shadow();
    set_box_colour(page_.status_box, s.echo_light_on ? back : bgr(PANEL_GREY));
    page_.colour_button->setIcon(colour_picture(back));
}

void EchoDisplay::choose_chart_colour() {
    ShellState& s = shell();
    const auto chosen = platform::dialogs().choose_colour(bgr(s.chart_back_color));
    if (!chosen)
        return;
    s.chart_back_color = chosen->red() | (chosen->green() << 8) | (chosen->blue() << 16);
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_BACK_COLOR,
              QString::number(s.chart_back_color));
    getchartbackground();
}

void EchoDisplay::echo_chart_mouse_move(int index, double x, double y) {
    if (index != 0)
        return;
    QCustomPlot* c = page_.echo_chart;
    const double left_max = c->yAxis->range().upper;
    const double bottom_max = c->xAxis->range().upper;
    if (left_max == 0 || bottom_max == 0)
        return;
    link_view().set_progress_value(1, 0);
    const bool outside = x > bottom_max || y > left_max || x < 0 || y < 0;
    page_.cursor_x->setVisible(!outside);
    page_.cursor_y->setVisible(!outside);
    if (!outside) {
        page_.cursor_x->point1->setCoords(x, 0);
        page_.cursor_x->point2->setCoords(x, 1);
        page_.cursor_y->point1->setCoords(0, y);
        page_.cursor_y->point2->setCoords(1, y);
        page_.cursor_readout[0]->setText(platform::format_number(x, QStringLiteral("#0.##")) +
                                         QLatin1Char(' ') + echo_state().echo_unit_text);
        page_.cursor_readout[1]->setText(platform::format_number(y, QStringLiteral("###")) +
                                         QStringLiteral(" mV"));
    }
    c->replot(QCustomPlot::rpQueuedReplot);
}

void EchoDisplay::hold_echo_axes(int index) {
    if (index >= 0 && index < 3)
        echo_state().echo_axis_hold[static_cast<size_t>(index)] = true;
}

void EchoDisplay::release_echo_axes(int index) {
    if (index < 0 || index >= 3)
        return;
    EchoState& e = echo_state();
    e.echo_axis_hold[static_cast<size_t>(index)] = false;
    e.span_read_done = false;
    // The zoom is undone at once: the chart goes back to the whole trace.
    const EchoTraceHeader& h = e.header;
    QCustomPlot* c = page_.echo_chart;
    c->xAxis->setRange(0, h.points_per_unit != 0 && h.sample_count > 1 ? trace_distance_max(h)
                                                                        : c->xAxis->range().upper);
    c->yAxis->setRange(0, ECHO_AMPLITUDE_MAX);
    if (shell().show_gate)
        drawwindow();
    c->replot(QCustomPlot::rpQueuedReplot);
}

// ---- The read-outs

void EchoDisplay::update_status(double status, const QString& status_text) {
    EchoState& e = echo_state();
    const QString word = status_word(status, status_text);
    StatusValues v;
    if (status_is_full(word)) {
        const auto& table = definitions_table();
        if (e.status_from_playback) {
            const auto& f = e.playback_fields;
            const double empty = platform::val(f[3]), level = platform::val(f[4]);
            v.distance = e.header.points_per_unit == 0 ? 0 : empty - level;
            v.level = level;
            v.confidence = f[5];
            v.strength = f[6];
            v.average_noise = platform::number_text(10 * platform::val(f[7])).trimmed();
            v.peak_noise = platform::number_text(10 * platform::val(f[8])).trimmed();
            v.temperature = platform::number_text(platform::val(f[9])).trimmed();
        } else {
            v.distance =
                e.header.points_per_unit == 0 ? 0 : e.span_values[0] - e.level_value;
            v.level = e.level_value;
            v.confidence = platform::number_text(table[901].unit_value).trimmed();
            v.strength = platform::number_text(table[902].unit_value).trimmed();
            v.average_noise = platform::number_text(10 * table[903].unit_value).trimmed();
            v.peak_noise = platform::number_text(10 * table[904].unit_value).trimmed();
            v.temperature = platform::number_text(e.temperature_value).trimmed();
        }
    }
    page_.status_box->setText(status_box_text(word, v));
    show_status();
}

void EchoDisplay::add_readout_point(int chart, double value) {
    QCustomPlot* c = chart == 1 ? page_.temperature_readout : page_.level_readout;
    auto data = c->graph(0)->data();
    const double x = data->isEmpty() ? 0 : (data->constEnd() - 1)->key + 1;
    data->add(QCPGraphData(x, value));
    // Older readings scroll off the chart and are dropped, so a long run holds no more points
    // than the chart shows.
    if (data->size() > READOUT_POINTS)
        data->removeBefore((data->constEnd() - READOUT_POINTS)->key);
    const auto range = readout_x_range(x);
    c->xAxis->setRange(range.first, range.second);
}

void EchoDisplay::update_level(double span, double level) {
    page_.level_readout->yAxis->setRangeUpper(span);
    add_readout_point(2, level);
    show_level();
}

void EchoDisplay::update_temperature(double temperature) {
    EchoState& e = echo_state();
    const auto range =
        next_temperature_range({e.temperature_min, e.temperature_max}, temperature);
    if (!range)
        return;
    if (temperature != 0) {
        e.temperature_min = range->minimum;
        e.temperature_max = range->maximum;
        const auto axis = temperature_axis(*range);
        page_.temperature_readout->yAxis->setRange(axis.first, axis.second);
    }
    add_readout_point(1, temperature);
    show_temperature();
}

void EchoDisplay::place_readouts() {
    const ShellState& s = shell();
    const int chart_width = page_.echo_chart->width();
    const ReadoutLefts l = readout_lefts(
        chart_width, page_.status_box->width(), page_.level_readout->width(),
        page_.temperature_readout->width(), s.show_status_overlay, s.show_level_overlay);
    // Below the chart's title, so that the title stays readable.
    const int top = page_.echo_chart->axisRect()->top() + 1;
    page_.status_box->move(l.status - 1, top);
    page_.level_readout->move(l.level - 1, top);
    page_.temperature_readout->move(l.temperature - 1, top);
}

void EchoDisplay::show_status() {
    ShellState& s = shell();
    place_readouts();
    if (s.show_status_overlay) {
        page_.status_box->show();
    } else if (echo_state().play_line_due) {
        page_.status_box->show();
        s.show_status_overlay = true;
    } else {
        page_.status_box->hide();
    }
    page_.status_box->raise();
    if (press_indicator)
        press_indicator(0, s.show_status_overlay);
}

void EchoDisplay::show_level() {
    const ShellState& s = shell();
    place_readouts();
    page_.level_readout->setVisible(echo_state().play_line_due || s.show_level_overlay);
    page_.level_readout->raise();
    page_.level_readout->replot(QCustomPlot::rpQueuedReplot);
    if (press_indicator)
        press_indicator(1, s.show_level_overlay);
}

void EchoDisplay::show_temperature() {
    const ShellState& s = shell();
    place_readouts();
    page_.temperature_readout->setVisible(echo_state().play_line_due || s.show_temperature_overlay);
    page_.temperature_readout->raise();
    page_.temperature_readout->replot(QCustomPlot::rpQueuedReplot);
    if (press_indicator)
        press_indicator(2, s.show_temperature_overlay);
}

void EchoDisplay::indicator_click(int index) {
    const ShellState& s = shell();
    const bool state = index == 0   ? s.show_status_overlay
                       : index == 1 ? s.show_level_overlay
                                    : s.show_temperature_overlay;
    const QLatin1String key = index == 0   ? ini::KEY_STATUS
                              : index == 1 ? ini::KEY_LEVEL
                                           : ini::KEY_TEMPERATURE;
    if (press_indicator)
        press_indicator(index, state);
    write_ini(s.ini_path, ini::SECTION_ECHO_CONTROL, key, platform::bool_text(state));
    show_status();
    show_level();
    show_temperature();
}

void EchoDisplay::clear_all_accessories() {
    for (QCustomPlot* c : {page_.temperature_readout, page_.level_readout}) {
        c->graph(0)->data()->clear();
        c->xAxis->setRange(0, READOUT_AXIS_SPAN);
        c->replot(QCustomPlot::rpQueuedReplot);
    }
    page_.status_box->clear();
    for (int i = 0; i < 4; ++i)
        page_.echo_chart->graph(i)->data()->clear();
    clear_gate();
    EchoState& e = echo_state();
    e.traces.clear();
    e.span_values[0] = e.span_values[1] = 0;
    collapse_bands();
}

void EchoDisplay::show_light() {
    const ShellState& s = shell();
    page_.light_button->setIcon(light_picture(s.echo_light_on));
    page_.light_button->setChecked(s.echo_light_on);
    page_.gradient_box->setVisible(s.echo_light_on);
}

void EchoDisplay::toggle_light() {
    ShellState& s = shell();
    s.echo_light_on = !s.echo_light_on;
    for (QCustomPlot* c : charts(page_)) {
        if (s.echo_light_on) {
            QLinearGradient g(0, 0, 0, 1);
            g.setCoordinateMode(QGradient::ObjectMode);
            g.setColorAt(0, Qt::white);
            g.setColorAt(1, bgr(s.chart_back_color));
            c->setBackground(QBrush(g));
        } else {
            c->setBackground(bgr(PANEL_GREY));
        }
        c->replot(QCustomPlot::rpQueuedReplot);
    }
    set_box_colour(page_.status_box, s.echo_light_on
                                         ? bgr(LIGHT_YELLOW)
                                         : QApplication::palette().color(QPalette::Window));
    apply_axis_shadow();
    write_ini(s.ini_path, ini::SECTION_ECHO_CONTROL, ini::KEY_LIGHT_ON,
              platform::bool_text(s.echo_light_on));
    show_light();
}
