// The glyph editor's steps as the user feels them in a full 65,536-character font: moving to
// another character (load, then store the edited glyph), and one pencil stroke across 100
// cells of a wide glyph. The stroke also counts the cells each step asks the view to repaint
// ("cells_per_step"): the view repaints only those, so it must stay 1 whatever the glyph's size.

#include <benchmark/benchmark.h>

#include "bench_fonts.h"
#include "editor/working_glyph.h"

namespace typeloom::bench {
namespace {

void BM_MoveToAnotherCharacter(benchmark::State& state) {
    Font font = makeFullUnicodeFont();
    WorkingGlyph glyph;
    std::uint16_t u = 0;
    for (auto _ : state) {
        glyph.loadGlyph(font, u);
        glyph.pencilDown(3, 3);
        glyph.storeGlyph(font);
        u = static_cast<std::uint16_t>(u + 257);
    }
}
BENCHMARK(BM_MoveToAnotherCharacter);

void BM_PencilStrokeAcross100Cells(benchmark::State& state) {
    // One glyph 1024 pixels wide and 64 high: the widest the editor makes.
    Font font;
    font.height = 64;
    font.ascent = 50;
    font.glyphs.insert('A', Glyph('A', 1024, std::vector<std::uint8_t>(1024 * 64, 0)));
    font.codeList = {'A'};
    font.unicodeList = {'A'};
    WorkingGlyph glyph;
    glyph.loadGlyph(font, 'A');
    long long cells = 0;
    long long steps = 0;
    for (auto _ : state) {
        glyph.pencilDown(0, 10);
        for (int x = 1; x < 100; ++x) {
            const CellRect r = glyph.pencilMove(x, 10).changed;
            cells += static_cast<long long>(r.w) * r.h;
            ++steps;
        }
        benchmark::DoNotOptimize(glyph.pixels().data());
    }
    state.counters["cells_per_step"] =
        steps == 0 ? 0.0 : static_cast<double>(cells) / static_cast<double>(steps);
}
BENCHMARK(BM_PencilStrokeAcross100Cells);

}  // namespace
}  // namespace typeloom::bench
