// The echo display's costs:
//  - ParseAndRedraw: one 6401-sample trace reply parsed into the table and the echo chart redrawn
//    with it (gate and span included), on a chart of the size a 1366x768 screen gives. The live
//    tick is bound by the line alone while this stays at or below 10 ms.
//  - LiveHour: an hour of live monitoring on the program's clock (test time scale) at the
//    fastest intervals (all four traces every tick, 6401 samples each, every read-out on)
//    against the simulated unit. rss_first_kb is the process's resident memory after the first
//    five program minutes, rss_last_kb after the hour; growth_kb is their difference and
//    should stay near 0.

#include "bench_support.h"
#include "echo/echo_display.h"
#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "echo/echo_trace.h"
#include "echo/live_monitor.h"
#include "link/link_state.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QFile>
#include <QRadioButton>
#include <QTimer>
#include <qcustomplot.h>

namespace {

// A main window stand-in that keeps nothing, so that it cannot grow over an hour.
class QuietLinkView : public LinkView {
public:
    void set_status_text(int, const QString&) override {}
    QString status_text(int) const override { return {}; }
    int progress_value(int) const override { return 0; }
    int progress_max(int) const override { return 100; }
    void set_progress_value(int, int) override {}
    void set_download_label(const QString&) override {}
    void set_live_timer_enabled(bool) override {}
    void select_offline_option() override {}
    void set_velto_lite_checked(bool) override {}
    void set_capability_options(bool, bool, bool) override {}
    void set_param_screen_captions() override {}
};

long rss_kb() {
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : 0;
}

void BM_ParseAndRedraw(benchmark::State& state) {
    reset_shell_state();
    reset_echo_state();
    unitsim::UnitCore unit(unitsim::UnitKind::Cso);
    unit.echo().set_sample_count(TRACE_SAMPLES);
    unit.echo().set_level_mm(2000);
    const QString reply = QString::fromLatin1(unit.echo().trace_line(1, unit));
    EchoPage page;
    page.resize(1100, 560);
    page.show();
    EchoDisplay display(page);
    echo_state().span_values = {6, 5, 0.3, 20};
    for (auto _ : state) {
        EchoState& e = echo_state();
        parse_trace_reply(reply, e.header, e.traces.column[0]);
        display.update_trace(1, 1);
        page.echo_chart->replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["samples"] = echo_state().header.sample_count;
}
BENCHMARK(BM_ParseAndRedraw)->Unit(benchmark::kMillisecond);


void BM_LiveHour(benchmark::State& state) {
    constexpr double SCALE = 60; // fine enough that timer resolution does not stretch the ticks
    QTemporaryDir dir;
    QuietLinkView view;
    platform::ScopedScriptedDialogs dialogs;
    for (auto _ : state) {
        reset_shell_state();
        reset_link_state();
        reset_echo_state();
        ShellState& s = shell();
        s.ini_path = dir.filePath("general.ini");
        s.login_passcode = QStringLiteral("318406");
        s.com_port = 1;
        s.comm_settings = QStringLiteral("115200,N,8,1");
        s.trace_interval = {0, 0, 0, 0};
        QFile ini(s.ini_path);
        ini.open(QIODevice::WriteOnly);
        ini.write("[Echo Control]\r\nStatus=True\r\nLevel=True\r\nTemperature=True\r\n");
        ini.close();
        platform::set_time_scale(SCALE);
        unitsim::Simulator sim(unitsim::UnitKind::Level);
        sim.set_baud(0); // no pacing: the hour holds as many ticks as the program can make
        sim.set_time_scale(SCALE);
        sim.unit().echo().set_sample_count(TRACE_SAMPLES);
        platform::port_table_config() = {s.ini_path, dir.path()};
        platform::map_port(1, sim.slave_path());
        set_link_view(&view);

        EchoPage page;
        page.resize(1100, 560);
        page.show();
        EchoDisplay display(page);
        QTimer timer;
        EchoFrameHooks hooks;
        hooks.timer = &timer;
        LiveEchoMonitor monitor(page, display, hooks);
        page.set_live_handler([&] { monitor.start_monitoring(); });
        page.offline_handler = [&] { monitor.stop_monitoring(); };
        page.set_trace_box_handler([&](int i) { monitor.trace_box_changed(i); });
        page.offline_option->setChecked(true);
        for (QCheckBox* box : page.trace_boxes)
            box->setChecked(true);
        int ticks = 0;
        // The simulated unit keeps every command it received; that is the test peer's memory,
        // not the program's, so it is emptied as the ticks go.
        QObject::connect(&monitor, &LiveEchoMonitor::tick_finished, [&] {
            ++ticks;
            sim.clear_received();
        });

        const double start = platform::seconds();
        page.live_option->setChecked(true);
        platform::wait_until([] { return false; }, 300);
        const long first = rss_kb();
        const int first_ticks = ticks;
        // Resident memory at every ten program minutes after the first five.
        for (int minute = 15; minute <= 55; minute += 10) {
            platform::wait_until([&] { return !link().echo_online; },
                                 minute * 60 - (platform::seconds() - start));
            state.counters["rss_" + std::to_string(minute) + "min_kb"] =
                static_cast<double>(rss_kb());
        }
        platform::wait_until([&] { return !link().echo_online; }, 3600 - (platform::seconds() - start));
        const long last = rss_kb();
        state.counters["ticks"] = ticks;
        state.counters["ticks_after_5min"] = first_ticks;
        state.counters["rss_first_kb"] = static_cast<double>(first);
        state.counters["rss_last_kb"] = static_cast<double>(last);
        state.counters["growth_kb"] = static_cast<double>(last - first);
        state.counters["still_live"] = link().echo_online ? 1 : 0;
        page.offline_option->setChecked(true);
        timer.stop();
        MSComm1().set_port_open(false);
        platform::set_time_scale(1);
        set_link_view(nullptr);
    }
}
BENCHMARK(BM_LiveHour)->Unit(benchmark::kSecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return bench::run_benchmarks(argc, argv);
}
