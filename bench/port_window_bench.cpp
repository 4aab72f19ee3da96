// The port window on a machine with a dozen serial devices (a fake device tree, as the tests use):
//  - open_ms: opening the window until its rows are listed, every port tested once (bound 300 ms);
//  - arrival_ms: from a device node appearing until its row shows in the open window (bound 1 s).

#include "bench_support.h"
#include "link/port_window.h"
#include "platform/clock.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace {

void touch(const QString& path) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
}

struct FakeMachine {
    QTemporaryDir dir;
    FakeMachine() {
        QDir(dir.path()).mkpath("dev");
        for (int i = 0; i < 6; ++i) {
            touch(dir.filePath(QStringLiteral("dev/ttyS%1").arg(i)));
            touch(dir.filePath(QStringLiteral("dev/ttyUSB%1").arg(i)));
        }
        platform::port_table_config() = {dir.filePath("general.ini"), dir.path()};
        shell().ini_path = dir.filePath("general.ini");
    }
    ~FakeMachine() { platform::port_table_config() = {}; }
};

void BM_OpenPortWindow(benchmark::State& state) {
    FakeMachine machine;
    port_window().done(0); // numbers handed out once, as on a machine that has run before
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        PortWindow& w = port_window();
        const qsizetype rows = w.rows().size();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (rows != 12)
            state.SkipWithError("not every port was listed");
        w.done(0);
    }
}
BENCHMARK(BM_OpenPortWindow)->Iterations(20)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_DeviceArrival(benchmark::State& state) {
    FakeMachine machine;
    PortWindow& w = port_window();
    int n = 0;
    for (auto _ : state) {
        const qsizetype before = w.rows().size();
        const QString node = machine.dir.filePath(QStringLiteral("dev/ttyACM%1").arg(n++));
        QElapsedTimer t;
        t.start();
        touch(node);
        const bool shown = platform::wait_until([&] { return w.rows().size() > before; }, 5);
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        if (!shown)
            state.SkipWithError("the new device did not show");
    }
    w.done(0);
}
BENCHMARK(BM_DeviceArrival)->Iterations(10)->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    return bench::run_benchmarks(argc, argv);
}
