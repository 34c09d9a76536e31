// The undo history: undo and redo of a font-wide command on the full 65,536-character font
// (goal: under 50 ms each), recording one stroke step of a 16 x 16 glyph (goal: under 1 ms),
// and the memory 1,000 such strokes keep (goal: under 1 MiB, the "history_bytes" counter).

#include <benchmark/benchmark.h>

#include "bench_fonts.h"
#include "model/font_history.h"
#include "model/transforms.h"

namespace typeloom::bench {
namespace {

// One undo and one redo of Mirror All on 65,536 glyphs (the time is for the pair).
void BM_HistoryUndoRedoFontWide(benchmark::State& state) {
    Font font = makeFullUnicodeFont();
    // Ink in every glyph, so the mirror changes each one.
    font.glyphs.forEachMutable([](std::uint16_t, Glyph& g) { g.pixels[0] = 1; });
    FontHistory history;
    FontHistory::Snapshot before(font);
    mirrorHorizontal(font);
    history.recordFontChange("Mirror All", std::move(before), font);
    for (auto _ : state) {
        history.undo(font);
        history.redo(font);
        benchmark::DoNotOptimize(font.glyphs.size());
    }
    state.counters["history_bytes"] = static_cast<double>(history.bytes());
}
BENCHMARK(BM_HistoryUndoRedoFontWide)->Unit(benchmark::kMillisecond);

// Recording a font-wide step: the snapshot taken before the command and the comparison after.
void BM_HistoryRecordFontWide(benchmark::State& state) {
    Font font = makeFullUnicodeFont();
    font.glyphs.forEachMutable([](std::uint16_t, Glyph& g) { g.pixels[0] = 1; });
    FontHistory history;
    for (auto _ : state) {
        FontHistory::Snapshot before(font);
        mirrorHorizontal(font);
        history.recordFontChange("Mirror All", std::move(before), font);
    }
}
BENCHMARK(BM_HistoryRecordFontWide)->Unit(benchmark::kMillisecond);

// A stroke of a 16 x 16 glyph: its content before and after handed to the history, 1,000
// times over; the counter is the memory the 1,000 steps keep.
void BM_HistoryStrokeSteps(benchmark::State& state) {
    constexpr int kStrokes = 1000;
    std::size_t bytes = 0;
    for (auto _ : state) {
        FontHistory history;
        GlyphContent content{16, std::vector<std::uint8_t>(256, 0)};
        for (int i = 0; i < kStrokes; ++i) {
            GlyphContent after = content;
            after.pixels[static_cast<std::size_t>(i % 256)] ^= 1;
            history.recordGlyphEdit("Pencil", 0x41, content, after);
            content = std::move(after);
        }
        bytes = history.bytes();
        benchmark::DoNotOptimize(bytes);
    }
    state.SetItemsProcessed(state.iterations() * kStrokes);
    state.counters["history_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_HistoryStrokeSteps)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
