// Imports and Windows font writing, beside FreeType's own readers of the same files.
//
// The unifont BDF is made from Debian's xfonts-unifont PCF with pcf2bdf when the benchmark
// starts (about 57,000 glyphs, 9 MB); the .fon is one of fonts-wine's.

#include <benchmark/benchmark.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench_fonts.h"
#include "interchange/font_import.h"
#include "interchange/winfont_writer.h"
#include "model/font.h"

namespace typeloom::bench {
namespace {

const char* kWineFon = "/usr/share/wine/fonts/coure.fon";

void BM_ImportUnifontBdf(benchmark::State& state) {
    const std::string& path = unifontBdf();
    if (path.empty()) {
        state.SkipWithError("xfonts-unifont and pcf2bdf are needed");
        return;
    }
    std::size_t glyphs = 0;
    for (auto _ : state) {
        Font font;
        ImportOutcome outcome = importFontResource(path, font);
        if (!outcome.ok()) {
            state.SkipWithError("import failed");
            return;
        }
        glyphs = font.glyphs.size();
    }
    state.counters["glyphs"] = static_cast<double>(glyphs);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MiB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ImportUnifontBdf)->Unit(benchmark::kMillisecond);

// FreeType's BDF driver on the same file: open the face and load every glyph's bitmap.
void BM_FreeTypeLoadsUnifontBdf(benchmark::State& state) {
    const std::string& path = unifontBdf();
    if (path.empty()) {
        state.SkipWithError("xfonts-unifont and pcf2bdf are needed");
        return;
    }
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    long glyphs = 0;
    for (auto _ : state) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, path.c_str(), 0, &face) != 0) {
            state.SkipWithError("FreeType cannot open the file");
            break;
        }
        glyphs = face->num_glyphs;
        for (long i = 0; i < face->num_glyphs; ++i) {
            FT_Load_Glyph(face, static_cast<FT_UInt>(i), FT_LOAD_DEFAULT);
            benchmark::DoNotOptimize(face->glyph->bitmap.buffer);
        }
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
    state.counters["glyphs"] = static_cast<double>(glyphs);
}
BENCHMARK(BM_FreeTypeLoadsUnifontBdf)->Unit(benchmark::kMillisecond);

void BM_ImportFon(benchmark::State& state) {
    if (!std::filesystem::exists(kWineFon)) {
        state.SkipWithError("fonts-wine is needed");
        return;
    }
    for (auto _ : state) {
        Font font;
        benchmark::DoNotOptimize(importFontResource(kWineFon, font).ok());
    }
}
BENCHMARK(BM_ImportFon)->Unit(benchmark::kMicrosecond);

// A 224-character font (codes 32..255) of 8 x 16 glyphs written as a .fon library.
void BM_WriteFon224(benchmark::State& state) {
    Font font;
    font.setEncoding(0);
    font.createFromScratch(32, 255, 8, 16, "Bench");
    font.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
        for (std::size_t i = 0; i < g.pixels.size(); ++i) {
            g.pixels[i] = ((i + key) % 5 == 0) ? 1 : 0;
        }
    });
    const std::string path = scratchProjectPath() + ".fon";
    for (auto _ : state) {
        FontWriteResult r = writeFon(font, path);
        if (!r.ok) {
            state.SkipWithError(r.message.c_str());
            break;
        }
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_WriteFon224)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace typeloom::bench
