#pragma once
// What the benchmarks share: their main function, a stopwatch, the simulated unit on a thread of
// its own (as a real unit runs beside the PC: its pacing then costs the program's thread nothing),
// the program's port opened on it, and the plainest client of the same line to compare with.

#include "link/command_link.h"
#include "link/link_view.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QSemaphore>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <chrono>
#include <functional>
#include <unitsim/simulator.h>

namespace bench {

inline constexpr int BAUD = 115200;

inline double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A level unit at BAUD; `prepare` runs on the unit's thread before the unit is handed out.
class SimulatorThread : public QThread {
public:
    std::function<void(unitsim::Simulator&)> prepare;
    unitsim::Simulator* sim = nullptr;

    unitsim::Simulator& start_unit() {
        start();
        ready_.acquire();
        return *sim;
    }
    ~SimulatorThread() override {
        quit();
        wait();
    }

protected:
    void run() override {
        unitsim::Simulator s{unitsim::UnitKind::Level};
        s.set_baud(BAUD);
        if (prepare)
            prepare(s);
        sim = &s;
        ready_.release();
        exec();
        sim = nullptr;
    }

private:
    QSemaphore ready_;
};

// The program's port 1 on the unit's line at BAUD, its link showing on `view`.
inline void open_program_port(const QTemporaryDir& dir, const QString& slave_path, LinkView& view) {
    platform::port_table_config() = {dir.filePath("general.ini"), "/"};
    platform::map_port(1, slave_path);
    shell().com_port = 1;
    shell().comm_settings = QString::number(BAUD) + ",N,8,1";
    set_link_view(&view);
    open_com_port();
}

// The same commands from a bare serial port (write, then wait for the whole line end, so that its
// LF does not end the next exchange early), with the program's port closed meanwhile. Seconds
// taken; adds the bytes exchanged to `bytes` when given.
inline double bare_line_seconds(const QString& slave_path, const QStringList& commands,
                                const QByteArray& line_end, double* bytes = nullptr) {
    MSComm1().set_port_open(false);
    QSerialPort port;
    port.setPortName(slave_path);
    port.setBaudRate(BAUD);
    if (!port.open(QIODevice::ReadWrite))
        return 0;
    QByteArray got;
    QObject::connect(&port, &QSerialPort::readyRead, [&] { got += port.readAll(); });
    const auto start = std::chrono::steady_clock::now();
    for (const QString& cmd : commands) {
        got.clear();
        port.write(cmd.toLatin1() + '\r');
        port.flush();
        while (!got.endsWith(line_end))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (bytes)
            *bytes += static_cast<double>(cmd.size() + 1 + got.size());
    }
    const double seconds = since(start);
    port.close();
    open_com_port();
    return seconds;
}

// main(): off-screen unless a platform is asked for; `after` runs before the application ends.
inline int run_benchmarks(int argc, char** argv, const std::function<void()>& after = {}) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (after)
        after();
    return 0;
}

} // namespace bench
