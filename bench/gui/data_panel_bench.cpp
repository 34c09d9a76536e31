// Refreshing the character data panel for a 64 x 64 glyph in every traversal and unit length,
// as a stroke on such a glyph does once per frame: encode, build the text with its unit map,
// put it into the panel's text field and paint the field as the screen would show it. The goal
// is under 2 ms.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPlainTextEdit>

#include "common/settings_store.h"
#include "export/ui/character_data_panel.h"
#include "model/font.h"

namespace {

using typeloom::Font;
using typeloom::ui::CharacterDataPanel;

void BM_DataPanelRefresh64x64(benchmark::State& state) {
    static Font font = [] {
        Font f;
        f.createFromScratch('A', 'A', 64, 64, "Bench");
        std::vector<std::uint8_t>& pixels = f.glyphs.find('A')->pixels;
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            pixels[i] = (i * 7 + i / 64) % 3 == 0 ? 1 : 0;
        }
        return f;
    }();
    const auto traversal = static_cast<std::uint32_t>(state.range(0));
    const auto length = static_cast<std::uint32_t>(state.range(1));
    // C with detail info, the panel's usual text.
    font.dataFormat = 0x01100000 | length | traversal | 0x1000;
    typeloom::MemorySettingsStore settings;
    CharacterDataPanel panel(font, settings);
    panel.resize(435, 300);
    panel.setGlyphSource([] {
        CharacterDataPanel::GlyphOnScreen glyph;
        glyph.index = 0;
        glyph.width = 64;
        glyph.pixels = font.glyphs.find('A')->pixels;
        return glyph;
    });
    panel.show();
    QWidget* field = panel.textField()->viewport();
    QImage image(field->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        panel.refreshPanel();
        field->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["units"] = static_cast<double>(panel.data().units.size());
}
BENCHMARK(BM_DataPanelRefresh64x64)
    ->ArgsProduct({{0x000, 0x001, 0x010, 0x011, 0x100, 0x101, 0x110, 0x111},
                   {0x20000, 0x40000, 0x80000}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
