// Verify, render and subset on a font of 57,000 inked 16 x 16 characters: the check of a
// table-based C export, a preview of 1,000 characters, and a subset by a 10,000-character
// text.

#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench_fonts.h"
#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "coverage/font_coverage.h"
#include "export/export_driver.h"
#include "preview/text_preview.h"
#include "verify/verify_export.h"

namespace typeloom::bench {
namespace {

constexpr int kGlyphs = 57000;
constexpr std::uint16_t kFirstCode = 0x20;

// Codes 0x20 .. 0x20 + 56,999, 16 x 16, with a diagonal pattern of ink.
const Font& font57000() {
    static const Font font = [] {
        Font f;
        f.createFromScratch(kFirstCode, static_cast<std::uint16_t>(kFirstCode + kGlyphs - 1), 16,
                            16, "Bench");
        f.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
            for (std::size_t i = 0; i < g.pixels.size(); ++i) {
                g.pixels[i] = ((i + key) % 3 == 0) ? 1 : 0;
            }
        });
        return f;
    }();
    return font;
}

// A text of `n` characters of the font, spread over its range.
std::u32string textOf(int n) {
    std::u32string text;
    for (int i = 0; i < n; ++i) {
        text += static_cast<char32_t>(kFirstCode + (i * 7919) % kGlyphs);
    }
    return text;
}

void BM_VerifyTableC57000(benchmark::State& state) {
    const Font& font = font57000();
    MemorySettingsStore settings;
    exporters::ExportRequest request;
    request.format = exporters::ExportFormat::TableC;
    request.path = scratchProjectPath() + ".c";
    request.now = 1;
    CancelFlag cancel;
    NullProgressSink progress;
    if (!exporters::runExport(font, settings, request, cancel, progress).ok()) {
        state.SkipWithError("export failed");
        return;
    }
    verify::DecodeOptions options;
    options.dataWord = font.dataFormat;
    for (auto _ : state) {
        const verify::VerifyReport report =
            verify::verifyExport(font, request.path, verify::Layout::TableC, options);
        if (!report.ok) {
            state.SkipWithError("verify failed");
            break;
        }
    }
    std::remove(request.path.c_str());
}
BENCHMARK(BM_VerifyTableC57000)->Unit(benchmark::kMillisecond);

void BM_Render1000Characters(benchmark::State& state) {
    const Font& font = font57000();
    const std::u32string text = textOf(1000);
    for (auto _ : state) {
        preview::EncodedPictures pictures(font);
        benchmark::DoNotOptimize(preview::renderText(text, pictures, {2, 0}));
    }
}
BENCHMARK(BM_Render1000Characters)->Unit(benchmark::kMillisecond);

void BM_Subset57000By10000Characters(benchmark::State& state) {
    const std::u32string text = textOf(10000);
    const std::vector<char32_t> used(text.begin(), text.end());
    for (auto _ : state) {
        state.PauseTiming();
        Font font = font57000();
        state.ResumeTiming();
        benchmark::DoNotOptimize(coverage::keepOnly(font, used));
    }
}
BENCHMARK(BM_Subset57000By10000Characters)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
