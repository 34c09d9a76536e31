// The Font menu transformations on a full 65,536-character 16 x 16 font. Every character
// carries some ink inside blank margins, so trimming, centring and scaling have work to do.
// Operations that change the font's size start each iteration from a fresh copy (copying is
// not timed); mirrors and inversion run on the same font over and over.

#include <benchmark/benchmark.h>

#include <memory>

#include "bench_fonts.h"
#include "model/transforms.h"

namespace typeloom::bench {
namespace {

// Ink at every pixel where (3x + 5y + u) % 7 is 0, inside columns 2 .. width - 3.
void inkGlyph(Glyph& glyph, std::uint16_t u, std::uint16_t height) {
    for (std::size_t y = 0; y < height; ++y) {
        for (std::size_t x = 2; x + 2 < glyph.width; ++x) {
            glyph.pixels[x + y * glyph.width] = (3 * x + 5 * y + u) % 7 == 0 ? 1 : 0;
        }
    }
}

// The full font, fixed width 16, with ink.
const Font& fixedFont() {
    static const Font font = [] {
        Font f = makeFullUnicodeFont();
        f.glyphs.forEachMutable([&](std::uint16_t u, Glyph& g) { inkGlyph(g, u, f.height); });
        return f;
    }();
    return font;
}

// The full font with widths 8..16 varying by character, with ink.
const Font& variableFont() {
    static const Font font = [] {
        Font f = makeFullUnicodeFont();
        f.glyphs.forEachMutable([&](std::uint16_t u, Glyph& g) {
            g.init(u, static_cast<std::uint16_t>(8 + u % 9), f.height);
            inkGlyph(g, u, f.height);
        });
        f.updateFixedWidth();
        f.updateMaxWidth();
        return f;
    }();
    return font;
}

// Runs `op` on a fresh copy of `source` in every iteration; only `op` is timed.
template <typename Op>
void onFreshCopy(benchmark::State& state, const Font& source, Op op) {
    for (auto _ : state) {
        state.PauseTiming();
        auto font = std::make_unique<Font>(source);
        state.ResumeTiming();
        op(*font);
        benchmark::DoNotOptimize(font->height);
        state.PauseTiming();
        font.reset();
        state.ResumeTiming();
    }
}

// Runs `op` over and over on one copy of `source`.
template <typename Op>
void onSameFont(benchmark::State& state, const Font& source, Op op) {
    Font font = source;
    for (auto _ : state) {
        op(font);
        benchmark::DoNotOptimize(font.height);
    }
}

void BM_ChangeRowsIncrease(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { changeRows(f, false, 2, 1); });
}
BENCHMARK(BM_ChangeRowsIncrease)->Unit(benchmark::kMillisecond);

void BM_ChangeRowsReduce(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { changeRows(f, true, 2, 1); });
}
BENCHMARK(BM_ChangeRowsReduce)->Unit(benchmark::kMillisecond);

void BM_ChangeColumnsIncrease(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { changeColumns(f, false, 1, 2); });
}
BENCHMARK(BM_ChangeColumnsIncrease)->Unit(benchmark::kMillisecond);

void BM_ChangeColumnsReduce(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { changeColumns(f, true, 1, 2); });
}
BENCHMARK(BM_ChangeColumnsReduce)->Unit(benchmark::kMillisecond);

void BM_ResizeHalf(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { resize(f, 50, 50, true); });
}
BENCHMARK(BM_ResizeHalf)->Unit(benchmark::kMillisecond);

void BM_ResizeDouble(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { resize(f, 200, 200, true); });
}
BENCHMARK(BM_ResizeDouble)->Unit(benchmark::kMillisecond);

void BM_ResizePixels24x12(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { resize(f, 24, 12, false); });
}
BENCHMARK(BM_ResizePixels24x12)->Unit(benchmark::kMillisecond);

void BM_MakeFixedWidth(benchmark::State& state) {
    onFreshCopy(state, variableFont(), [](Font& f) { makeFixedWidth(f); });
}
BENCHMARK(BM_MakeFixedWidth)->Unit(benchmark::kMillisecond);

void BM_TrimAll(benchmark::State& state) {
    onFreshCopy(state, variableFont(), [](Font& f) { trimAll(f); });
}
BENCHMARK(BM_TrimAll)->Unit(benchmark::kMillisecond);

void BM_CenterAll(benchmark::State& state) {
    onFreshCopy(state, fixedFont(), [](Font& f) { centerAll(f); });
}
BENCHMARK(BM_CenterAll)->Unit(benchmark::kMillisecond);

void BM_MirrorHorizontal(benchmark::State& state) {
    onSameFont(state, fixedFont(), [](Font& f) { mirrorHorizontal(f); });
}
BENCHMARK(BM_MirrorHorizontal)->Unit(benchmark::kMillisecond);

void BM_MirrorVertical(benchmark::State& state) {
    onSameFont(state, fixedFont(), [](Font& f) { mirrorVertical(f); });
}
BENCHMARK(BM_MirrorVertical)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    onSameFont(state, fixedFont(), [](Font& f) { invert(f); });
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
