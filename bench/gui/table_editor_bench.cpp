// The Edit Characters Table dialog on a full 65,536-code Unicode font: opening it, and paging
// through its 4,096 rows with Page Down, each page painted offscreen (goal: a page within one
// 60 Hz frame, 16 ms); then the OK commit of a table with every code changed (goal: 50 ms).

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
#include "model/ui/dialog_services.h"
#include "model/ui/edit_characters_table_dialog.h"
#include "model/ui/table_editor_grid.h"

namespace {

using typeloom::Font;
using typeloom::Glyph;
using typeloom::ui::EditCharactersTableDialog;

Font makeFullFont() {
    Font font;
    font.setEncoding(typeloom::kEncodingUnicode);
    font.createFromScratch(0, 0xFFFF, 12, 16, "Bench");
    font.glyphs.forEachMutable([](std::uint16_t key, Glyph& glyph) {
        for (std::size_t i = 0; i < glyph.pixels.size(); ++i) {
            glyph.pixels[i] = (i * 7 + key) % 3 == 0 ? 1 : 0;
        }
    });
    return font;
}

void BM_TableEditorOpenAndPage(benchmark::State& state) {
    static Font font = makeFullFont();
    std::vector<double> pageMs;  // pages after the first of every run
    double openMs = 0;
    double firstPageMs = 0;
    for (auto _ : state) {
        const auto openStart = std::chrono::steady_clock::now();
        EditCharactersTableDialog dialog(font, typeloom::ui::DialogServices::standard());
        dialog.resize(960, 420);
        dialog.show();
        openMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - openStart)
                .count();
        typeloom::ui::TableEditorGrid& grid = *dialog.grid();
        QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
        QScrollBar* bar = grid.verticalScrollBar();
        for (bool first = true;; first = false) {
            const auto start = std::chrono::steady_clock::now();
            grid.viewport()->render(&image);
            const double ms =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            if (first) {
                firstPageMs = ms;
            } else {
                pageMs.push_back(ms);
            }
            if (bar->value() == bar->maximum()) {
                break;
            }
            QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
            QApplication::sendEvent(&grid, &pageDown);
        }
        benchmark::DoNotOptimize(image.constBits());
        dialog.reject();
    }
    std::sort(pageMs.begin(), pageMs.end());
    state.counters["open_ms"] = openMs;
    state.counters["first_page_ms"] = firstPageMs;
    state.counters["pages"] = 1 + static_cast<double>(pageMs.size()) / state.iterations();
    state.counters["median_ms_per_page"] = pageMs[pageMs.size() / 2];
    state.counters["max_ms_per_page"] = pageMs.back();
}
BENCHMARK(BM_TableEditorOpenAndPage)->Unit(benchmark::kMillisecond)->Iterations(2);

// OK after every code was disabled and enabled again but one: 65,535 codes committed.
void BM_TableCommit65536(benchmark::State& state) {
    static Font source = makeFullFont();
    for (auto _ : state) {
        state.PauseTiming();
        Font font = source;
        font.charTable.beginEditing();
        font.charTable.disableCode(0x41);
        state.ResumeTiming();
        benchmark::DoNotOptimize(font.commitCharacterTable(0));
    }
}
BENCHMARK(BM_TableCommit65536)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
