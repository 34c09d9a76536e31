// Building an encoding 1 (Unicode) character table of 65,536 codes, the table every Unicode
// font starts from: from a new font's code lists, and from a system font's supported set.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "bench_fonts.h"
#include "charset/character_table.h"
#include "charset/dbcs_tables.h"
#include "charset/encodings.h"

namespace typeloom::bench {
namespace {

std::vector<std::uint16_t> allCodes() {
    std::vector<std::uint16_t> codes(kFullCount);
    for (std::size_t c = 0; c < kFullCount; ++c) {
        codes[c] = static_cast<std::uint16_t>(c);
    }
    return codes;
}

void BM_BuildUnicodeTable(benchmark::State& state) {
    const std::vector<std::uint16_t> codes = allCodes();
    for (auto _ : state) {
        auto table = std::make_unique<CharacterTable>();
        table->buildFromCodeLists(codes, codes, kEncodingUnicode);
        benchmark::DoNotOptimize(table->codeOrder.data());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildUnicodeTable)->Unit(benchmark::kMillisecond);

void BM_BuildUnicodeTableFromSystemFont(benchmark::State& state) {
    const std::vector<std::uint16_t> supported = allCodes();
    for (auto _ : state) {
        auto table = std::make_unique<CharacterTable>();
        table->buildFromSystemFont(supported, 0, kEncodingUnicode, DbcsTables::program());
        benchmark::DoNotOptimize(table->codeOrder.data());
        state.PauseTiming();
        table.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BuildUnicodeTableFromSystemFont)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
