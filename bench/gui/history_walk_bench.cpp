// Undo and redo of a font-wide command on a full 65,536-character font as the user waits for
// them in the desktop program: the history's exchange of the glyphs, then the editor, the
// characters list, the data panel and the status bar shown again (goal: under 50 ms each; the
// counters are the medians of the undos and of the redos).

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "app/commands.h"
#include "app/font_document.h"
#include "app/main_window.h"
#include "app/qt_settings_store.h"
#include "app/studio_app.h"
#include "charset/encodings.h"
#include "model/font.h"

namespace {

using typeloom::app::CommandId;

double medianOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void BM_HistoryWalkFontWide65536(benchmark::State& state) {
    QTemporaryDir dir;
    typeloom::app::StudioApp app(
        typeloom::app::openSettingsFile(dir.filePath(QStringLiteral("settings.ini"))));
    typeloom::app::StudioApp::StartOptions options;
    options.show = false;
    options.autoOpen = false;
    options.installKeyFilter = false;
    if (!app.initInstance({}, options)) {
        state.SkipWithError("the application did not start");
        return;
    }
    typeloom::Font& font = app.font();
    font.setEncoding(typeloom::kEncodingUnicode);
    font.createFromScratch(0, 0xFFFF, 12, 16, "Bench");
    // Ink in every glyph, so that the mirror changes each one.
    font.glyphs.forEachMutable([](std::uint16_t, typeloom::Glyph& glyph) { glyph.pixels[0] = 1; });
    typeloom::app::MainWindow& frame = *app.mainWindow();
    frame.resize(1000, 800);
    frame.selectInitialCharacter();
    frame.updateCommandStates();
    if (!frame.executeCommand(CommandId::MirrorHorizontal) ||
        app.document().history().size() != 1) {
        state.SkipWithError("the mirror was not recorded");
        return;
    }
    std::vector<double> undoMs;
    std::vector<double> redoMs;
    using Clock = std::chrono::steady_clock;
    for (auto _ : state) {
        const auto start = Clock::now();
        frame.historyUndo();
        const auto middle = Clock::now();
        frame.historyRedo();
        const auto end = Clock::now();
        undoMs.push_back(std::chrono::duration<double, std::milli>(middle - start).count());
        redoMs.push_back(std::chrono::duration<double, std::milli>(end - middle).count());
    }
    state.counters["undo_ms"] = medianOf(undoMs);
    state.counters["redo_ms"] = medianOf(redoMs);
    state.counters["history_bytes"] = static_cast<double>(app.document().history().bytes());
}
BENCHMARK(BM_HistoryWalkFontWide65536)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
