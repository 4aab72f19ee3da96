#include "echo/live_monitor.h"

#include "echo/echo_display.h"
#include "echo/echo_exchange.h"
#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/log_on.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/serial_port.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/option_lists.h"
#include "shell/settings.h"
#include "shell/settings_keys.h"
#include "shell/shell_state.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <cmath>
#include <qcustomplot.h>

namespace {

bool read_flag(QLatin1String key) {
    const QString text =
        read_ini(shell().ini_path, ini::SECTION_ECHO_CONTROL, key, ini::DEF_OVERLAY);
    return platform::to_bool(text).value_or(false);
}

void status(const QString& text) {
    link_view().set_status_text(1, text);
}

} // namespace

LiveEchoMonitor::LiveEchoMonitor(EchoPage& page, EchoDisplay& display, EchoFrameHooks hooks,
                                 QObject* parent)
    : QObject(parent), page_(page), display_(display), hooks_(std::move(hooks)) {
    if (hooks_.timer) {
        hooks_.timer->setSingleShot(true);
        connect(hooks_.timer, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    }
    for (int k = 1; k <= 4; ++k)
        connect(page_.trace_intervals[static_cast<size_t>(k - 1)], &QSpinBox::valueChanged, this,
                [this, k] { UpDown_Change(k); });
}

bool LiveEchoMonitor::live_selected() const {
    return page_.live_option->isChecked();
}

bool LiveEchoMonitor::offline_selected() const {
    return page_.offline_option->isChecked();
}

void LiveEchoMonitor::arm_timer() {
    if (!hooks_.timer)
        return;
    // One program second; the test time scale shortens it with every other wait.
    const double real_ms = 1000.0 / platform::time_scale();
    hooks_.timer->start(static_cast<int>(std::max(1.0, std::round(real_ms))));
}

void LiveEchoMonitor::record() {
    // A recording line carries the status block's values: none is written before they have
    // been read.
    const EchoState& e = echo_state();
    if (hooks_.record_traces && (e.status_read_done || !e.echo_recording))
        hooks_.record_traces();
}

// ---- Start and stop

void LiveEchoMonitor::start_monitoring() {
    LinkState& L = link();
    EchoState& e = echo_state();
    if (hooks_.timer)
        hooks_.timer->stop();
    if (hooks_.stop_playback)
        hooks_.stop_playback();
    L.comms_abort = false;
    status(ui_text(1349, QStringLiteral("Connecting for live echo...")));
    L.echo_online = true;
    if (!connect_to_unit(false)) {
        page_.offline_option->setChecked(true);
        return;
    }
    L.echo_online = true;
    status(ui_text(1350, QStringLiteral("Live echo monitoring on")));
    if (hooks_.enable_controls)
        hooks_.enable_controls();
    ShellState& s = shell();
    s.show_status_overlay = read_flag(ini::KEY_STATUS);
    s.show_level_overlay = read_flag(ini::KEY_LEVEL);
    s.show_temperature_overlay = read_flag(ini::KEY_TEMPERATURE);
    send_command(QStringLiteral("/LOADNORM"));
    if (L.comms_abort)
        return;
    send_command(QStringLiteral("/p104"));
    if (L.comms_abort)
        return;
    e.echo_unit_text = length_unit_abbrev(L.reply_buffer);
    page_.set_distance_unit(e.echo_unit_text);
    display_.clear_all_accessories();
    page_.echo_chart->xAxis->setRangeLower(0);
    e.temperature_min = 40;
    e.temperature_max = -10;
    e.span_read_done = false;
    e.status_read_done = false;
    e.trace_countdown.fill(0);
    unanswered_trace_ = false;
    if (hooks_.set_recorder_enabled)
        hooks_.set_recorder_enabled(true);
    if (hooks_.set_exit_enabled)
        hooks_.set_exit_enabled(false);
    arm_timer();
}

void LiveEchoMonitor::stop_monitoring() {
    LinkState& L = link();
    if (hooks_.timer)
        hooks_.timer->stop();
    status(ui_text(1351, QStringLiteral("Offline")));
    link_view().set_status_text(2, QString());
    if (hooks_.set_recorder_enabled)
        hooks_.set_recorder_enabled(false);
    // A device that has gone away, which the user has been told of, is not reopened: that would
    // only tell of it again, and there is nothing to write to.
    const bool device_gone = !MSComm1().port_open() && L.failure_told;
    // A unit still being put back into its normal mode after a stop is left to that (opening the
    // port anew would cut it off); live monitoring never started meanwhile.
    if (!device_gone && !putting_back()) {
        // Opened anew, the link no longer counts the unit as in quick-load mode: a later failure
        // sends no second "/LOADNORM".
        open_com_port();
        if (L.port_open_failed)
            return;
        if (L.echo_online) {
            MSComm1().output(QByteArrayLiteral("/LOADNORM\r"));
            MSComm1().output(QByteArrayLiteral("/access:off\r"));
        }
    }
    link_view().set_progress_value(1, 0);
    L.comms_abort = true;
    L.echo_online = false;
    if (hooks_.timer)
        hooks_.timer->stop();
    if (hooks_.set_exit_enabled)
        hooks_.set_exit_enabled(true);
}

void LiveEchoMonitor::UpDown_Change(int k) {
    ShellState& s = shell();
    const int value = page_.trace_intervals[static_cast<size_t>(k - 1)]->value();
    write_ini(s.ini_path, ini::SECTION_ECHO_CONTROL, ini::key_trace_interval(k),
              QString::number(value));
    s.trace_interval[static_cast<size_t>(k - 1)] = value;
}

// ---- The tick

void LiveEchoMonitor::Timer1_Timer() {
    if (!link().echo_online || !live_selected())
        return;
    if (hooks_.timer)
        hooks_.timer->stop();
    bool rearm = false;
    try {
        rearm = run_tick();
    } catch (const std::exception& ex) {
        stop_after_error(QString::fromLocal8Bit(ex.what()));
        return;
    } catch (...) {
        stop_after_error(ui_text(2407, QStringLiteral("Unexpected error")));
        return;
    }
    if (!rearm)
        return;
    status(QString());
    // A stop inside the tick has already switched monitoring off; it must stay off.
    if (link().echo_online && live_selected())
        arm_timer();
    link().comms_abort = false;
    emit tick_finished();
}

// An error nobody expected must not leave a monitor that looks live but never ticks again: it
// is reported and monitoring goes offline as if the user had chosen "No".
void LiveEchoMonitor::stop_after_error(const QString& description) {
    platform::msg_box(ui_text(1286, QStringLiteral("Error in live echo monitoring - code ")) +
                          QStringLiteral("0  : ") + description,
                      platform::mb::Critical);
    if (hooks_.timer)
        hooks_.timer->stop();
    if (!offline_selected())
        page_.offline_option->setChecked(true);
    else
        stop_monitoring();
    link().echo_online = false;
    link().comms_abort = false;
    if (hooks_.timer)
        hooks_.timer->stop();
}

// After each command of a tick: whether the tick goes on. A command the link gave up on (three
// sends without an answer) has told the user and left echo mode; the tick's other commands would
// only wait for the same dead line, and the read-outs would show what never came.
bool LiveEchoMonitor::exchange_ok() {
    if (!live_selected())
        return false; // the user's stop, or the link's failure that has gone offline already
    if (link().comms_abort)
        return line_dead(false);
    unanswered_trace_ = false;
    return true;
}

// One trace fetch. A trace that does not come in time fails that tick quietly, as a busy unit's
// may; the next tick asks again (the link keeps its late answer from passing for that one). Two
// in a row with no answer between them, or a port that has gone, are a dead line.
LiveEchoMonitor::TraceOutcome LiveEchoMonitor::fetch_trace(int k) {
    LinkState& L = link();
    const TraceFetch got = get_echo_trace(
        QLatin1String(TRACE_COMMANDS[static_cast<size_t>(k)]) + QLatin1Char('\r'), k);
    if (!live_selected())
        return TraceOutcome::Left;
    if (got == TraceFetch::Trace || got == TraceFetch::NotATrace) {
        unanswered_trace_ = false;
        return TraceOutcome::Answered;
    }
    if (got == TraceFetch::NoReply && L.reply_timed_out && !unanswered_trace_) {
        unanswered_trace_ = true;
        return TraceOutcome::Missed;
    }
    line_dead(got == TraceFetch::NoReply && L.reply_timed_out);
    return TraceOutcome::Left;
}

// The line is dead: monitoring goes offline, and the user hears of it once. `untold` when the
// link has not said so itself (a trace has no message of its own).
bool LiveEchoMonitor::line_dead(bool untold) {
    LinkState& L = link();
    if (L.echo_online && (untold || !L.failure_told)) {
        // A countdown standing behind the message would read as a wait still going on.
        link_view().set_status_text(2, QString());
        platform::msg_box(
            ui_text(1299, QStringLiteral(
                              "No reply from the unit. Check the cable and the port settings.")),
            platform::mb::Critical, ui_text(1411, QStringLiteral("Communication Error")));
        L.failure_told = true;
    }
    if (hooks_.timer)
        hooks_.timer->stop();
    page_.offline_option->setChecked(true);
    L.echo_online = false;
    return false;
}

bool LiveEchoMonitor::quick_read(const QString& what, const std::function<void()>& read,
                                  const std::function<void()>& show) {
    if (!live_selected())
        return false;
    send_command(QStringLiteral("/LOADQUICK"));
    if (!exchange_ok())
        return false;
    status(what);
    read();
    if (!exchange_ok())
        return false;
    show();
    send_command(QStringLiteral("/LOADNORM"));
    return exchange_ok();
}

bool LiveEchoMonitor::read_span() {
    return quick_read(
        ui_text(1356, QStringLiteral("Reading span...")), [this] { get_span(); },
        [this] {
            if (shell().show_span)
                display_.drawspan();
            echo_state().span_read_done = true;
            record();
        });
}

bool LiveEchoMonitor::read_status() {
    return quick_read(
        ui_text(1357, QStringLiteral("Reading status...")),
        [this] { get_range([this] { return offline_selected(); }); },
        [this] {
            EchoState& e = echo_state();
            e.status_read_done = true;
            const auto& table = definitions_table();
            display_.update_status(table[900].unit_value, table[900].value_text);
            display_.update_level(e.span_values[0], e.level_value);
            display_.update_temperature(e.temperature_value);
        });
}

bool LiveEchoMonitor::run_tick() {
    EchoState& e = echo_state();
    const ShellState& s = shell();
    for (int i = 0; i < 4; ++i)
        if (!page_.trace_boxes[static_cast<size_t>(i)]->isChecked()) {
            page_.echo_chart->graph(i)->data()->clear();
            page_.echo_chart->replot(QCustomPlot::rpQueuedReplot);
        }
    const auto due = count_down(e.trace_countdown);
    if (!any_due(due))
        return true;
    // A recording's first line must carry values the unit gave: its status is read before its
    // first trace (the span before it, for the level read-out's scale).
    const bool status_first = e.echo_recording && !e.status_read_done;
    if (status_first) {
        if (!e.span_read_done && !read_span())
            return false;
        if (!read_status())
            return false;
        record();
    }
    bool missed = false; // a trace of this tick did not come: the tick's others are not asked
    for (int k = 1; k <= 4; ++k) {
        const size_t i = static_cast<size_t>(k - 1);
        if (!due[i])
            continue;
        const bool ticked = page_.trace_boxes[i]->isChecked();
        if ((ticked || e.echo_recording) && !missed) {
            if (!live_selected())
                return false;
            status(ui_text(1351 + k));
            const TraceOutcome got = fetch_trace(k);
            if (got == TraceOutcome::Left)
                return false;
            missed = got == TraceOutcome::Missed;
            if (!missed) {
                if (page_.trace_boxes[i]->isChecked())
                    display_.update_trace(k, 1);
                record();
            }
        }
        e.trace_countdown[i] = interval_ticks(s.trace_interval[i], 0);
    }
    if (!e.span_read_done && !read_span())
        return false;
    if (!status_first &&
        (s.show_status_overlay || s.show_level_overlay || s.show_temperature_overlay ||
         e.echo_recording) &&
        !read_status())
        return false;
    return true;
}

// ---- View settings

void LiveEchoMonitor::apply_saved_view_settings() {
    ShellState& s = shell();
    EchoState& e = echo_state();
    {
        // The boxes take the saved values; their handlers would write the same values back.
        const QSignalBlocker b8(page_.gate_box), b9(page_.gradient_box), b10(page_.range_box);
        page_.gate_box->setChecked(s.show_gate);
        page_.range_box->setChecked(s.show_span);
        page_.gradient_box->setChecked(s.chart_gradient);
    }
    for (int k = 1; k <= 4; ++k) {
        QSpinBox* box = page_.trace_intervals[static_cast<size_t>(k - 1)];
        const QSignalBlocker block(box);
        const int16_t ticks = interval_ticks(s.trace_interval[static_cast<size_t>(k - 1)], 0);
        box->setValue(ticks);
        s.trace_interval[static_cast<size_t>(k - 1)] = box->value();
        e.trace_countdown[static_cast<size_t>(k - 1)] = static_cast<int16_t>(box->value());
    }
    e.echo_chart_number = 1;
    page_.echo_chart->yAxis->setRangeUpper(ECHO_AMPLITUDE_MAX);
    e.echo_recording = false;
    for (int i = 0; i < 4; ++i) {
        QCheckBox* box = page_.trace_boxes[static_cast<size_t>(i)];
        const bool on = s.trace_enabled[static_cast<size_t>(i)] != 0;
        if (box->isChecked() != on)
            box->setChecked(on); // runs trace_box_changed through the page's handler
        else
            trace_box_changed(i);
    }
    display_.show_light();
    page_.cursor_x->setVisible(false);
    page_.cursor_y->setVisible(false);
    link_view().set_progress_value(1, 0);
    const QColor kovex = s.start_logo == 2 ? QColor(0xFF, 0xC0, 0x10) : QColor(Qt::yellow);
    QPalette pal = page_.trace_boxes[3]->palette();
    pal.setColor(QPalette::Window, kovex);
    page_.trace_boxes[3]->setPalette(pal);
    page_.echo_chart->graph(3)->setPen(QPen(kovex, 1));
}

void LiveEchoMonitor::trace_box_changed(int index) {
    ShellState& s = shell();
    const bool on = page_.trace_boxes[static_cast<size_t>(index)]->isChecked();
    if (!on)
        display_.clear_trace(index);
    else
        display_.update_trace(index + 1, echo_state().echo_chart_number);
    s.trace_enabled[static_cast<size_t>(index)] = on ? 1 : 0;
    write_ini(s.ini_path, ini::SECTION_ECHO_CONTROL, ini::key_get_trace(index + 1),
              on ? QStringLiteral("1") : QStringLiteral("0"));
}

void LiveEchoMonitor::gate_box_changed() {
    ShellState& s = shell();
    s.show_gate = page_.gate_box->isChecked();
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SHOW_GATE, platform::bool_text(s.show_gate));
    if (s.show_gate)
        display_.drawwindow();
    else
        display_.clear_gate();
}

void LiveEchoMonitor::range_box_changed() {
    ShellState& s = shell();
    s.show_span = page_.range_box->isChecked();
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_SHOW_SPAN, platform::bool_text(s.show_span));
    if (s.show_span)
        display_.drawspan();
    else
        display_.collapse_bands();
}

void LiveEchoMonitor::gradient_box_changed() {
    ShellState& s = shell();
    s.chart_gradient = page_.gradient_box->isChecked();
    write_ini(s.ini_path, ini::SECTION_GENERAL, ini::KEY_CHART_GRADIENT,
              platform::bool_text(s.chart_gradient));
    display_.getchartbackground();
}
