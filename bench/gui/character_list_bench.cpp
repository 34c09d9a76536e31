// Paging through the characters list of a full 65,536-character font: each page is painted
// into an offscreen image as the window system would show it. The goal is a page well within
// one 60 Hz frame (16 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <vector>

#include "charset/encodings.h"
#include "model/font.h"
#include "model/ui/character_list_grid.h"

namespace {

using typeloom::Font;
using typeloom::Glyph;
using typeloom::ui::CharacterListGrid;

// Every 16-bit value as a character of width x height pixels, about a third of them ink.
Font makeInkedFont(std::uint16_t width, std::uint16_t height) {
    Font font;
    font.setEncoding(typeloom::kEncodingUnicode);
    font.createFromScratch(0, 0xFFFF, width, height, "Bench");
    font.glyphs.forEachMutable([](std::uint16_t key, Glyph& glyph) {
        for (std::size_t i = 0; i < glyph.pixels.size(); ++i) {
            glyph.pixels[i] = (i * 7 + key) % 3 == 0 ? 1 : 0;
        }
    });
    return font;
}

// Scrolls from the top to the bottom with Page Down, painting every page; reports the median
// and the slowest page.
void pageThrough(benchmark::State& state, Font& font) {
    CharacterListGrid grid(font);
    grid.resize(400, 500);
    grid.show();
    grid.setCurrentIndex(font.initialIndex());
    QImage image(grid.size(), QImage::Format_ARGB32_Premultiplied);
    QScrollBar* bar = grid.verticalScrollBar();
    std::vector<double> pageMs;  // every page of every run
    for (auto _ : state) {
        bar->setValue(0);
        for (;;) {
            const auto start = std::chrono::steady_clock::now();
            grid.render(&image);
            const auto end = std::chrono::steady_clock::now();
            pageMs.push_back(std::chrono::duration<double, std::milli>(end - start).count());
            if (bar->value() == bar->maximum()) {
                break;
            }
            QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(&grid, &pageDown);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
    std::sort(pageMs.begin(), pageMs.end());
    state.counters["pages"] = static_cast<double>(pageMs.size()) / state.iterations();
    state.counters["cells_per_page"] = grid.visibleRows() * grid.cellLayout().columns;
    state.counters["median_ms_per_page"] = pageMs[pageMs.size() / 2];
    state.counters["max_ms_per_page"] = pageMs.back();
}

// 16 x 16 glyphs: drawn at their own size.
void BM_CharacterListPages16x16(benchmark::State& state) {
    static Font font = makeInkedFont(16, 16);
    pageThrough(state, font);
}
BENCHMARK(BM_CharacterListPages16x16)->Unit(benchmark::kMillisecond)->Iterations(3);

// 16 x 48 glyphs: taller than the 36-pixel cell, so every glyph is scaled.
void BM_CharacterListPagesScaled16x48(benchmark::State& state) {
    static Font font = makeInkedFont(16, 48);
    pageThrough(state, font);
}
BENCHMARK(BM_CharacterListPagesScaled16x48)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
