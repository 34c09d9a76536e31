// Rasterising whole system fonts at 16 pixels per em: every supported character of DejaVu Sans
// (about 6,000) and of Unifont's OpenType file (about 57,000), through createFromSystemFont on
// one and on two threads, beside a plain single-threaded FreeType loop that renders the same
// characters in 1 bit and does nothing else. The counter "x_plain" is the font build's time
// over the plain loop's: what the font model, the cells and the character table cost on top of
// FreeType itself (below 1 when the threads win that back).

#include <ft2build.h>
#include FT_FREETYPE_H
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "charset/character_table.h"
#include "charset/dbcs_tables.h"
#include "charset/encodings.h"
#include "common/progress_sink.h"
#include "model/font.h"
#include "model/freetype_renderer.h"

namespace typeloom::bench {
namespace {

const char* const kFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/opentype/unifont/unifont.otf",
};
constexpr int kPixelsPerEm = 16;

LogFont description() {
    LogFont font;
    font.faceName = "bench";
    font.height = -kPixelsPerEm;
    return font;
}

// The values a font built from the file renders.
std::vector<std::uint16_t> supportedValues(const std::string& file) {
    FreeTypeRenderer renderer(description(), file, 0);
    const auto ranges = renderer.unicodeRanges();
    return CharacterTable::supportedSetOf(true, ranges, renderer.metrics().charSet);
}

// Seconds the plain loop takes over the values, best of three runs.
double plainLoopSeconds(const std::string& file, const std::vector<std::uint16_t>& values) {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        return 0;
    }
    FT_Set_Pixel_Sizes(face, 0, kPixelsPerEm);
    double best = 0;
    for (int run = 0; run < 3; ++run) {
        const auto start = std::chrono::steady_clock::now();
        unsigned long ink = 0;
        for (std::uint16_t u : values) {
            if (FT_Load_Char(face, u, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) == 0) {
                ink += face->glyph->bitmap.rows;
            }
        }
        benchmark::DoNotOptimize(ink);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        best = run == 0 ? seconds : std::min(best, seconds);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return best;
}

void BM_PlainFreeTypeMonoLoop(benchmark::State& state) {
    const std::string file = kFiles[state.range(0)];
    const std::vector<std::uint16_t> values = supportedValues(file);
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&library) != 0 || FT_New_Face(library, file.c_str(), 0, &face) != 0) {
        state.SkipWithError(("cannot open " + file + " (scripts/deps.sh test)").c_str());
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, kPixelsPerEm);
    for (auto _ : state) {
        unsigned long ink = 0;
        for (std::uint16_t u : values) {
            if (FT_Load_Char(face, u, FT_LOAD_TARGET_MONO | FT_LOAD_RENDER) == 0) {
                ink += face->glyph->bitmap.rows;
            }
        }
        benchmark::DoNotOptimize(ink);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
    state.SetLabel(file);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
}
BENCHMARK(BM_PlainFreeTypeMonoLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: the font file, the number of threads.
void BM_CreateFromSystemFont(benchmark::State& state) {
    const std::string file = kFiles[state.range(0)];
    const auto threads = static_cast<unsigned>(state.range(1));
    const std::vector<std::uint16_t> values = supportedValues(file);
    const double plain = plainLoopSeconds(file, values);
    if (plain <= 0) {
        state.SkipWithError(("cannot open " + file + " (scripts/deps.sh test)").c_str());
        return;
    }
    setRendererFactory(
        [file](const LogFont& font) { return std::make_shared<FreeTypeRenderer>(font, file, 0); });
    NullProgressSink progress;
    double total = 0;
    for (auto _ : state) {
        auto font = std::make_unique<Font>();
        font->setEncoding(kEncodingUnicode);
        const auto start = std::chrono::steady_clock::now();
        font->createFromSystemFont(description(), DbcsTables::program(), progress, threads);
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(font->glyphs.size());
        // Freeing the font is not part of making it.
        state.PauseTiming();
        font.reset();
        state.ResumeTiming();
    }
    setRendererFactory([](const LogFont& font) { return std::make_shared<BlankRenderer>(font); });
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(values.size()));
    state.counters["x_plain"] = total / static_cast<double>(state.iterations()) / plain;
    state.SetLabel(file);
}
BENCHMARK(BM_CreateFromSystemFont)
    ->Args({0, 1})
    ->Args({0, 2})
    ->Args({1, 1})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
