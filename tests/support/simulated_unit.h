#pragma once
// A simulated unit on a pseudo-terminal that the settings file maps to COM1, with the program's
// link reset, a recording stand-in for the main window, scripted message boxes and both clocks
// running fast so that time-outs pass in moments. Link the test with quillarn_link and
// quillarn_unitsim.

#include "fields.h"

#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/traffic_log.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "shell/shell_state.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unitsim/simulator.h>

#include <memory>

// A message box as one line to compare: text | title | style.
inline QString box_line(const QString& text, const QString& title, int style) {
    return QString("%1 | %2 | %3").arg(text, title).arg(style);
}
inline QString box_line(const platform::ScriptedDialogs::Prompt& p) {
    return box_line(p.text, p.title, p.style);
}

class SimulatedUnitTest : public ::testing::Test {
protected:
    static constexpr double TIME_SCALE = 100; // program seconds per real second

    void SetUp() override {
        MSComm1().set_port_open(false);
        reset_shell_state();
        reset_link_state();
        reset_command_link();
        traffic().clear_all();
        ASSERT_TRUE(dir.isValid());
        ini = dir.filePath("general.ini");
        platform::port_table_config() = {ini, dir.path()};
        shell().ini_path = ini;
        shell().com_port = 1;
        shell().comm_settings = "115200,N,8,1";
        set_link_view(&view);
        platform::set_time_scale(TIME_SCALE);
        platform::end_all_waits(false);
        make_unit(unitsim::UnitKind::Level);
    }

    void TearDown() override {
        MSComm1().set_port_open(false);
        platform::pump_events();
        platform::step_with_far_end({});
        QObject::disconnect(sent_watch);
        on_program_time = false;
        sim.reset();
        set_link_view(nullptr);
        platform::set_time_scale(1);
        platform::port_table_config() = {};
    }

    // A fresh unit of `kind` on COM1.
    void make_unit(unitsim::UnitKind kind) {
        MSComm1().set_port_open(false);
        platform::step_with_far_end({});
        sim = std::make_unique<unitsim::Simulator>(kind);
        ASSERT_TRUE(sim->is_open()) << sim->error().toStdString();
        sim->set_baud(115200);
        sim->set_time_scale(TIME_SCALE);
        if (on_program_time)
            keep_unit_on_program_time();
        ASSERT_TRUE(platform::map_port(1, sim->slave_path()));
    }

    // The unit runs on the program's clock, which passes only while the program waits and
    // never past the unit's next reply, nor while a command or a reply is on its way: lateness,
    // pacing and time-outs relate as on a real line however busy the machine is. For tests
    // that judge them closely; later units of the test keep it.
    void keep_unit_on_program_time() {
        on_program_time = true;
        unitsim::Simulator* unit = sim.get();
        unit->set_clock([] { return platform::seconds() * 1000; });
        // A command the program sends is on its way until the unit has read something more.
        QObject::disconnect(sent_watch);
        heard_when_sent = -1;
        sent_watch = QObject::connect(&traffic().modem(), &TrafficView::appended,
                                      [this, unit](const QString&, bool sent) {
                                          if (sent && MSComm1().port_open())
                                              heard_when_sent = unit->bytes_heard();
                                      });
        platform::step_with_far_end([this, unit](double now) {
            if (heard_when_sent >= 0 && unit->bytes_heard() != heard_when_sent)
                heard_when_sent = -1;
            platform::SerialPort& port = MSComm1();
            const bool on_the_line =
                heard_when_sent >= 0 || unit->bytes_to_unit() > 0 ||
                (port.port_open() && (unit->bytes_from_unit() > 0 || port.in_buffer_count() > 0));
            // A hair past the planned time, so that the unit finds it due after the round trip
            // through seconds.
            return on_the_line ? now : unit->next_write_ms() / 1000 + 1e-6;
        });
    }

    // Opens COM1 the way the program does, expecting success.
    void open_port() {
        open_com_port();
        ASSERT_FALSE(link().port_open_failed) << "the program could not open the simulated unit";
    }

    QStringList received() const { return sim->received(); }

    QTemporaryDir dir;
    QString ini;
    RecordingLinkView view;
    platform::ScopedScriptedDialogs dialogs;
    std::unique_ptr<unitsim::Simulator> sim;
    bool on_program_time = false;
    QMetaObject::Connection sent_watch;
    qint64 heard_when_sent = -1; // what the unit had read when the program last sent
};
