// Live monitoring against the simulated unit: traces fetched and parsed whatever the unit gets
// wrong, the tick schedule on the program's clock, the span and status reads, the stop, and an
// error inside a tick.
#include "fields.h"
#include "simulated_unit.h"

#include "echo/echo_display.h"
#include "echo/echo_exchange.h"
#include "echo/echo_page.h"
#include "echo/echo_state.h"
#include "echo/live_monitor.h"
#include "link/log_on.h"
#include "link/serial_texts.h"
#include "platform/vb.h"
#include "shell/definitions_table.h"
#include "shell/settings.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTimer>
#include <qcustomplot.h>
#include <stdexcept>

using unitsim::Misbehaviour;

namespace {

class LiveMonitorTest : public SimulatedUnitTest {
protected:
    void SetUp() override {
        SimulatedUnitTest::SetUp();
        reset_echo_state();
        platform::number_separators() = {};
        shell().login_passcode = "318406";
        for (int n = 900; n <= 904; ++n) {
            definitions_table()[static_cast<size_t>(n)].unit_value = NO_VALUE;
            definitions_table()[static_cast<size_t>(n)].value_text.clear();
        }
        unit().echo().set_level_mm(2000);
        page = std::make_unique<EchoPage>();
        page->offline_option->setChecked(true);
        display = std::make_unique<EchoDisplay>(*page);
        EchoFrameHooks hooks;
        hooks.timer = &timer;
        hooks.record_traces = [this] {
            ++recorded;
            if (fail_in_tick)
                throw std::runtime_error("disk full");
        };
        monitor = std::make_unique<LiveEchoMonitor>(*page, *display, hooks);
        page->set_live_handler([this] { monitor->start_monitoring(); });
        page->offline_handler = [this] { monitor->stop_monitoring(); };
        page->set_trace_box_handler([this](int i) { monitor->trace_box_changed(i); });
        QObject::connect(monitor.get(), &LiveEchoMonitor::tick_finished, [this] {
            ticks.push_back(received().mid(static_cast<int>(seen)));
            seen = received().size();
        });
    }
    void TearDown() override {
        timer.stop();
        monitor.reset();
        display.reset();
        page.reset();
        SimulatedUnitTest::TearDown();
    }

    unitsim::UnitCore& unit() { return sim->unit(); }

    void go_live() {
        page->live_option->setChecked(true);
        ASSERT_TRUE(link().echo_online) << "live monitoring did not start";
        seen = received().size();
    }
    // Lets the live timer run until `n` ticks have finished (program time, test scale).
    void run_ticks(size_t n) {
        platform::wait_until([&] { return ticks.size() >= n; }, 600);
        ASSERT_GE(ticks.size(), n) << "the live tick stopped";
    }
    static int count(const QStringList& commands, const QString& c) {
        return static_cast<int>(commands.count(c));
    }

    QTimer timer;
    std::unique_ptr<EchoPage> page;
    std::unique_ptr<EchoDisplay> display;
    std::unique_ptr<LiveEchoMonitor> monitor;
    std::vector<QStringList> ticks; // the commands each tick sent
    qsizetype seen = 0;
    int recorded = 0;
    bool fail_in_tick = false;
};

TEST_F(LiveMonitorTest, TraceFromTheUnitLandsInItsColumnWithThePeakAtTheSurface) {
    open_port();
    unit().echo().set_sample_count(750); // 6 m empty distance: 100 points per metre
    get_echo_trace("/ECHORAW1\r", 1);
    const EchoState& e = echo_state();
    // The surface is 2 m up, so 4 m from the transducer: sample 400 and the middle gate bar.
    EXPECT_EQ(fields(e.header.sample_count, e.header.points_per_unit, e.header.window_2),
              fields(750, 100, 400));
    const auto& raw = e.traces.column[0];
    EXPECT_TRUE(raw[400] > 600 && raw[300] < 200);
    EXPECT_EQ(e.traces.column[1][400], 0) << "a RAW reply wrote another kind's column";
    EXPECT_TRUE(link().echo_online && link().reply_buffer.isEmpty());
    EXPECT_EQ(received(), QStringList({"/ECHORAW1"}));
}

TEST_F(LiveMonitorTest, TheUnitsTraceMistakesNeverCorruptTheTable) {
    open_port();
    unit().echo().set_sample_count(100);
    get_echo_trace("/ECHONORM1\r", 2);
    const auto before = echo_state().traces.column[1];

    unit().echo().set_ok_for_trace(true);
    echo_state().echo_recording = true;
    echo_state().recorded_trace_text = "kept";
    get_echo_trace("/ECHONORM1\r", 2);
    EXPECT_TRUE(echo_state().traces.column[1] == before &&
                echo_state().recorded_trace_text == "kept")
        << "an OK was read as a trace";
    unit().echo().set_ok_for_trace(false);

    unit().echo().set_trace_prefix("busy>");
    get_echo_trace("/ECHONORM1\r", 2);
    EXPECT_EQ(echo_state().header.sample_count, 100) << "text before the $ added samples";
    EXPECT_TRUE(echo_state().recorded_trace_text.startsWith("T1busy>$B"));
    unit().echo().set_trace_prefix({});

    unit().echo().set_sample_count(TRACE_SAMPLES + 40);
    get_echo_trace("/ECHONORM1\r", 2);
    EXPECT_EQ(echo_state().header.sample_count, TRACE_SAMPLES);
    EXPECT_TRUE(link().reply_buffer.isEmpty());

    unit().echo().set_sample_count(100);
    sim->misbehave_on("/ECHO*", Misbehaviour::silence(), 1);
    const auto kept = echo_state().traces.column[1];
    get_echo_trace("/ECHONORM1\r", 2);
    EXPECT_TRUE(link().comms_abort);
    EXPECT_EQ(echo_state().traces.column[1], kept);
    get_echo_trace("/ECHONORM1\r", 2);
    EXPECT_EQ(count(received(), "/ECHONORM1"), 5) << "a fetch went out while comms_abort was set";
    EXPECT_TRUE(dialogs.prompts.empty()) << "a trace time-out shows no message";
}

// A line that reached the port unheard between two traces of one tick is thrown away before the
// next trace command goes out: the trace drawn is the unit's answer to that command.
TEST_F(LiveMonitorTest, AStrayLineBeforeATraceCommandIsNeverReadAsTheTrace) {
    open_port();
    unit().echo().set_sample_count(100);
    get_echo_trace("/ECHORAW1\r", 1);
    platform::SerialPort& port = MSComm1();
    port.set_rthreshold(0); // within a tick nothing listens between the traces
    sim->write_unsolicited("$A10.00 100 200 300" + QByteArray("001").repeated(7) + "\r\n");
    platform::wait_until([&] { return port.in_buffer_count() > 0; }, 5);
    ASSERT_GT(port.in_buffer_count(), 0);
    EXPECT_EQ(get_echo_trace("/ECHOAVERAGE1\r", 3), TraceFetch::Trace);
    EXPECT_EQ(echo_state().header.sample_count, 100) << "a stray line was drawn as the trace";
}

TEST_F(LiveMonitorTest, AReplyWithFieldsBeyondSixteenBitsGivesOneMessage) {
    open_port();
    Misbehaviour m;
    m.replace = QByteArray("$A10.00 100 200 300") + QByteArray("9E9").repeated(50) + "\r\n";
    sim->misbehave_on("/ECHORAW1", m, 1);
    get_echo_trace("/ECHORAW1\r", 1);
    EXPECT_EQ(echo_state().header.sample_count, 50);
    EXPECT_EQ(dialogs.prompts.size(), 1u) << "one message per reply, never one per sample";
}

TEST_F(LiveMonitorTest, TicksFollowEachKindsIntervalOnTheProgramClock) {
    shell().trace_interval = {5, 20, 3, 20};
    page->trace_boxes[0]->setChecked(true);
    page->trace_boxes[2]->setChecked(true);
    unit().echo().set_sample_count(50);
    go_live();
    EXPECT_TRUE(timer.isSingleShot());
    run_ticks(11);
    for (size_t t = 0; t < 11; ++t) {
        SCOPED_TRACE("tick " + std::to_string(t + 1));
        EXPECT_EQ(count(ticks[t], "/ECHORAW1"), t % 5 == 0 ? 1 : 0);
        EXPECT_EQ(count(ticks[t], "/ECHOAVERAGE1"), t % 3 == 0 ? 1 : 0);
        EXPECT_EQ(count(ticks[t], "/ECHONORM1"), 0) << "an unticked kind was fetched";
        EXPECT_EQ(count(ticks[t], "/p105"), t == 0 ? 1 : 0) << "the span is read once a start";
        EXPECT_EQ(count(ticks[t], "/p900"), 0) << "status read without a read-out";
    }
    EXPECT_EQ(echo_state().span_values, (std::array<double, 4>{6, 5, 0.3, 0}));
    EXPECT_EQ(page->echo_chart->graph(0)->dataCount() + page->echo_chart->graph(2)->dataCount(), 100);
}

TEST_F(LiveMonitorTest, ReadoutsReadTheStatusBlockOnTheTicksThatFetch) {
    write_ini(ini, "Echo Control", "Status", "True");
    page->trace_boxes[0]->setChecked(true);
    shell().trace_interval = {2, 20, 20, 20};
    definitions_table()[1374].text = "Running";
    shell().status_label_texts[0] = " Status = ";
    Misbehaviour p900;
    p900.replace = QByteArray("3\r\n"); // the second status read decides
    sim->misbehave_on("/p900", p900);
    unit().echo().set_status_code(0);
    go_live();
    run_ticks(3);
    EXPECT_EQ(ticks[0].mid(ticks[0].indexOf("/p900") - 1, 9),
              QStringList({"/LOADQUICK", "/p900", "/p901", "/p902", "/p903", "/p904", "/m1032",
                           "/LEVEL", "/TEMP"}));
    EXPECT_EQ(count(ticks[1], "/p900"), 0) << "no fetch, no status read";
    EXPECT_EQ(count(ticks[2], "/p900"), 1);
    const auto& table = definitions_table();
    EXPECT_EQ(std::tuple(table[900].unit_value, table[900].value_text), std::tuple(0.0, "0"))
        << "/m1032 answering 3 means running";
    EXPECT_EQ(std::tuple(table[902].unit_value, table[902].value_text), std::tuple(45.0, "4.5"));
    EXPECT_DOUBLE_EQ(echo_state().level_value, 2);
    EXPECT_TRUE(page->status_box->text().startsWith(" Status = Running\r\n") &&
                page->status_box->text().count("\r\n") == 7 && !page->status_box->isHidden());
    definitions_table()[1374].text.clear();
}

// An answer without a number is no reading: the span, the status block, the level and the
// temperature keep what the unit last gave, never a 0 in its place.
TEST_F(LiveMonitorTest, AnAnswerWithoutANumberKeepsTheLastReading) {
    open_port();
    const auto online = [] { return false; };
    get_span();
    get_range(online);
    const auto& table = definitions_table();
    auto readings = [&] {
        const EchoState& e = echo_state();
        return fields(e.span_values[0], e.span_values[1], table[901].value_text,
                      table[902].unit_value, e.level_value, e.temperature_value);
    };
    const auto before = readings();
    ASSERT_NE(echo_state().level_value, 0);
    for (const char* answer : {"OK", "NO"}) {
        for (const char* c : {"/p105", "/p106", "/p901", "/p902", "/LEVEL", "/TEMP"})
            sim->misbehave_on(c, Misbehaviour::garbage(QByteArray(answer) + "\r\n"), 1);
        get_span();
        get_range(online);
        EXPECT_EQ(readings(), before) << "the answer " << answer << " became a reading";
    }
}

TEST_F(LiveMonitorTest, StopWritesTheUnitBackToNormalAndStaysOff) {
    page->trace_boxes[0]->setChecked(true);
    go_live();
    run_ticks(1);
    link().unit_quick_mode = true; // as if a tick's "/LOADQUICK" had gone out last
    page->offline_option->setChecked(true);
    EXPECT_TRUE(!link().echo_online && link().comms_abort && !timer.isActive());
    EXPECT_FALSE(link().unit_quick_mode)
        << "a later failure would send \"/LOADNORM\" again to a unit already told";
    platform::wait_until([&] { return received().endsWith("/access:off"); }, 5);
    EXPECT_EQ(received().mid(received().size() - 2), QStringList({"/LOADNORM", "/access:off"}));
    const size_t done = ticks.size();
    platform::wait_ms(3000);
    EXPECT_EQ(ticks.size(), done) << "a tick ran after the stop";
}

TEST_F(LiveMonitorTest, RepliesToTheStopsUnawaitedCommandsNeverAnswerTheNextStart) {
    page->trace_boxes[0]->setChecked(true);
    go_live();
    run_ticks(1);
    page->offline_option->setChecked(true);
    // Straight back on: the unit's "OK"s to the stop's commands are still on their way.
    ticks.clear();
    go_live();
    EXPECT_EQ(echo_state().echo_unit_text, "m");
    run_ticks(1);
    EXPECT_EQ(echo_state().span_values, (std::array<double, 4>{6, 5, 0.3, 0}));
    EXPECT_EQ(echo_state().header.sample_count, unit().echo().sample_count());
}

TEST_F(LiveMonitorTest, AnErrorInsideATickTakesMonitoringCleanlyOffline) {
    page->trace_boxes[0]->setChecked(true);
    fail_in_tick = true;
    go_live();
    platform::wait_until([&] { return !dialogs.prompts.empty(); }, 30);
    ASSERT_EQ(dialogs.prompts.size(), 1u);
    EXPECT_TRUE(dialogs.prompts[0].text.contains("disk full") && page->offline_option->isChecked());
    EXPECT_FALSE(link().echo_online || timer.isActive());
    platform::wait_ms(3000);
    EXPECT_EQ(recorded, 1) << "the monitor kept ticking after the error";
}

// The main window's view: the link's "go offline" selects the page's "No".
struct WindowLinkView : RecordingLinkView {
    EchoPage* page = nullptr;
    void select_offline_option() override {
        RecordingLinkView::select_offline_option();
        page->offline_option->setChecked(true);
    }
};

TEST_F(LiveMonitorTest, ADeadLineTakesMonitoringOfflineAndIsToldOnce) {
    WindowLinkView window;
    window.page = page.get();
    set_link_view(&window);
    page->trace_boxes[0]->setChecked(true);
    shell().trace_interval = {1, 20, 20, 20};
    unit().echo().set_sample_count(50);
    // The line dies at a trace fetch, in the middle of the status block, or at its end; without
    // a read-out only traces are fetched, and two ticks without an answer tell of it.
    const struct {
        const char* dies_at;
        const char* status;
    } rows[] = {
        {"/ECHORAW1", "True"}, {"/p902", "True"}, {"/TEMP", "True"}, {"/ECHORAW1", "False"}};
    for (const auto& [dies_at, status] : rows) {
        SCOPED_TRACE(std::string(dies_at) + " status " + status);
        write_ini(ini, "Echo Control", "Status", status);
        sim->responder().restore_line();
        dialogs.prompts.clear();
        ticks.clear();
        go_live();
        run_ticks(1);
        const double strength = definitions_table()[902].unit_value;
        const double level = echo_state().level_value;
        sim->misbehave_on(dies_at, Misbehaviour::line_drop(), 1);
        platform::wait_until([&] { return !dialogs.prompts.empty(); }, 600);
        ASSERT_EQ(dialogs.messages().size(), 1u)
            << "the dead line was not told once: " << dialogs.messages().join(" | ").toStdString();
        EXPECT_TRUE(dialogs.messages()[0].startsWith("No reply from the unit"))
            << dialogs.messages()[0].toStdString();
        EXPECT_TRUE(page->offline_option->isChecked() && !link().echo_online && !timer.isActive())
            << "monitoring still looks live";
        EXPECT_EQ(fields(definitions_table()[902].unit_value, echo_state().level_value),
                  fields(strength, level))
            << "a failed read became a value";
        const qsizetype sent = received().size();
        platform::wait_ms(30000);
        EXPECT_EQ(dialogs.prompts.size(), 1u) << "told more than once";
        EXPECT_LE(received().size(), sent + 2) << "commands went on after the line died";
    }
    // The port gone during a trace fetch: the link tells of it, and nothing more is said.
    dialogs.prompts.clear();
    ticks.clear();
    sim->responder().restore_line();
    go_live();
    run_ticks(1);
    sim->misbehave_on("/ECHORAW1", Misbehaviour::silence());
    QTimer::singleShot(20, [this] { sim.reset(); });
    platform::wait_until([&] { return page->offline_option->isChecked(); }, 600);
    platform::wait_ms(30000);
    EXPECT_EQ(dialogs.messages(), QStringList({serial_text(95) + " COM1 " + serial_text(96)}));
    EXPECT_TRUE(page->offline_option->isChecked() && !link().echo_online && !timer.isActive());
    set_link_view(&view);
}

// The unit's lateness is on the same clock as the program's time-outs; a gentler clock leaves a
// busy machine room to take the late reply in before the link stops waiting for it.
TEST_F(LiveMonitorTest, OneLateReplyOnASoundLineKeepsMonitoringWithoutAWord) {
    platform::set_time_scale(20);
    sim->set_time_scale(20);
    write_ini(ini, "Echo Control", "Status", "True");
    page->trace_boxes[0]->setChecked(true);
    shell().trace_interval = {1, 20, 20, 20};
    unit().echo().set_sample_count(750);
    for (const char* late : {"/ECHORAW1", "/p902"}) {
        SCOPED_TRACE(late);
        unit().echo().set_level_mm(2000);
        dialogs.prompts.clear();
        ticks.clear();
        go_live();
        run_ticks(1);
        sim->misbehave_on(late, Misbehaviour::late(25000), 1);
        // Replies after the late one find the surface a metre higher: a late trace taken for a
        // later tick's would show it where it was.
        auto moved = QObject::connect(sim.get(), &unitsim::Simulator::command_received,
                                      [&](const QString& c) {
                                          if (c.compare(late, Qt::CaseInsensitive) == 0)
                                              unit().echo().set_level_mm(3000);
                                      });
        run_ticks(5);
        QObject::disconnect(moved);
        EXPECT_TRUE(dialogs.prompts.empty()) << "one late reply interrupted the user: "
                                             << dialogs.messages().join(" | ").toStdString();
        EXPECT_TRUE(page->live_option->isChecked() && link().echo_online) << "monitoring ended";
        const auto& table = definitions_table();
        EXPECT_EQ(fields(echo_state().header.window_2, echo_state().level_value,
                         table[902].unit_value, table[903].unit_value, table[904].unit_value),
                  fields(300, 3, 45, 1.2, 3.4))
            << "a late reply was shown as a later command's";
        page->offline_option->setChecked(true);
        platform::wait_ms(500);
    }
}

// Two late traces in a row are two ticks without an answer only when nothing was answered
// between them: status reads that came back show a sound line, and monitoring carries on.
TEST_F(LiveMonitorTest, LateTracesWithAnsweredReadsBetweenThemKeepMonitoring) {
    platform::set_time_scale(20);
    sim->set_time_scale(20);
    page->trace_boxes[0]->setChecked(true);
    shell().trace_interval = {1, 20, 20, 20};
    unit().echo().set_sample_count(50);
    for (const auto& [status, stays_live] : {std::pair{"True", true}, {"False", false}}) {
        SCOPED_TRACE(std::string("status read-out ") + status);
        write_ini(ini, "Echo Control", "Status", status);
        dialogs.prompts.clear();
        ticks.clear();
        go_live();
        run_ticks(1);
        sim->misbehave_on("/ECHORAW1", Misbehaviour::late(25000), 2);
        platform::wait_until([&] { return ticks.size() >= 4 || !link().echo_online; }, 600);
        EXPECT_EQ(fields(link().echo_online, dialogs.messages().size()),
                  fields(stays_live, stays_live ? 0 : 1))
            << "live echo went offline on a sound line, or kept going on a dead one: "
            << dialogs.messages().join(" | ").toStdString();
        page->offline_option->setChecked(true);
        platform::wait_ms(500);
    }
}

// A refused passcode, or a unit still being put back into its normal mode after a stop: one
// message, and monitoring stays off.
TEST_F(LiveMonitorTest, AFailedLogOnLeavesMonitoringOff) {
    for (const bool putting_back : {false, true}) {
        SCOPED_TRACE(putting_back ? "put back meanwhile" : "refused passcode");
        shell().login_passcode = putting_back ? "318406" : "000000";
        if (putting_back) {
            open_port();
            send_command("/LOADQUICK");
            sim->misbehave_on("/LOADNORM", Misbehaviour::late(20000), 1);
            link().cancel_requested = true;
            return_to_normal_mode();
            link().cancel_requested = false;
        }
        dialogs.prompts.clear();
        page->live_option->setChecked(true);
        EXPECT_EQ(fields(page->offline_option->isChecked(), link().echo_online, timer.isActive(),
                         dialogs.prompts.size()),
                  fields(true, false, false, 1));
        finish_put_back();
    }
}

} // namespace
