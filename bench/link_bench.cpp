// The link's own cost on the wire: 980 one-by-one parameter reads and one "/sendall" against the
// simulated unit at 115200 baud without unit latency. Each benchmark reports
//  - program_ms: the exchanges through the program's link;
//  - wire_ms: the time the same bytes take on a 115200 baud line;
//  - line_ms: the same exchanges made by the plainest possible client (a serial port, a write,
//    wait for the line end) against the same simulated unit: what the simulated line itself
//    takes, with the simulator's timer resolution and the pseudo-terminal's hand-over;
//  - vs_wire = program_ms / wire_ms and vs_line = program_ms / line_ms. The link adds no delay
//    of its own when vs_line stays within 1.10.

#include "link/command_link.h"
#include "link/link_state.h"
#include "link/link_view.h"
#include "link/traffic_log.h"
#include "platform/port_table.h"
#include "platform/serial_port.h"
#include "shell/shell_state.h"

#include <QApplication>
#include <QSemaphore>
#include <QSerialPort>
#include <QThread>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <unitsim/simulator.h>

namespace {

constexpr int BAUD = 115200;

// The simulated unit runs on a thread of its own, as a real unit runs beside the PC: its pacing
// then costs the program's thread nothing, and what is measured is the program's side alone.
class SimulatorThread : public QThread {
public:
    unitsim::Simulator* sim = nullptr;
    QSemaphore ready;

protected:
    void run() override {
        unitsim::Simulator s{unitsim::UnitKind::Level};
        s.set_baud(BAUD);
        sim = &s;
        ready.release();
        exec();
        sim = nullptr;
    }
};

struct Bench {
    QTemporaryDir dir;
    SimulatorThread thread;
    unitsim::Simulator& sim;
    RecordingLinkView view;

    static unitsim::Simulator& start(SimulatorThread& t) {
        t.start();
        t.ready.acquire();
        return *t.sim;
    }

    ~Bench() {
        thread.quit();
        thread.wait();
    }

    Bench() : sim(start(thread)) {
        platform::port_table_config() = {dir.filePath("general.ini"), "/"};
        platform::map_port(1, sim.slave_path());
        shell().com_port = 1;
        shell().comm_settings = QString::number(BAUD) + ",N,8,1";
        set_link_view(&view);
        open_com_port();
    }
};

Bench& bench() {
    static Bench b;
    return b;
}

double wire_seconds(double bytes) {
    return bytes * 10.0 / BAUD;
}

double since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The same commands from a bare serial port: write, then wait for the line end. Seconds taken.
double bare_line_seconds(const QStringList& commands, const QByteArray& line_end) {
    MSComm1().set_port_open(false);
    QSerialPort port;
    port.setPortName(bench().sim.slave_path());
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
        // Wait for the whole line end, so that its LF does not end the next exchange early.
        while (!got.endsWith(line_end))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const double seconds = since(start);
    port.close();
    open_com_port();
    return seconds;
}

void report(benchmark::State& state, double bytes, double program_seconds, double line_seconds) {
    const double iterations = static_cast<double>(state.iterations());
    state.counters["program_ms"] = program_seconds / iterations * 1000.0;
    state.counters["wire_ms"] = wire_seconds(bytes) / iterations * 1000.0;
    state.counters["line_ms"] = line_seconds / iterations * 1000.0;
    state.counters["vs_wire"] = program_seconds / wire_seconds(bytes);
    state.counters["vs_line"] = line_seconds > 0 ? program_seconds / line_seconds : 0;
    state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_ParameterSweep(benchmark::State& state) {
    Bench& b = bench();
    if (link().port_open_failed) {
        state.SkipWithError("the simulated unit's port could not be opened");
        return;
    }
    const QByteArray line_end = b.sim.responder().line_end();
    QStringList commands;
    for (int p = 20; p <= 999; ++p)
        commands << QStringLiteral("/p") + QString::number(p);
    double bytes = 0;
    double seconds = 0;
    double line = 0;
    for (auto _ : state) {
        state.PauseTiming();
        line += bare_line_seconds(commands, line_end);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        link().parameter_sweep = true;
        for (const QString& cmd : commands) {
            send_command(cmd, cmd);
            if (link().comms_abort) {
                state.SkipWithError("a parameter read failed");
                return;
            }
            bytes += cmd.size() + 1 + link().reply_buffer.size() + line_end.size();
        }
        link().parameter_sweep = false;
        seconds += since(start);
    }
    report(state, bytes, seconds, line);
}
BENCHMARK(BM_ParameterSweep)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SendAll(benchmark::State& state) {
    Bench& b = bench();
    const QByteArray line_end = b.sim.responder().line_end();
    double bytes = 0;
    double seconds = 0;
    double line = 0;
    for (auto _ : state) {
        state.PauseTiming();
        line += bare_line_seconds({QStringLiteral("/sendall")}, line_end);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        link().chunk_progress = true;
        send_command(QStringLiteral("/sendall"));
        link().chunk_progress = false;
        if (link().comms_abort) {
            state.SkipWithError("/sendall failed");
            return;
        }
        seconds += since(start);
        bytes += 9 + link().reply_buffer.size() + line_end.size();
    }
    report(state, bytes, seconds, line);
}
BENCHMARK(BM_SendAll)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    MSComm1().set_port_open(false);
    return 0;
}
