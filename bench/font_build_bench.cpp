// Building and re-building whole fonts of 65,536 characters: New Font from scratch, and
// committing the characters table dialog's edits (which rebuilds the character lists).

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_fonts.h"
#include "charset/encodings.h"

namespace typeloom::bench {
namespace {

void BM_CreateFromScratch65536(benchmark::State& state) {
    for (auto _ : state) {
        auto font = std::make_unique<Font>();
        font->setEncoding(kEncodingUnicode);
        font->createFromScratch(kFirst, kLast, 16, 16, "x");
        benchmark::DoNotOptimize(font->count());
        // Freeing the font is not part of making it.
        state.PauseTiming();
        font.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateFromScratch65536)->Unit(benchmark::kMillisecond);

// One OK of the characters table dialog after a single cell was clicked: the edit alternates
// between disabling and re-enabling the same code, so every commit has a change to apply and
// the font keeps its size.
void BM_CommitTable65536(benchmark::State& state) {
    Font font = makeFullUnicodeFont();
    constexpr std::uint16_t kClicked = 'A';
    for (auto _ : state) {
        state.PauseTiming();
        font.charTable.beginEditing();
        font.charTable.toggleCode(kClicked);
        state.ResumeTiming();
        if (!font.commitCharacterTable(0)) {
            state.SkipWithError("the edited table was not committed");
            break;
        }
        benchmark::DoNotOptimize(font.count());
    }
}
BENCHMARK(BM_CommitTable65536)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
