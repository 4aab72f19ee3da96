// Reading settings from a pathological general.ini: one line of 50 MB among the keys, as a damaged
// or hand-edited file may hold. The program reads its settings key by key after log-in; each read
// must not parse the whole file again while it is unchanged.
//  - BM_ReadKeysOfAHugeFile: 60 key reads of the unchanged file (ms per 60 reads);
//  - BM_ParseTheHugeFileOnce: the one parse a changed file costs.

#include "platform/profile.h"

#include <QFile>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct HugeFile {
    QTemporaryDir dir;
    QString path = dir.filePath("general.ini");
    HugeFile() {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("[General]\r\nLanguage=1\r\nPort=3\r\nNotes=");
        f.write(QByteArray(50 * 1024 * 1024, 'x'));
        f.write("\r\nBaudrate=19200\r\n[Echo Control]\r\nLight On=1\r\n");
        f.close();
        // Written a minute ago: a file changed within the last seconds is parsed on every read.
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime);
    }
};

HugeFile& huge() {
    static HugeFile f;
    return f;
}

void BM_ReadKeysOfAHugeFile(benchmark::State& state) {
    const QString path = huge().path;
    platform::read_profile_string(path, "General", "Port"); // the one parse
    for (auto _ : state)
        for (int i = 0; i < 60; ++i)
            benchmark::DoNotOptimize(platform::read_profile_string(
                path, i % 2 ? "General" : "Echo Control", i % 2 ? "Baudrate" : "Light On"));
    state.counters["parses"] = platform::profile_parse_count();
}
BENCHMARK(BM_ReadKeysOfAHugeFile)->Unit(benchmark::kMillisecond);

void BM_ParseTheHugeFileOnce(benchmark::State& state) {
    const QString path = huge().path;
    for (auto _ : state) {
        // Touching the file (a new modification time) makes the next read parse it again.
        state.PauseTiming();
        QFile f(path);
        f.open(QIODevice::ReadWrite);
        f.setFileTime(QDateTime::currentDateTime().addSecs(-30 - state.iterations()),
                      QFileDevice::FileModificationTime);
        f.close();
        state.ResumeTiming();
        benchmark::DoNotOptimize(platform::read_profile_string(path, "General", "Port"));
    }
}
BENCHMARK(BM_ParseTheHugeFileOnce)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
