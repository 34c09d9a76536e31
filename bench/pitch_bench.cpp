// Counting the characters a fixed pitch clips, as the font chooser does on its worker thread
// for the face and size on show: every supported character of DejaVu Sans Mono (about 3,300)
// and of Unifont's OpenType file (about 57,000) at 16 pixels per em, each drawn whole once.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "charset/character_table.h"
#include "model/freetype_renderer.h"
#include "model/rasteriser.h"

namespace typeloom::bench {
namespace {

const char* const kPitchFiles[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
    "/usr/share/fonts/opentype/unifont/unifont.otf",
};

void BM_CountCharactersLosingInk(benchmark::State& state) {
    LogFont font;
    font.faceName = "bench";
    font.height = -16;
    FreeTypeRenderer renderer(font, kPitchFiles[state.range(0)], 0);
    const RenderMetrics m = renderer.metrics();
    const auto ranges = renderer.unicodeRanges();
    const std::vector<std::uint16_t> values =
        CharacterTable::supportedSetOf(m.scalable, ranges, m.charSet);
    const auto height = static_cast<std::uint16_t>(m.ascent + m.descent);
    int losing = 0;
    for (auto _ : state) {
        losing = countCharactersLosingInk(renderer, values, height);
        benchmark::DoNotOptimize(losing);
    }
    state.counters["characters"] = static_cast<double>(values.size());
    state.counters["losing"] = losing;
}
BENCHMARK(BM_CountCharactersLosingInk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace typeloom::bench
