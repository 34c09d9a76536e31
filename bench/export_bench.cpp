// Encoding of a full 65,536-character font of 16 x 16 glyphs, export of the 65,535 of them the
// table-based layout holds, and the table-based C export of unifont imported from its BDF
// (about 57,000 characters, 43 MB of text).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

#include "bench_fonts.h"
#include "charset/encodings.h"
#include "common/cancel_flag.h"
#include "common/progress_sink.h"
#include "common/settings_store.h"
#include "export/bitmap_encoder.h"
#include "export/data_format.h"
#include "export/export_driver.h"
#include "interchange/font_import.h"

namespace typeloom::bench {
namespace {

// The full font with ink in every glyph (a diagonal pattern), so the encoder does real work.
const Font& inkedFont() {
    static const Font font = [] {
        Font f = makeFullUnicodeFont();
        f.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
            for (std::size_t i = 0; i < g.pixels.size(); ++i) {
                g.pixels[i] = ((i + key) % 3 == 0) ? 1 : 0;
            }
        });
        return f;
    }();
    return font;
}

void BM_EncodeAll65536(benchmark::State& state) {
    Font font = inkedFont();
    font.dataFormat = exporters::withUnitBits(
        (font.dataFormat & ~exporters::kTraversalMask) | static_cast<std::uint32_t>(state.range(0)),
        8);
    CancelFlag cancel;
    NullProgressSink progress;
    for (auto _ : state) {
        exporters::BitmapEncoder encoder(font);
        std::vector<std::uint32_t> offsets;
        benchmark::DoNotOptimize(encoder.encodeAll(offsets, -1, cancel, progress));
    }
}
BENCHMARK(BM_EncodeAll65536)
    ->ArgName("traversal")
    ->Arg(0x110)
    ->Arg(0x100)
    ->Arg(0x111)
    ->Arg(0x101)
    ->Arg(0x000)
    ->Arg(0x010)
    ->Arg(0x001)
    ->Arg(0x011)
    ->Unit(benchmark::kMillisecond);

// The table-based layout counts characters in 16 bits: its export takes the largest font it
// holds, the full font less its last character.
const Font& inkedFont65535() {
    static const Font font = [] {
        Font f;
        f.setEncoding(kEncodingUnicode);
        f.createFromScratch(kFirst, kLast - 1, 16, 16, "Bench");
        f.glyphs.forEachMutable([](std::uint16_t key, Glyph& g) {
            for (std::size_t i = 0; i < g.pixels.size(); ++i) {
                g.pixels[i] = ((i + key) % 3 == 0) ? 1 : 0;
            }
        });
        return f;
    }();
    return font;
}

void BM_Export65535(benchmark::State& state) {
    const Font& font = inkedFont65535();
    MemorySettingsStore settings;
    exporters::ExportRequest request;
    request.format = static_cast<exporters::ExportFormat>(state.range(0));
    request.path =
        scratchProjectPath() + (request.format == exporters::ExportFormat::TableC ? ".c" : ".bin");
    request.now = 1;
    CancelFlag cancel;
    NullProgressSink progress;
    for (auto _ : state) {
        auto result = exporters::runExport(font, settings, request, cancel, progress);
        if (!result.ok()) {
            state.SkipWithError(result.message.c_str());
            break;
        }
    }
    std::remove(request.path.c_str());
}
BENCHMARK(BM_Export65535)
    ->ArgName("format")
    ->Arg(static_cast<int>(exporters::ExportFormat::TableC))
    ->Arg(static_cast<int>(exporters::ExportFormat::TableBin))
    ->Unit(benchmark::kMillisecond);

// The whole export as a user runs it (encoding, text, the atomic write and its flush to disk);
// bytes_per_second is the size of the file written over the time.
void BM_ExportUnifontTableC(benchmark::State& state) {
    const std::string& bdf = unifontBdf();
    Font font;
    if (bdf.empty() || !importFontResource(bdf, font).ok()) {
        state.SkipWithError("xfonts-unifont and pcf2bdf are needed");
        return;
    }
    MemorySettingsStore settings;
    exporters::ExportRequest request;
    request.format = exporters::ExportFormat::TableC;
    request.path = scratchProjectPath() + ".c";
    request.now = 1;
    CancelFlag cancel;
    NullProgressSink progress;
    std::uintmax_t size = 0;
    for (auto _ : state) {
        auto result = exporters::runExport(font, settings, request, cancel, progress);
        if (!result.ok()) {
            state.SkipWithError(result.message.c_str());
            break;
        }
        size = std::filesystem::file_size(request.path);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
    state.counters["glyphs"] = static_cast<double>(font.glyphs.size());
    std::remove(request.path.c_str());
}
BENCHMARK(BM_ExportUnifontTableC)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
