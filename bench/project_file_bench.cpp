// Saving and opening a project of 65,536 characters (16 x 16 pixels each), the largest font
// the editor holds. Save and Load go through the disk as the program does (Save writes a
// temporary file, flushes it and renames it); Serialize and Parse time the encoding and the
// decoding alone, in memory, so that the cost of the disk can be told apart.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "bench_fonts.h"
#include "common/file_error.h"
#include "common/progress_sink.h"
#include "model/project_file.h"

namespace typeloom::bench {
namespace {

void BM_SerializeProject65536(benchmark::State& state) {
    const Font& font = fullUnicodeFont();
    std::size_t size = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t> bytes = projectBytes(font);
        size = bytes.size();
        benchmark::DoNotOptimize(bytes.data());
    }
    state.counters["file_bytes"] = static_cast<double>(size);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_SerializeProject65536)->Unit(benchmark::kMillisecond);

void BM_SaveProject65536(benchmark::State& state) {
    const Font& font = fullUnicodeFont();
    const std::string& path = scratchProjectPath();
    for (auto _ : state) {
        try {
            saveProject(path, font);
        } catch (const FileError& e) {
            state.SkipWithError(e.what());
            break;
        }
    }
}
BENCHMARK(BM_SaveProject65536)->Unit(benchmark::kMillisecond);

void BM_ParseProject65536(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = projectBytes(fullUnicodeFont());
    NullProgressSink progress;
    for (auto _ : state) {
        Font font;
        readProject(bytes, font, progress);
        benchmark::DoNotOptimize(font.count());
        // The parsed font is freed outside the timing: opening a file does not pay for it.
        state.PauseTiming();
        font = Font();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ParseProject65536)->Unit(benchmark::kMillisecond);

void BM_LoadProject65536(benchmark::State& state) {
    const std::string& path = scratchProjectPath();
    try {
        saveProject(path, fullUnicodeFont());
    } catch (const FileError& e) {
        state.SkipWithError(e.what());
        return;
    }
    NullProgressSink progress;
    Font font;
    for (auto _ : state) {
        // Opening replaces the font being edited, which is freed as part of the load.
        ProjectLoadResult result = loadProject(path, font, progress);
        if (!result.ok()) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        benchmark::DoNotOptimize(font.count());
    }
    if (font.count() != static_cast<int>(kFullCount)) {
        state.SkipWithError("the loaded font does not hold 65,536 characters");
    }
}
BENCHMARK(BM_LoadProject65536)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
