// The recovery copy of a 65,536-character font (16 x 16 pixels each). The snapshot is what
// the editor's thread pays before the copy is written on a worker (goal: under one frame,
// 16 ms); the layout is the worker's share. A plain copy of the font is timed beside the
// snapshot for comparison.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_fonts.h"
#include "model/font_snapshot.h"

namespace typeloom::bench {
namespace {

void BM_RecoverySnapshot65536(benchmark::State& state) {
    const Font& font = fullUnicodeFont();
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto snapshot = std::make_unique<FontSnapshot>(font);
        benchmark::DoNotOptimize(snapshot->glyphCount());
        bytes = snapshot->bytes();
        // The worker frees the snapshot, not the editor.
        state.PauseTiming();
        snapshot.reset();
        state.ResumeTiming();
    }
    state.counters["snapshot_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_RecoverySnapshot65536)->Unit(benchmark::kMillisecond);

void BM_FontCopy65536(benchmark::State& state) {
    const Font& font = fullUnicodeFont();
    for (auto _ : state) {
        auto copy = std::make_unique<Font>(font);
        benchmark::DoNotOptimize(copy->count());
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FontCopy65536)->Unit(benchmark::kMillisecond);

// The worker's share: the project layout rebuilt from the snapshot.
void BM_RecoveryLayout65536(benchmark::State& state) {
    const Font& font = fullUnicodeFont();
    for (auto _ : state) {
        state.PauseTiming();
        FontSnapshot snapshot(font);
        state.ResumeTiming();
        std::vector<std::uint8_t> bytes = snapshot.takeProjectBytes();
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_RecoveryLayout65536)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
