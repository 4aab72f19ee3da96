// The link's own cost on the wire: 980 one-by-one parameter reads and one "/sendall" against the
// simulated unit at 115200 baud without unit latency. Each benchmark reports
//  - program_ms: the exchanges through the program's link;
//  - wire_ms: the time the same bytes take on a 115200 baud line;
//  - line_ms: the same exchanges made by the plainest possible client (a serial port, a write,
//    wait for the line end) against the same simulated unit: what the simulated line itself
//    takes, with the simulator's timer resolution and the pseudo-terminal's hand-over;
//  - vs_wire = program_ms / wire_ms and vs_line = program_ms / line_ms. The link adds no delay
//    of its own when vs_line stays within 1.10.

#include "bench_support.h"
#include "link/link_state.h"
#include "link/traffic_log.h"

namespace {

using bench::BAUD;
using bench::since;

struct Bench {
    QTemporaryDir dir;
    bench::SimulatorThread thread;
    unitsim::Simulator& sim;
    RecordingLinkView view;

    Bench() : sim(thread.start_unit()) { bench::open_program_port(dir, sim.slave_path(), view); }
};

Bench& bench_unit() {
    static Bench b;
    return b;
}

double wire_seconds(double bytes) {
    return bytes * 10.0 / BAUD;
}

double bare_line_seconds(const QStringList& commands, const QByteArray& line_end) {
    return bench::bare_line_seconds(bench_unit().sim.slave_path(), commands, line_end);
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
    Bench& b = bench_unit();
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
    Bench& b = bench_unit();
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
    return bench::run_benchmarks(argc, argv, [] { MSComm1().set_port_open(false); });
}
