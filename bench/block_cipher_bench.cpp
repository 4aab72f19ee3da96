// Block cipher speed: the key schedule, and enciphering and deciphering 64 KiB in memory.
#include "reports/block_cipher.h"

#include <benchmark/benchmark.h>

namespace {

void key_schedule(benchmark::State& state) {
    clsBlowfish bf;
    for (auto _ : state) {
        bf.sInitBF(QByteArray("a sixteen byte k"));
        benchmark::DoNotOptimize(bf.initialised());
    }
}
BENCHMARK(key_schedule);

void encipher(benchmark::State& state) {
    clsBlowfish bf;
    bf.sInitBF(QByteArray("key"));
    const QByteArray plain(64 * 1024, 'x');
    QByteArray out(plain.size(), '\0');
    for (auto _ : state) {
        bf.sEncrypt(plain, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * plain.size());
}
BENCHMARK(encipher);

void decipher_stored(benchmark::State& state) {
    clsBlowfish bf;
    bf.sInitBF(QByteArray("key"));
    const QByteArray stored = bf.encrypt_stored(QByteArray(64 * 1024, 'x'));
    for (auto _ : state)
        benchmark::DoNotOptimize(bf.decrypt_stored(stored));
    state.SetBytesProcessed(state.iterations() * (stored.size() - 4));
}
BENCHMARK(decipher_stored);

} // namespace

BENCHMARK_MAIN();
